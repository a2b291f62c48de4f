// The call statistics: what the scan accumulates per record, and the one page composed from it.
#pragma once
#include "call_log_record.h"
#include "report_engine.h"
#include "report_frame.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// How often each number occurs, keyed on its 20 characters as stored. Among numbers with the
// same count the one seen first is the most frequent. A statistics scan adds most of a million
// records, so adding one copies nothing to the heap: the numbers sit in one array and an
// open-addressing table of their positions finds them.
class NumberTally {
  public:
    using Key = std::array<char, 20>;

    void Add(const char (&number)[20]);
    bool Empty() const { return entries_.empty(); }
    // The stored number and count of the most frequent entry.
    std::pair<std::string, int32_t> Top() const;

  private:
    struct Entry {
        Key number;
        int32_t count;
    };
    static uint32_t Hash(const Key &number);
    void Grow();

    std::vector<Entry> entries_;  // in order of first appearance
    std::vector<uint32_t> slots_; // 1 + an index in entries_, 0 when free; a power of two long
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

// The scalar figures of the summary, whoever counted them.
struct StatTotals {
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
};

struct CallStats {
    StatTotals totals;
    NumberTally inboundNumbers;
    NumberTally outboundNumbers;
    StatCell cells[7][kSlots]; // weekday 0 Sunday .. 6 Saturday
};

// A most frequent number as stored (blank-padded or trimmed) and how often it came; a count of
// 0 means there was none.
struct TopNumber {
    std::string number;
    int32_t count = 0;
};

// One cell of the tables: the counts and the days each of its three averages is taken over.
struct StatCellFigures {
    int64_t inbound = 0;
    int64_t outbound = 0;
    int64_t minutes = 0;
    int32_t daysA = 0, daysB = 0, daysC = 0;
};

// What the page prints, counted by a scan of one log or by a database over many.
struct StatFigures {
    StatTotals totals;
    TopNumber inboundTop;
    TopNumber outboundTop;
    StatCellFigures cells[7][kSlots];
};

// Whole minutes of a duration, halves to the even neighbour: 30 s give 0, 90 s give 2.
int32_t RoundMinutes(int32_t seconds);

// Takes one selected record; weekday is 1 Sunday to 7 Saturday.
void AddStatRecord(CallStats &stats, const CallLogRecord &rec, int32_t weekday);

void PrintStatGrid(ReportEngine &engine, int32_t doc, float x0, float y0);
void PrintStatCell(ReportEngine &engine, int32_t doc, float x0, float y0, int32_t weekday,
                   int32_t slot, const std::string &text);
StatFigures FiguresOf(const CallStats &stats);

// The whole page: heading, summary, the three tables and the footer. `titleSuffix` follows the
// range in the heading (" - " and a site at the head office; empty for a store's own log).
void PrintStatPage(ReportEngine &engine, int32_t doc, const StatFigures &figures,
                   const PageFrame &frame, const std::string &titleSuffix = "");
