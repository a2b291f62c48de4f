// SQL text of the head-office reports. Values are written into the text as literals: a day
// number and seconds become a date and a time, the weekday mask a number, a site a quoted text.
#include "hq_queries.h"

#include "sync_rows.h"

namespace {

// A time of day as a bound of the span: a span may end at the day's very end.
std::string BoundTime(int32_t seconds) {
    if (seconds <= 0)
        return "00:00:00";
    if (seconds >= 86400)
        return "24:00:00";
    return SqlTimeOfSeconds(seconds);
}

// The range's span and weekdays. Rows without a valid date or time are in no span.
std::string RangeCondition(const ReportRange &range) {
    const std::string from = SqlDateOfDay(range.startDate), to = SqlDateOfDay(range.endDate);
    if (from.empty() || to.empty())
        return "FALSE";
    const std::string fromDay = "DATE '" + from + "'", toDay = "DATE '" + to + "'";
    return "call_day BETWEEN " + fromDay + " AND " + toDay + " AND (call_day, call_time) >= (" +
           fromDay + ", TIME '" + BoundTime(range.startTime) + "') AND (call_day, call_time) <= (" +
           toDay + ", TIME '" + BoundTime(range.endTime) + "') AND (" + Decimal(range.dayMask) +
           " >> (extract(dow FROM call_day)::integer + 1)) & 1 = 1";
}

// The selected calls with their whole minutes, halves to the even neighbour; the remainder is
// taken from below so that a negative duration rounds as it does in the store's report.
std::string SelectedCalls(const ReportRange &range, const std::string &site, bool allSites) {
    const std::string rest = "((duration_s::bigint % 60) + 60) % 60";
    const std::string whole = "((duration_s::bigint - " + rest + ") / 60)";
    return "WITH sel AS (SELECT site, call_day, call_time, number, direction, start_only, "
           "caller_id_error, rings, duration_s, " +
           whole + " + CASE WHEN " + rest + " > 30 OR (" + rest + " = 30 AND " + whole +
           " % 2 <> 0) THEN 1 ELSE 0 END AS m FROM cid_calls WHERE " +
           (allSites ? "" : "site = " + SqlText(site) + " AND ") + RangeCondition(range) + ") ";
}

std::string SelectedCalls(const CallSelection &selection) {
    return SelectedCalls(selection.range, selection.site, selection.site.empty());
}

const char kCompleted[] = "NOT start_only";
const char kAnsweredInbound[] = "direction = 'I' AND NOT start_only";
const char kCompletedOutbound[] = "direction = 'O' AND NOT start_only";

std::string Filtered(const std::string &aggregate, const std::string &condition) {
    return aggregate + " FILTER (WHERE " + condition + ")";
}

} // namespace

std::string SiteListQuery() {
    return "SELECT site FROM cid_sites ORDER BY site";
}

std::string StatTotalsQuery(const CallSelection &selection) {
    return SelectedCalls(selection) + "SELECT count(*), " +
           Filtered("count(*)", "direction = 'I'") + ", " +
           Filtered("count(*)", kCompletedOutbound) + ", " +
           Filtered("count(*)", "caller_id_error") + ", coalesce(" +
           Filtered("sum(rings)", kAnsweredInbound) + ", 0), " +
           Filtered("max(rings)", kAnsweredInbound) + ", " +
           Filtered("min(rings)", kAnsweredInbound) + ", coalesce(" +
           Filtered("sum(m)", kCompleted) + ", 0), " + Filtered("max(m)", kCompleted) + ", " +
           Filtered("min(m)", kCompleted) + " FROM sel";
}

std::string StatCellsQuery(const CallSelection &selection) {
    return SelectedCalls(selection) + "SELECT wd, h, count(DISTINCT call_day), " +
           Filtered("count(*)", "direction = 'I'") + ", " +
           Filtered("count(DISTINCT call_day)", kCompleted) + ", " +
           Filtered("count(*)", kCompletedOutbound) + ", coalesce(" +
           Filtered("sum(m)", kCompleted) +
           ", 0) FROM (SELECT *, extract(dow FROM call_day)::integer AS wd, "
           "extract(hour FROM call_time)::integer AS h FROM sel) c "
           "GROUP BY GROUPING SETS ((wd, h), (wd)) ORDER BY wd, h";
}

std::string StatTopNumbersQuery(const CallSelection &selection) {
    const std::string tally =
        ", number, count(*) AS n, min(call_day + call_time) AS first FROM sel "
        "WHERE ";
    return SelectedCalls(selection) +
           "SELECT DISTINCT ON (kind) kind, number, n FROM (SELECT 'I' AS kind" + tally +
           "direction = 'I' AND number ~ '[0-9]' GROUP BY number UNION ALL SELECT 'O'" + tally +
           kCompletedOutbound + " GROUP BY number) t ORDER BY kind, n DESC, first, number";
}

std::string ComparisonCountsQuery(const ReportRange &range) {
    return SelectedCalls(range, "", true) + "SELECT site, " +
           Filtered("count(*)", "direction = 'I'") + ", " +
           Filtered("count(*)", kCompletedOutbound) + ", coalesce(" +
           Filtered("sum(m)", kCompleted) + ", 0), " + Filtered("count(*)", "caller_id_error") +
           ", " + Filtered("count(*)", kAnsweredInbound) + ", " +
           Filtered("count(*)", std::string(kAnsweredInbound) + " AND duration_s <= 10") +
           " FROM sel GROUP BY site ORDER BY site";
}

std::string ComparisonBusiestQuery(const ReportRange &range) {
    const auto busiest = [](const std::string &kind, const std::string &key,
                            const std::string &shown) {
        return "(SELECT DISTINCT ON (site) '" + kind + "' AS kind, site, " + shown +
               " AS busiest FROM (SELECT site, " + key +
               " AS k, count(*) AS n FROM sel "
               "GROUP BY GROUPING SETS ((site, " +
               key + "), (" + key + "))) g ORDER BY site, n DESC, k)";
    };
    return SelectedCalls(range, "", true) + busiest("D", "call_day", "to_char(k, 'MM-DD-YYYY')") +
           " UNION ALL " + busiest("H", "extract(hour FROM call_time)::integer", "k::text");
}
