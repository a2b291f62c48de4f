// The answers of the head-office queries turned into what the pages print. Every column comes as
// text ("" for NULL); a text that is not a number counts as a fault, never as 0.
#pragma once
#include "call_stats.h"

#include <cstdint>
#include <string>
#include <vector>

using QueryRows = std::vector<std::vector<std::string>>;

// The answers of StatTotalsQuery, StatCellsQuery and StatTopNumbersQuery as the statistics
// page's figures; false when an answer is not of the shape asked for.
bool StatFiguresOf(const QueryRows &totals, const QueryRows &cells, const QueryRows &tops,
                   StatFigures &out);

// One row of the site comparison; the chain's totals are a row like the others.
struct SiteFigures {
    std::string site;
    int64_t inbound = 0, outbound = 0, minutes = 0, errors = 0;
    int64_t inboundTimed = 0, inboundShort = 0;
    std::string busiestDay;   // "mm-dd-yyyy", "" when the site had no call
    int32_t busiestHour = -1; // 0 to 23, -1 when the site had no call
};

// Every site of `sites` (SiteListQuery) in name order with its figures, zeros for a site
// without calls in the range, then the chain's totals named "All sites"; false on a bad answer.
bool ComparisonOf(const QueryRows &sites, const QueryRows &counts, const QueryRows &busiest,
                  std::vector<SiteFigures> &out);
