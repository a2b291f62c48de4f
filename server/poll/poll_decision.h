// What one call report changes: its raw copy, the station display record of its line and the
// call log record. Decided here without touching a file; the exclusion lists are asked through
// small look-up functions so that tests and the server can supply their own.
#pragma once
#include "call_log_record.h"
#include "cid_config.h"
#include "station_display_record.h"
#include "unit/unit_message.h"
#include <functional>
#include <string>
#include <vector>

// Whether a 16-character key is in an exclusion list; empty when the list is not open.
using ExclLookup = std::function<bool(const std::string &key16)>;
// The look-up for a list opened with the record manager (handle 0: not open).
ExclLookup ExclLookupFor(int32_t handle);

// The lines a configuration serves: FirstLine (never below 1) to LastLine; none when the last
// line lies below the first.
bool LineIsServed(const CidConfig &cfg, int32_t line);

// The caller name of the last start-of-call report of each served line, for full logging.
// Entries start empty and are only ever overwritten.
class PendingNames {
  public:
    explicit PendingNames(const CidConfig &cfg);
    // The entry of a served line; null for any other line.
    std::string *Entry(int32_t line);

  private:
    int32_t first_;
    std::vector<std::string> names_;
};

// What a pass knows besides the report and the configuration.
struct PollInputs {
    CivilDate Today;            // the year for the unit's dates, and the day of unreadable ones
    int32_t NowSeconds;         // the time of day for unreadable unit times
    bool CallLogOpen;           // nothing is logged without an open call log
    ExclLookup DisplayExcluded; // display exclusion list
    ExclLookup LogExcluded;     // log exclusion list
};

struct PollDecision {
    bool Capture = false; // append the report to the raw capture file
    int32_t Line = 0;     // the report's line when it is served, else 0
    bool ShowDisplay = false;
    StationDisplayRecord Display{};
    bool CidError = false;  // the unit flagged the report as a caller-ID error
    bool Log = false;       // insert Record into the call log
    CallLogRecord Record{}; // built whole from zero bytes, also when it is not logged
};

// Decides one report. Full logging remembers the names of start-of-call reports in `pending`.
PollDecision DecideReport(const std::string &report, const CidConfig &cfg, PendingNames &pending,
                          const PollInputs &inputs);
