// The call log as a spreadsheet reads it: one CSV row per call, and the file's default name.
#pragma once
#include "call_log_record.h"

#include <string>

// The byte-order mark and the header row the file starts with.
std::string CallLogCsvStart();
// One call: date, time, direction, line, number, name, extra digits, seconds, rings, error.
std::string CallLogCsvLine(const CallLogRecord &rec);
// "Call Log yyyy-mm-dd.csv" of a "mm-dd-yyyy" date; `copy` 2 and on adds " (2)" and on, for a
// folder that already holds the name.
std::string CallLogCsvName(const std::string &date, int copy = 1);
