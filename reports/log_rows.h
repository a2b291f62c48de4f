// The rows of the three list reports, and which records the calls-by-number report takes.
#pragma once
#include "call_log_record.h"
#include "report_engine.h"

#include <string>

void PrintInRow(ReportEngine &engine, int32_t doc, float y, const CallLogRecord &rec);
void PrintOutRow(ReportEngine &engine, int32_t doc, float y, const CallLogRecord &rec);
void PrintNumRow(ReportEngine &engine, int32_t doc, float y, const CallLogRecord &rec);

// The wanted number as the report keeps it: the first 20 characters of the answer, padded with
// blanks; false when nothing but blanks and NULs was typed.
bool WantedNumber(const std::string &answer, std::string &wanted);
// The record's digits equal the wanted number's digits, or those of "1" and the wanted number.
bool NumberMatches(const CallLogRecord &rec, const std::string &wanted);
