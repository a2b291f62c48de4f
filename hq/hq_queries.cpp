// SQL text of the head-office reports. Values are written into the text as literals: a day
// number and seconds become a date and a time, the weekday mask a number or the weekdays' list,
// a site a quoted text. The days inside a range are read from the summaries the sync keeps;
// only its first and last days, which its times may cut, are counted from their calls.
#include "hq_queries.h"

#include "sync_rows.h"

#include <algorithm>
#include <vector>

namespace {

// A time of day as a bound of the span: a span may end at the day's very end.
std::string BoundTime(int32_t seconds) {
    if (seconds <= 0)
        return "00:00:00";
    if (seconds >= 86400)
        return "24:00:00";
    return SqlTimeOfSeconds(seconds);
}

std::string DayLiteral(int32_t day) {
    const std::string date = SqlDateOfDay(day);
    return date.empty() ? "" : "DATE '" + date + "'";
}

// A range's first day is whole when it starts at midnight, its last when it ends at the day's
// last second; a day its times cut is an edge day, counted from its calls.
bool FirstDayWhole(const ReportRange &range) {
    return range.startTime <= 0;
}

bool LastDayWhole(const ReportRange &range) {
    return range.endTime >= 86399;
}

// The calls of the range's edge days within its span and weekdays. Rows without a valid date
// or time are in no span.
std::string EdgeCondition(const ReportRange &range) {
    const std::string fromDay = DayLiteral(range.startDate), toDay = DayLiteral(range.endDate);
    std::string days;
    if (!FirstDayWhole(range))
        days = fromDay;
    if (!LastDayWhole(range))
        days += (days.empty() ? "" : ", ") + toDay;
    if (fromDay.empty() || toDay.empty() || days.empty())
        return "FALSE";
    return "call_day IN (" + days + ") AND (call_day, call_time) >= (" + fromDay + ", TIME '" +
           BoundTime(range.startTime) + "') AND (call_day, call_time) <= (" + toDay + ", TIME '" +
           BoundTime(range.endTime) + "') AND (" + Decimal(range.dayMask) +
           " >> (extract(dow FROM call_day)::integer + 1)) & 1 = 1";
}

std::string SiteCondition(const CallSelection &selection) {
    return selection.site.empty() ? "" : "site = " + SqlText(selection.site) + " AND ";
}

// The calls of the edge days, with what the summaries keep of each.
std::string EdgeCalls(const CallSelection &selection) {
    return "WITH sel AS (SELECT site, call_day, extract(dow FROM call_day)::smallint AS weekday, "
           "extract(hour FROM call_time)::smallint AS hour, call_time, number, direction, "
           "start_only, caller_id_error, rings, duration_s, cid_minutes(duration_s) AS m, "
           "direction = 'I' AND NOT start_only AS answered FROM cid_calls WHERE " +
           SiteCondition(selection) + EdgeCondition(selection.range) + ")";
}

// The range's whole days: the first and last as date literals (empty when out of the
// calendar), and the weekdays chosen.
struct InnerSpan {
    std::string from, to, weekdays;
    int chosen = 0;
};

InnerSpan InnerSpanOf(const ReportRange &range) {
    InnerSpan span;
    span.from = DayLiteral(range.startDate + (FirstDayWhole(range) ? 0 : 1));
    span.to = DayLiteral(range.endDate - (LastDayWhole(range) ? 0 : 1));
    for (int weekday = 0; weekday < 7; ++weekday)
        if ((range.dayMask >> (weekday + 1)) & 1)
            span.weekdays += (span.chosen++ ? "," : "") + Decimal(weekday);
    return span;
}

// The range's whole days, of the weekdays chosen, as the summaries keep them.
std::string InnerDays(const CallSelection &selection) {
    const InnerSpan span = InnerSpanOf(selection.range);
    if (span.from.empty() || span.to.empty() || span.chosen == 0)
        return "FALSE";
    return SiteCondition(selection) + "call_day BETWEEN " + span.from + " AND " + span.to +
           (span.chosen == 7 ? "" : " AND weekday IN (" + span.weekdays + ")");
}

// The first day of the first month that lies whole within the inner days, and the first day
// after the last such month; the first is the later one when none does.
std::string FirstWholeMonth(const InnerSpan &span) {
    return "(date_trunc('month', (" + span.from + " - 1)::timestamp) + interval '1 month')::date";
}

std::string EndOfWholeMonths(const InnerSpan &span) {
    return "date_trunc('month', (" + span.to + " + 1)::timestamp)::date";
}

// A figure the summaries keep per day and per hour, and how it is counted from calls.
struct HourFigure {
    const char *column;
    const char *ofCalls;
};

const HourFigure kHourFigures[] = {
    {"records", "count(*)"},
    {"inbound", "count(*) FILTER (WHERE direction = 'I')"},
    {"outbound", "count(*) FILTER (WHERE direction = 'O' AND NOT start_only)"},
    {"completed", "count(*) FILTER (WHERE NOT start_only)"},
    {"minutes", "coalesce(sum(m) FILTER (WHERE NOT start_only), 0)"},
    {"minutes_high", "max(m) FILTER (WHERE NOT start_only)"},
    {"minutes_low", "min(m) FILTER (WHERE NOT start_only)"},
    {"errors", "count(*) FILTER (WHERE caller_id_error)"},
    {"inbound_timed", "count(*) FILTER (WHERE answered)"},
    {"inbound_short", "count(*) FILTER (WHERE answered AND duration_s <= 10)"},
    {"rings", "coalesce(sum(rings) FILTER (WHERE answered), 0)"},
    {"rings_high", "max(rings) FILTER (WHERE answered)"},
    {"rings_low", "min(rings) FILTER (WHERE answered)"},
};

// Per site and day (and with ", hour" per hour) of the selection, the figures named: the
// inner days from the summary, the edge days counted from their calls; so no call row is read
// but those of the edge days. Follows the edge calls in a WITH.
std::string SelectedFigures(const CallSelection &selection, const std::string &name,
                            const std::string &summary, const std::string &hour,
                            const std::vector<std::string> &figures) {
    std::string columns, counted;
    for (const HourFigure &figure : kHourFigures) {
        if (std::find(figures.begin(), figures.end(), figure.column) == figures.end())
            continue;
        columns += std::string(", ") + figure.column;
        counted += std::string(", ") + figure.ofCalls;
    }
    const std::string keys = "site, call_day, weekday" + hour;
    return ", " + name + " AS (SELECT " + keys + columns + " FROM " + summary + " WHERE " +
           InnerDays(selection) + " UNION ALL SELECT " + keys + counted + " FROM sel GROUP BY " +
           keys + ") ";
}

std::string SelectedDays(const CallSelection &selection, const std::vector<std::string> &figures) {
    return SelectedFigures(selection, "dd", "cid_days", "", figures);
}

std::string SelectedHours(const CallSelection &selection, const std::vector<std::string> &figures) {
    return SelectedFigures(selection, "dh", "cid_day_hours", ", hour", figures);
}

// The whole chain's calls of each number in the whole months of its inner days, every weekday
// chosen, from the month summary; the inner days outside those months from the day summary.
// The chain's numbers are grouped per month and number instead of per site, day and number.
std::string ChainNumbersOfInnerDays(const CallSelection &selection) {
    const InnerSpan span = InnerSpanOf(selection.range);
    const std::string first = FirstWholeMonth(span), end = EndOfWholeMonths(span);
    return "SELECT kind, number, sum(calls) AS calls, min(first_call) AS first FROM "
           "cid_month_numbers WHERE month >= " +
           first + " AND month < " + end +
           " GROUP BY kind, number UNION ALL SELECT kind, number, sum(calls), min(call_day + "
           "first_time) FROM cid_day_numbers WHERE " +
           InnerDays(selection) + " AND (call_day < " + first + " OR call_day >= " + end +
           ") GROUP BY kind, number";
}

std::string NumbersOfInnerDays(const CallSelection &selection) {
    const InnerSpan span = InnerSpanOf(selection.range);
    if (selection.site.empty() && span.chosen == 7 && !span.from.empty() && !span.to.empty())
        return ChainNumbersOfInnerDays(selection);
    return "SELECT kind, number, sum(calls) AS calls, min(call_day + first_time) AS first FROM "
           "cid_day_numbers WHERE " +
           InnerDays(selection) + " GROUP BY kind, number";
}

// dn: per direction ('I', 'O') and number of the selection, calls and the first of them. Each
// part is grouped on its own so that the server can share the large one among its workers.
std::string SelectedNumbers(const CallSelection &selection) {
    return EdgeCalls(selection) + ", dn AS (" + NumbersOfInnerDays(selection) +
           " UNION ALL SELECT direction, number, count(*), min(call_day + call_time) FROM sel "
           "WHERE (direction = 'I' AND number ~ '[0-9]') OR (direction = 'O' AND NOT start_only) "
           "GROUP BY direction, number) ";
}

CallSelection WholeChain(const ReportRange &range) {
    CallSelection selection;
    selection.range = range;
    return selection;
}

} // namespace

