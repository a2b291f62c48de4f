// The call log DATA\QuorlLog.OV5: its key definition, creation, opening and inserts through the
// record manager. The server only ever adds records.
#pragma once
#include "call_log_record.h"

#include <cstdint>
#include <string>
#include <vector>

// The record manager's definition of the three keys, all admitting duplicates: "Time/Date"
// (seconds and day as one unsigned 64-bit number), "Phone Number", "InOut".
std::vector<uint8_t> CallLogDefinition();
// Creates the file; false (without touching the record manager) when programDir is empty.
bool CreateCallLog(const std::string &programDir);
// The record manager's handle (1 or more) of the file opened for update, or a value below 1.
int32_t OpenCallLog(const std::string &programDir);
// Adds one record; the record manager's status (0 success).
int32_t InsertCallLog(int32_t handle, const CallLogRecord &rec);
