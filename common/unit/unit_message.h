// The call report of the caller-ID unit: field cutting, number classes and the unit's date and
// time texts turned into day numbers and seconds, plus the report inside a UDP datagram.
#pragma once
#include <cstdint>
#include <string>

// The option state a unit of model 0 must report; each character is also its set command.
#define UNIT_OPTIONS "ECXUDASoBKt"

// Columns (1-based) at which the fields of a call report start.
enum {
    COL_LINE = 1,
    COL_DIRECTION = 4,
    COL_EVENT = 6,
    COL_DURATION = 8,
    COL_CHECK = 13,
    COL_RINGS = 16,
    COL_DATE = 18,
    COL_TIME = 24,
    COL_MERIDIEM = 30,
    COL_NUMBER = 33,
    COL_NAME = 48
};

struct CivilDate {
    int32_t Year, Month, Day;
};

// The field starting at `column`: one word, except the name, which keeps its spaces. Only
// columns 1 to 80 of the report are ever read.
std::string GetField(int32_t column, const std::string &report);
// "UNKNOWN", "OUT-OF-AREA", "PRIVATE" (any case, spaces around), else the digits alone.
std::string ClassifyNumber(const std::string &field);
// The number at the start of the text after leading spaces; 0 when it does not begin with a
// digit; INT32_MAX for a longer run of digits than fits.
int32_t ReadLeadingNumber(const std::string &text);
// "mm/dd" -> "mm-dd-yyyy". The year is the latest one in which that month and day is at most
// one day after today, so a unit clock a little ahead of the computer's still gives this year
// and 12/31 seen on the first of January gives last year. The year is chosen by month and day
// alone; a day that year lacks (02/29) and other unreadable dates get today's year.
std::string UnitDateToText(const std::string &field, const CivilDate &today);
// "hh:mm" + "AM"/"PM" -> "HH:MM:00" on a 24-hour clock; the minutes are kept as sent.
std::string UnitTimeTo24h(const std::string &time, const std::string &meridiem);
// The day number of the unit's date; today's when the field cannot be read (never 0).
int32_t UnitDateToDays(const std::string &field, const CivilDate &today);
// Seconds since midnight of the unit's time; nowSeconds when the fields cannot be read.
int32_t UnitTimeToSeconds(const std::string &time, const std::string &meridiem, int32_t nowSeconds);
// The call report of a datagram: its text from character 22 when it holds "^^<U>" anywhere,
// otherwise "" (a datagram of other kind, or one with an empty report).
std::string ReportFromDatagram(const std::string &datagram);

// The computer's local date and time of day.
CivilDate LocalToday();
int32_t LocalSecondsNow();
// Today as "mm-dd-yyyy".
std::string CivilDateText(const CivilDate &date);
