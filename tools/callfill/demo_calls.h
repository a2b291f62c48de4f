// Realistic call log records for a demo restaurant: regular customers who call again, lunch and
// dinner peaks, busier weekends, a few withheld numbers, outbound calls to suppliers.
#pragma once
#include "call_log_record.h"

#include <cstdint>
#include <string>
#include <vector>

struct DemoCallPlan {
    int32_t calls = 0;
    int32_t lastDay = 0; // day number of the last day filled
    int32_t weeks = 6;
    uint32_t seed = 1;
    int32_t lines = 4;
};

// `plan.calls` records in key 1 order (day, then time), all within the plan's weeks.
std::vector<CallLogRecord> MakeDemoCalls(const DemoCallPlan &plan);

// One record from a line "mm-dd-yyyy HH:MM:SS I|O number duration rings line status [name]
// [|extra digits]"; false when the line does not read so.
bool ParseCallLine(const std::string &line, CallLogRecord &rec);
