// A call log record as a row of cid_calls: its texts in UTF-8, its day and time as SQL values,
// and its identity (the record's bytes and its place among identical records).
#pragma once
#include "call_log_record.h"

#include <cstdint>
#include <string>
#include <vector>

// Windows-1252 bytes as UTF-8. The five bytes 1252 leaves undefined become the C1 controls of
// the same value, as Windows converts them, so no byte is lost.
std::string Cp1252ToUtf8(const std::string &text);
// UTF-8 as Windows-1252; characters 1252 cannot show become '?'.
std::string Utf8ToCp1252(const std::string &text);

// "yyyy-mm-dd" of a day number, "" when the day is not a date.
std::string SqlDateOfDay(int32_t day);
// "hh:mm:ss" of seconds since midnight, "" outside the day.
std::string SqlTimeOfSeconds(int32_t seconds);

struct CallRow {
    std::string CallDay, CallTime; // "" when the record's day or time is not valid
    std::string Number, Name, ExtraDigits, Direction;
    int32_t DurationS = 0;
    int16_t Line = 0, Rings = 0;
    bool StartOnly = false, CallerIdError = false;
    std::string Record;     // the 129 bytes as the log holds them
    int32_t Occurrence = 0; // 0 for the first of identical records in key order, 1, 2 ...
};

CallRow RowOfRecord(const CallLogRecord &rec, int32_t occurrence);

// The value in decimal, as SQL and the status file take numbers.
std::string Decimal(long long value);

// A text as an SQL string literal (standard conforming: only quotes are doubled).
std::string SqlText(const std::string &utf8);

// One INSERT of all rows for the site, leaving out rows the server holds already.
std::string InsertRowsStatement(const std::string &site, const std::vector<CallRow> &rows);
