// The log purge's rules: the days back typed by the user, and the scan that deletes every call
// log record at or before the cut-off day, over any source of records.
#pragma once
#include <cstdint>
#include <string>

#include "call_log_record.h"

// The leading number of the text (leading spaces skipped); no digits give 0, and a number too
// large for 32 bits stays the largest one.
int32_t DaysBackFromText(const std::string &text);

enum class DaysBackCheck { Accepted, TooFew, TooMany };
DaysBackCheck CheckDaysBack(int32_t daysBack, int32_t today);

// The call log as the scan sees it; each call returns the record manager's status.
class PurgeRecords {
  public:
    virtual ~PurgeRecords() = default;
    // The first record in the order of key 1 (day, then time of day).
    virtual int32_t ReadFirst(CallLogRecord &record) = 0;
    virtual int32_t ReadNext(CallLogRecord &record) = 0;
    // Deletes the record last read.
    virtual int32_t DeleteLastRead() = 0;
    // After each deletion: the running count, for the progress window.
    virtual void Deleted(int32_t count) = 0;
};

struct PurgeResult {
    int32_t deleted = 0;
    // Set when the scan ended on a failure: the message box's text and caption.
    std::string errorText;
    std::string errorCaption;
};

// Deletes from the oldest record forward and stops at the first one newer than cutoffDay, so
// the cost grows with the records deleted rather than with the log.
PurgeResult PurgeOldRecords(PurgeRecords &records, int32_t cutoffDay);
