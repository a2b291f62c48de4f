// Query answers to page figures. The day counters of an hour's cell are the dates with any call
// in it (inbound average) and those with a completed call (outbound and minute averages); the
// weekday's overall cell averages all three over every date with a call.
#include "hq_figures.h"

#include <algorithm>
#include <map>

namespace {

const char kAllSites[] = "All sites";

bool Number(const std::string &text, int64_t &value) {
    if (text.empty() || text.size() > 19)
        return false;
    size_t i = text[0] == '-' ? 1 : 0;
    if (i == text.size())
        return false;
    int64_t result = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9')
            return false;
        result = result * 10 + (text[i] - '0');
    }
    value = text[0] == '-' ? -result : result;
    return true;
}

// A count that fits the page's 32-bit figures.
bool Count(const std::string &text, int32_t &value) {
    int64_t wide = 0;
    if (!Number(text, wide) || wide < INT32_MIN || wide > INT32_MAX)
        return false;
    value = static_cast<int32_t>(wide);
    return true;
}

// The highest and lowest of a figure: NULL when nothing was counted, so the starting values
// stay, as when a scan meets no such call.
bool Extreme(const std::string &text, int32_t &value, bool highest) {
    if (text.empty())
        return true;
    int32_t found = 0;
    if (!Count(text, found))
        return false;
    value = highest ? std::max(value, found) : std::min(value, found);
    return true;
}

bool TotalsOf(const std::vector<std::string> &row, StatTotals &t) {
    return row.size() == 10 && Count(row[0], t.totalCalls) && Count(row[1], t.totalInbound) &&
           Count(row[2], t.totalOutbound) && Count(row[3], t.errors) &&
           Number(row[4], t.totalRings) && Extreme(row[5], t.highRings, true) &&
           Extreme(row[6], t.lowRings, false) && Number(row[7], t.totalMinutes) &&
           Extreme(row[8], t.highMinutes, true) && Extreme(row[9], t.lowMinutes, false);
}

bool HourColumn(int64_t hour) {
    return hour == 0 || hour == 1 || (hour >= 10 && hour <= 23);
}

bool AddCell(const std::vector<std::string> &row, StatFigures &f) {
    int64_t weekday = 0, hour = -1;
    int32_t daysAll = 0, daysCompleted = 0;
    StatCellFigures cell;
    if (row.size() != 7 || !Number(row[0], weekday) || weekday < 0 || weekday > 6 ||
        (!row[1].empty() && !Number(row[1], hour)) || !Count(row[2], daysAll) ||
        !Number(row[3], cell.inbound) || !Count(row[4], daysCompleted) ||
        !Number(row[5], cell.outbound) || !Number(row[6], cell.minutes))
        return false;
    const bool overall = row[1].empty();
    if (!overall && !HourColumn(hour))
        return true; // counted in the totals and the weekday's overall cell only
    cell.daysA = daysAll;
    cell.daysB = cell.daysC = overall ? daysAll : daysCompleted;
    f.cells[weekday][overall ? kOverallSlot : hour] = cell;
    return true;
}

bool AddTop(const std::vector<std::string> &row, StatFigures &f) {
    TopNumber top;
    if (row.size() != 3 || !Count(row[2], top.count) || (row[0] != "I" && row[0] != "O"))
        return false;
    top.number = row[1];
    (row[0] == "I" ? f.inboundTop : f.outboundTop) = top;
    return true;
}

bool AddCounts(const std::vector<std::string> &row, std::map<std::string, SiteFigures> &sites) {
    SiteFigures s;
    if (row.size() != 7 || !Number(row[1], s.inbound) || !Number(row[2], s.outbound) ||
        !Number(row[3], s.minutes) || !Number(row[4], s.errors) ||
        !Number(row[5], s.inboundTimed) || !Number(row[6], s.inboundShort))
        return false;
    SiteFigures &kept = sites[row[0]];
    s.site = row[0];
    s.busiestDay = kept.busiestDay;
    s.busiestHour = kept.busiestHour;
    kept = s;
    return true;
}

void AddToTotals(const SiteFigures &s, SiteFigures &total) {
    total.inbound += s.inbound;
    total.outbound += s.outbound;
    total.minutes += s.minutes;
    total.errors += s.errors;
    total.inboundTimed += s.inboundTimed;
    total.inboundShort += s.inboundShort;
}

bool AddBusiest(const std::vector<std::string> &row, SiteFigures &s) {
    int64_t hour = 0;
    if (row.size() != 3 || row[2].empty())
        return false;
    if (row[0] == "D") {
        s.busiestDay = row[2];
        return true;
    }
    if (row[0] != "H" || !Number(row[2], hour) || hour < 0 || hour > 23)
        return false;
    s.busiestHour = static_cast<int32_t>(hour);
    return true;
}

} // namespace

bool StatFiguresOf(const QueryRows &totals, const QueryRows &cells, const QueryRows &tops,
                   StatFigures &out) {
    StatFigures f;
    if (totals.size() != 1 || !TotalsOf(totals[0], f.totals))
        return false;
    for (const auto &row : cells)
        if (!AddCell(row, f))
            return false;
    for (const auto &row : tops)
        if (!AddTop(row, f))
            return false;
    out = f;
    return true;
}

bool ComparisonOf(const QueryRows &sites, const QueryRows &counts, const QueryRows &busiest,
                  std::vector<SiteFigures> &out) {
    std::map<std::string, SiteFigures> bySite;
    for (const auto &row : sites) {
        if (row.size() != 1)
            return false;
        bySite[row[0]].site = row[0];
    }
    for (const auto &row : counts)
        if (!AddCounts(row, bySite))
            return false;
    SiteFigures total;
    total.site = kAllSites;
    for (const auto &row : busiest) {
        if (row.size() != 3)
            return false;
        SiteFigures &s = row[1].empty() ? total : bySite[row[1]];
        if (s.site.empty())
            s.site = row[1];
        if (!AddBusiest(row, s))
            return false;
    }
    out.clear();
    for (const auto &entry : bySite) {
        out.push_back(entry.second);
        AddToTotals(entry.second, total);
    }
    out.push_back(total);
    return true;
}
