// Quick ranges and weekday masks over Pantry's day numbers.
#include "report_range.h"
#include "pantry.h"

#include <cstdio>

int32_t DayNumberOf(const CivilDate &date) {
    char text[32];
    std::snprintf(text, sizeof text, "%02d-%02d-%04d", static_cast<int>(date.Month),
                  static_cast<int>(date.Day), static_cast<int>(date.Year));
    return DateToDays(text);
}

CivilDate CivilDateOf(int32_t day) {
    char text[11];
    CivilDate date{};
    DaysToDate(day, text, sizeof text);
    SplitDate(text, &date.Month, &date.Day, &date.Year);
    return date;
}

int32_t WeekdayOf(int32_t day) {
    char text[11];
    DaysToDate(day, text, sizeof text);
    return DOW(text);
}

ReportRange DefaultRange(int32_t today) {
    return ReportRange{today, today, 0, kLastSecondOfDay, kEveryDayMask};
}

namespace {

int32_t FirstOfMonth(int32_t day) {
    CivilDate date = CivilDateOf(day);
    date.Day = 1;
    return DayNumberOf(date);
}

int32_t SundayOfWeek(int32_t day) {
    return day - (WeekdayOf(day) - 1);
}

} // namespace

ReportRange QuickRangeOf(QuickRange which, int32_t today, const ReportRange &current) {
    ReportRange range{today, today, 0, kLastSecondOfDay, current.DayMask};
    switch (which) {
    case QuickRange::Today:
        break;
    case QuickRange::Yesterday:
        range.StartDate = range.EndDate = today - 1;
        break;
    case QuickRange::ThisWeek:
        range.StartDate = SundayOfWeek(today);
        break;
    case QuickRange::LastWeek:
        range.StartDate = SundayOfWeek(today) - 7;
        range.EndDate = range.StartDate + 6;
        break;
    case QuickRange::ThisMonth:
        range.StartDate = FirstOfMonth(today);
        break;
    case QuickRange::LastMonth:
        range.EndDate = FirstOfMonth(today) - 1;
        range.StartDate = FirstOfMonth(range.EndDate);
        break;
    }
    return range;
}

int32_t DayMaskOf(const bool (&checked)[7]) {
    int32_t mask = 0;
    for (int32_t i = 0; i < 7; ++i)
        if (checked[i])
            mask |= 1 << (i + 1);
    return mask;
}

bool DayIsInMask(int32_t mask, int32_t weekday) {
    return weekday >= 1 && weekday <= 7 && (mask & (1 << weekday)) != 0;
}
