// The callback list: inbound calls short enough that the caller likely gave up, from numbers
// nobody called back or heard from at length afterwards. One pass over the log in key order keeps
// a table per number, so a year of calls costs no more than a statistics report.
#pragma once
#include "call_log_record.h"
#include "report_engine.h"
#include "report_frame.h"

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

// The longest call the list counts as short when asked: a whole number of seconds, 1 to 600.
bool ParseCallbackSeconds(const std::string &text, int32_t &seconds);

struct CallbackRow {
    CallLogRecord last;   // the latest short call from the number
    int32_t attempts = 0; // short calls since the number was last answered or called back
    int64_t order = 0;    // when `last` came in the scan, for calls in the same second
};

class CallbackTally {
  public:
    // `dayMask` picks the weekdays of the short calls; a callback counts on any day.
    CallbackTally(int32_t limitSeconds, int32_t dayMask)
        : limit_(limitSeconds), dayMask_(dayMask) {}
    // Every record of the range in key order, whatever its weekday (1 to 7).
    void Add(const CallLogRecord &rec, int32_t weekday);
    // The numbers still to call back, newest short call first.
    std::vector<CallbackRow> Rows() const;
    int32_t Limit() const { return limit_; }
    int64_t WithheldShortCalls() const { return withheld_; }
    // Whether any inbound record of the range has its duration: start-of-call logging has none.
    bool HasDurations() const { return hasDurations_; }
    bool HasOutbound() const { return hasOutbound_; }

  private:
    bool IsShort(const CallLogRecord &rec, int32_t weekday) const;
    bool IsLong(const CallLogRecord &rec) const;

    int32_t limit_;
    int32_t dayMask_;
    std::unordered_map<std::string, CallbackRow> waiting_; // by the number's matched digits
    int64_t seen_ = 0;
    int64_t withheld_ = 0;
    bool hasDurations_ = false;
    bool hasOutbound_ = false;
};

// The digits two records of one number share: an 11-digit number's leading 1 does not count,
// as in the calls-by-number report.
std::string MatchedDigits(const std::string &number);

void PrintCallbackList(ReportEngine &engine, int32_t doc, const CallbackTally &tally,
                       const PageFrame &frame);
