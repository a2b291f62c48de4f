// The flow every report shares: check and open the call log, ask for the range, scan the log in
// key order from the range's start, and compose the document through the print engine.
#pragma once
#include "call_log_source.h"
#include "report_engine.h"
#include "report_frame.h"
#include "report_prompts.h"

#include <functional>
#include <string>

enum class Report { Inbound, Outbound, Statistics, ByNumber };

struct ReportJob {
    Report report = Report::Inbound;
    std::string wantedNumber; // calls by number: 20 characters, blank-padded
    std::string dataPath;     // the DATA\ folder, with its trailing backslash
    std::string storeName;
    // Read once, when the range has been chosen: the title and every page carry that moment.
    std::function<ReportClock()> clock;
};

// Runs one report to its end; every failure has been shown to the person when it returns.
void RunReport(const ReportJob &job, ReportEngine &engine, CallLogSource &log,
               ReportPrompts &prompts);
