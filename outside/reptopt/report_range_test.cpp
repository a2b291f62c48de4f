// The range math: quick ranges across week, month, year and leap-day boundaries, the defaults
// and the weekday mask.
#include "report_range.h"

#include <gtest/gtest.h>

#include <string>

namespace {

int32_t Day(int32_t y, int32_t m, int32_t d) {
    return DayNumberOf(CivilDate{y, m, d});
}

TEST(ReportRange, DayNumbersAreTheLibraryEpochAndRoundTrip) {
    EXPECT_EQ(Day(1900, 1, 1), 1);
    EXPECT_EQ(Day(2024, 3, 1) - Day(2024, 2, 28), 2); // leap day in between
    EXPECT_EQ(Day(2023, 3, 1) - Day(2023, 2, 28), 1);
    EXPECT_EQ(Day(2023, 2, 29), 0);
    const CivilDate back = CivilDateOf(Day(2024, 2, 29));
    EXPECT_EQ(back.Year * 10000 + back.Month * 100 + back.Day, 20240229);
    EXPECT_EQ(WeekdayOf(Day(2026, 12, 6)), 1); // a Sunday
    EXPECT_EQ(WeekdayOf(Day(2026, 12, 12)), 7);
}

TEST(ReportRange, DefaultIsAllOfTodayOnEveryDay) {
    const ReportRange range = DefaultRange(Day(2026, 12, 8));
    EXPECT_EQ(range.StartDate, Day(2026, 12, 8));
    EXPECT_EQ(range.EndDate, Day(2026, 12, 8));
    EXPECT_EQ(range.StartTime, 0);
    EXPECT_EQ(range.EndTime, 23 * 3600 + 59 * 60 + 59);
    EXPECT_EQ(range.DayMask, 0xFE);
}

struct QuickCase {
    const char *name;
    QuickRange which;
    CivilDate today, start, end;
};

TEST(ReportRange, QuickRanges) {
    const QuickCase cases[] = {
        {"today", QuickRange::Today, {2026, 12, 8}, {2026, 12, 8}, {2026, 12, 8}},
        {"yesterday", QuickRange::Yesterday, {2026, 12, 8}, {2026, 12, 7}, {2026, 12, 7}},
        {"yesterday over a year",
         QuickRange::Yesterday,
         {2027, 1, 1},
         {2026, 12, 31},
         {2026, 12, 31}},
        {"yesterday over a leap day",
         QuickRange::Yesterday,
         {2024, 3, 1},
         {2024, 2, 29},
         {2024, 2, 29}},
        {"this week from its Sunday",
         QuickRange::ThisWeek,
         {2026, 12, 8},
         {2026, 12, 6},
         {2026, 12, 8}},
        {"this week on its Sunday",
         QuickRange::ThisWeek,
         {2026, 12, 6},
         {2026, 12, 6},
         {2026, 12, 6}},
        {"this week on its Saturday",
         QuickRange::ThisWeek,
         {2026, 12, 12},
         {2026, 12, 6},
         {2026, 12, 12}},
        {"this week over a year", QuickRange::ThisWeek, {2025, 1, 2}, {2024, 12, 29}, {2025, 1, 2}},
        {"last week", QuickRange::LastWeek, {2026, 12, 8}, {2026, 11, 29}, {2026, 12, 5}},
        {"last week on a Sunday",
         QuickRange::LastWeek,
         {2026, 12, 6},
         {2026, 11, 29},
         {2026, 12, 5}},
        {"last week on a Saturday",
         QuickRange::LastWeek,
         {2026, 12, 12},
         {2026, 11, 29},
         {2026, 12, 5}},
        {"last week over a leap day",
         QuickRange::LastWeek,
         {2024, 3, 4},
         {2024, 2, 25},
         {2024, 3, 2}},
        {"last week over a year", QuickRange::LastWeek, {2026, 1, 6}, {2025, 12, 28}, {2026, 1, 3}},
        {"this month", QuickRange::ThisMonth, {2026, 12, 8}, {2026, 12, 1}, {2026, 12, 8}},
        {"this month on its first",
         QuickRange::ThisMonth,
         {2026, 12, 1},
         {2026, 12, 1},
         {2026, 12, 1}},
        {"last month", QuickRange::LastMonth, {2026, 12, 8}, {2026, 11, 1}, {2026, 11, 30}},
        {"last month over a year",
         QuickRange::LastMonth,
         {2027, 1, 31},
         {2026, 12, 1},
         {2026, 12, 31}},
        {"last month a leap February",
         QuickRange::LastMonth,
         {2024, 3, 31},
         {2024, 2, 1},
         {2024, 2, 29}},
        {"last month a common February",
         QuickRange::LastMonth,
         {2023, 3, 1},
         {2023, 2, 1},
         {2023, 2, 28}},
        {"last month a century February",
         QuickRange::LastMonth,
         {2100, 3, 15},
         {2100, 2, 1},
         {2100, 2, 28}},
        {"last month of 31 days",
         QuickRange::LastMonth,
         {2026, 8, 31},
         {2026, 7, 1},
         {2026, 7, 31}},
    };
    for (const QuickCase &c : cases) {
        const int32_t today = DayNumberOf(c.today);
        ReportRange current = DefaultRange(today);
        current.StartTime = 3600, current.EndTime = 7200;
        const ReportRange range = QuickRangeOf(c.which, today, current);
        EXPECT_EQ(range.StartDate, DayNumberOf(c.start)) << c.name;
        EXPECT_EQ(range.EndDate, DayNumberOf(c.end)) << c.name;
        EXPECT_EQ(range.StartTime, 0) << c.name;
        EXPECT_EQ(range.EndTime, 86399) << c.name;
    }
}

TEST(ReportRange, QuickRangesKeepTheChosenWeekdays) {
    ReportRange current = DefaultRange(Day(2026, 12, 8));
    for (int32_t mask : {0, 0x02, 0x80, 0x7C})
        for (int32_t which = 0; which <= static_cast<int32_t>(QuickRange::LastMonth); ++which) {
            current.DayMask = mask;
            EXPECT_EQ(
                QuickRangeOf(static_cast<QuickRange>(which), Day(2026, 12, 8), current).DayMask,
                mask);
        }
}

TEST(ReportRange, DayMaskBitsFollowTheWeekdayNumbers) {
    struct {
        const char *days; // S M T W T F S
        int32_t mask;
    } const cases[] = {
        {"xxxxxxx", 0xFE}, {".......", 0},    {"x......", 0x02},
        {"......x", 0x80}, {".xxxxx.", 0x7C}, {"x.....x", 0x82},
    };
    for (const auto &c : cases) {
        bool checked[7];
        for (int i = 0; i < 7; ++i)
            checked[i] = c.days[i] == 'x';
        EXPECT_EQ(DayMaskOf(checked), c.mask) << c.days;
        for (int32_t weekday = 1; weekday <= 7; ++weekday)
            EXPECT_EQ(DayIsInMask(c.mask, weekday), checked[weekday - 1]) << c.days << weekday;
    }
    // Bit 0 and bits above 7 name no weekday.
    for (int32_t weekday : {0, 8, -1})
        EXPECT_FALSE(DayIsInMask(-1, weekday)) << weekday;
}

} // namespace