std::string SiteListQuery() {
    return "SELECT site FROM cid_sites ORDER BY site";
}

std::string StatTotalsQuery(const CallSelection &selection) {
    return EdgeCalls(selection) +
           SelectedDays(selection,
                        {"records", "inbound", "outbound", "errors", "rings", "rings_high",
                         "rings_low", "minutes", "minutes_high", "minutes_low"}) +
           "SELECT coalesce(sum(records), 0), coalesce(sum(inbound), 0), coalesce(sum(outbound), "
           "0), coalesce(sum(errors), 0), coalesce(sum(rings), 0), max(rings_high), "
           "min(rings_low), coalesce(sum(minutes), 0), max(minutes_high), min(minutes_low) FROM "
           "dd";
}

// A date counts once in a cell however many sites called on it.
std::string StatCellsQuery(const CallSelection &selection) {
    return EdgeCalls(selection) +
           SelectedHours(selection, {"inbound", "completed", "outbound", "minutes"}) +
           ", d AS (SELECT weekday, hour, call_day, sum(inbound) AS inbound, sum(completed) AS "
           "completed, sum(outbound) AS outbound, sum(minutes) AS minutes FROM dh GROUP BY "
           "weekday, hour, call_day) SELECT weekday, hour, count(DISTINCT call_day), "
           "sum(inbound), count(DISTINCT call_day) FILTER (WHERE completed > 0), sum(outbound), "
           "sum(minutes) FROM d GROUP BY GROUPING SETS ((weekday, hour), (weekday)) ORDER BY "
           "weekday, hour";
}

