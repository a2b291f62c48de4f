// The call statistics: what the scan accumulates per record, and the one page composed from it.
#pragma once
#include "call_log_record.h"
#include "report_engine.h"
#include "report_frame.h"

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

// How often each number occurs, keyed on its 20 characters as stored. Among numbers with the
// same count the one seen first is the most frequent.
class NumberTally {
  public:
    void Add(const char (&number)[20]);
    bool Empty() const { return entries_.empty(); }
    // The stored number and count of the most frequent entry.
    std::pair<std::string, int32_t> Top() const;

  private:
    std::vector<std::pair<std::string, int32_t>> entries_; // in order of first appearance
    std::unordered_map<std::string, size_t> index_;
};

// Counts the distinct dates that reached it; records arrive in date order.
struct DayCounter {
    int32_t days = 0;
    int32_t lastDate = 0;
    void Count(int32_t date);
};

// Sums of minutes and rings are 64-bit: a duration is whatever the unit sent, and a few calls
// of absurd length would overflow 32 bits.
struct StatCell {
    int32_t inbound = 0;
    int32_t outbound = 0;
    int64_t minutes = 0;
    DayCounter a, b, c;
};

// Slots of a weekday: hours 0, 1 and 10 to 23 of the day, and the weekday's overall figures.
const int32_t kOverallSlot = 4;
const int32_t kSlots = 24;

struct CallStats {
    int32_t totalCalls = 0;
    int32_t totalInbound = 0;
    int32_t totalOutbound = 0;
    int32_t errors = 0;
    int64_t totalRings = 0;
    int32_t highRings = 0;
    int32_t lowRings = 99;
    int64_t totalMinutes = 0;
    int32_t highMinutes = 0;
    int32_t lowMinutes = 99999;
    NumberTally inboundNumbers;
    NumberTally outboundNumbers;
    StatCell cells[7][kSlots]; // weekday 0 Sunday .. 6 Saturday
};

// Whole minutes of a duration, halves to the even neighbour: 30 s give 0, 90 s give 2.
int32_t RoundMinutes(int32_t seconds);

// Takes one selected record; weekday is 1 Sunday to 7 Saturday.
void AddStatRecord(CallStats &stats, const CallLogRecord &rec, int32_t weekday);

void PrintStatGrid(ReportEngine &engine, int32_t doc, float x0, float y0);
void PrintStatCell(ReportEngine &engine, int32_t doc, float x0, float y0, int32_t weekday,
                   int32_t slot, const std::string &text);
// The whole page: heading, summary, the three tables and the footer.
void PrintStatPage(ReportEngine &engine, int32_t doc, const CallStats &stats,
                   const PageFrame &frame);
