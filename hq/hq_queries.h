// The SQL the head-office reports send: every figure is counted at the server with GROUP BY over
// the summaries the sync keeps and the calls of the range's first and last days, so no call row
// crosses the network.
#pragma once
#include "report_prompts.h"

#include <string>

// The calls a report takes: the span and weekdays of the range, at one site or ("") at all.
struct CallSelection {
    ReportRange range;
    std::string site;
};

// The sites the database knows, by name.
std::string SiteListQuery();

// One row: calls, inbound, outbound, errors, rings total, highest and lowest (NULL when no
// answered inbound call), minutes total, highest and lowest (NULL when no completed call).
std::string StatTotalsQuery(const CallSelection &selection);
// Rows of weekday (0 Sunday), hour (NULL for the weekday as a whole), dates with a call, inbound,
// dates with a completed call, outbound, minutes.
std::string StatCellsQuery(const CallSelection &selection);
// Up to two rows of direction ('I', 'O'), number, count: the most frequent number, the one
// whose first call came earliest among equals.
std::string StatTopNumbersQuery(const CallSelection &selection);

// Rows of site, inbound, outbound, minutes, errors, inbound calls with a known duration and
// those of them at most 10 seconds long.
std::string ComparisonCountsQuery(const ReportRange &range);
// Rows of kind ('D' day, 'H' hour), site (NULL for the whole chain), the busiest date
// ("mm-dd-yyyy") or hour (0 to 23): the one with the most calls, the earliest among equals.
std::string ComparisonBusiestQuery(const ReportRange &range);
