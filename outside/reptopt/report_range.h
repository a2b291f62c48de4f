// The range the dialog returns and the quick ranges it offers, as day numbers (Pantry's epoch),
// seconds since midnight and a weekday mask: portable, so the calendar math is tested natively.
#pragma once
#include <cstdint>

constexpr int32_t kLastSecondOfDay = 86399;
// Bits 1 (Sunday) to 7 (Saturday), as Pantry's DOW numbers the days.
constexpr int32_t kEveryDayMask = 0xFE;

struct CivilDate {
    int32_t Year, Month, Day;
};

struct ReportRange {
    int32_t StartDate, EndDate; // day numbers
    int32_t StartTime, EndTime; // seconds since midnight
    int32_t DayMask;
};

// The quick-range buttons. Weeks run Sunday to Saturday; "this" week and month end today.
enum class QuickRange { Today, Yesterday, ThisWeek, LastWeek, ThisMonth, LastMonth };

// Day number of a calendar date and back (0 / {0,0,0} when outside Pantry's 1900 to 9999).
int32_t DayNumberOf(const CivilDate &date);
CivilDate CivilDateOf(int32_t day);
// 1 Sunday .. 7 Saturday.
int32_t WeekdayOf(int32_t day);

// Today from 00:00:00 to 23:59:59, every day kept.
ReportRange DefaultRange(int32_t today);
// The whole days of the quick range as seen on `today`, times 00:00:00 to 23:59:59; the day
// mask is left as `current` has it, so a quick range never undoes the weekdays chosen.
ReportRange QuickRangeOf(QuickRange which, int32_t today, const ReportRange &current);

// Mask bit DOW for each checked day; checked[0] is Sunday.
int32_t DayMaskOf(const bool (&checked)[7]);
bool DayIsInMask(int32_t mask, int32_t weekday);