// Only the numbers with the highest count are ordered: a chain may have called from millions.
std::string StatTopNumbersQuery(const CallSelection &selection) {
    return SelectedNumbers(selection) +
           ", t AS (SELECT kind, number, sum(calls) AS n, min(first) AS first FROM dn GROUP BY "
           "kind, number) SELECT DISTINCT ON (kind) kind, number, n FROM t WHERE (kind, n) IN "
           "(SELECT kind, max(n) FROM t GROUP BY kind) ORDER BY kind, n DESC, first, number";
}

std::string ComparisonCountsQuery(const ReportRange &range) {
    const CallSelection chain = WholeChain(range);
    return EdgeCalls(chain) +
           SelectedDays(chain, {"inbound", "outbound", "minutes", "errors", "inbound_timed",
                                "inbound_short"}) +
           "SELECT site, sum(inbound), sum(outbound), sum(minutes), sum(errors), "
           "sum(inbound_timed), sum(inbound_short) FROM dd GROUP BY site ORDER BY site";
}

// The busiest date and hour of each site and (site NULL) of the chain: the one with the most
// calls, the earliest among equals.
std::string ComparisonBusiestQuery(const ReportRange &range) {
    const auto busiest = [](const std::string &kind, const std::string &from,
                            const std::string &key, const std::string &shown) {
        return "(SELECT DISTINCT ON (site) '" + kind + "', site, " + shown +
               " FROM (SELECT site, " + key + ", sum(records) AS n FROM " + from +
               " GROUP BY GROUPING SETS ((site, " + key + "), (" + key + "))) g ORDER BY site, " +
               "n DESC, " + key + ")";
    };
    const CallSelection chain = WholeChain(range);
    return EdgeCalls(chain) + SelectedDays(chain, {"records"}) + SelectedHours(chain, {"records"}) +
           busiest("D", "dd", "call_day", "to_char(call_day, 'MM-DD-YYYY')") + " UNION ALL " +
           busiest("H", "dh", "hour", "hour::text");
}
