// The flow every report shares: check and open the call log, ask for the range, scan the log in
// key order from the range's start, and compose the document through the print engine.
#pragma once
#include "call_log_source.h"
#include "report_engine.h"
#include "report_frame.h"
#include "report_prompts.h"

#include <functional>
#include <string>

enum class Report { Inbound, Outbound, Statistics, ByNumber, Callback };

struct ReportJob {
    Report report = Report::Inbound;
    std::string wantedNumber; // calls by number: 20 characters, blank-padded
    int32_t shortSeconds = 0; // callback list: the longest call it counts as short
    std::string dataPath;     // the DATA\ folder, with its trailing backslash
    std::string storeName;
    // Read once, when the range has been chosen: the title and every page carry that moment.
    std::function<ReportClock()> clock;
};

// Where a scan of the log shows how far it got and learns that the person stopped it.
class ScanProgress {
  public:
    virtual ~ScanProgress() = default;
    virtual void Show(int32_t percent) = 0;
    virtual bool Stopped() = 0;
};

// Where the call log goes as CSV: the file chosen, the progress of the scan, the bytes written.
class CsvDestination : public ScanProgress {
  public:
    // False when the person cancelled; `today` ("mm-dd-yyyy") names the file offered.
    virtual bool Choose(const std::string &today) = 0;
    // The scan is over, however it ended.
    virtual void ScanDone() = 0;
    // The whole file, written so that a failure leaves none; false when it failed.
    virtual bool Write(const std::string &bytes) = 0;
};

// Runs one report to its end; every failure has been shown to the person when it returns.
void RunReport(const ReportJob &job, ReportEngine &engine, CallLogSource &log,
               ReportPrompts &prompts);
// Writes the range's calls as CSV; every failure has been shown when it returns.
void RunCsvExport(const ReportJob &job, CallLogSource &log, ReportPrompts &prompts,
                  CsvDestination &out);
