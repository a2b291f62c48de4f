// Call report fields, number classes and the unit's date and time as the call log stores them.
#include "unit_message.h"

#include "pantry.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

// Line 02, inbound start, good report, 3 rings, 09/14 09:07 PM, a three-word name.
const std::string kReport = "02 I S 0000 G  3 09/14 09:07 PM 555-123-4567   ANNA MARIA LOPEZ";

int32_t Days(const char *date) {
    return DateToDays(date);
}

TEST(GetField, CutsEachFieldAtItsColumn) {
    struct Case {
        int32_t column;
        const char *field;
    } const cases[] = {
        {COL_LINE, "02"},
        {COL_DIRECTION, "I"},
        {COL_EVENT, "S"},
        {COL_DURATION, "0000"},
        {COL_CHECK, "G"},
        {COL_RINGS, "3"},
        {COL_DATE, "09/14"},
        {COL_TIME, "09:07"},
        {COL_MERIDIEM, "PM"},
        {COL_NUMBER, "555-123-4567"},
        {COL_NAME, "ANNA MARIA LOPEZ"},
        {2, "2"},
        {14, ""},
        {0, ""},
        {-5, ""},
        {49, ""},
        {INT32_MIN, ""},
        {INT32_MAX, ""},
    };
    for (const Case &c : cases)
        EXPECT_EQ(GetField(c.column, kReport), c.field) << "column " << c.column;
}

TEST(GetField, ShortReportsLongNamesAndNul) {
    EXPECT_EQ(GetField(COL_NAME, kReport.substr(0, 47)), "");
    EXPECT_EQ(GetField(COL_NUMBER, kReport.substr(0, 32)), "");
    EXPECT_EQ(GetField(COL_NAME, kReport.substr(0, 32)), "");
    const std::string longName = kReport.substr(0, 47) + std::string(40, 'N') + "PAST80";
    EXPECT_EQ(GetField(COL_NAME, longName), std::string(33, 'N'));
    std::string withNul = kReport;
    withNul[35] = '\0';
    EXPECT_EQ(GetField(COL_NUMBER, withNul), "555");
    EXPECT_EQ(GetField(COL_NAME, kReport.substr(0, 47) + "  TWO  SPACES "), "  TWO  SPACES ");
}

TEST(ClassifyNumber, WithheldWordsAndDigits) {
    struct Case {
        const char *field, *number;
    } const cases[] = {
        {"555-123-4567", "5551234567"},
        {"Private", "PRIVATE"},
        {"  out-of-area ", "OUT-OF-AREA"},
        {"UNKNOWN", "UNKNOWN"},
        {"PRIVATE1", "1"},
        {"(555) 12 34", "5551234"},
        {"", ""},
        {"ANONYMOUS", ""},
    };
    for (const Case &c : cases)
        EXPECT_EQ(ClassifyNumber(c.field), c.number) << c.field;
}

TEST(ReadLeadingNumber, DigitsAfterSpacesAndSaturation) {
    struct Case {
        const char *text;
        int32_t value;
    } const cases[] = {
        {"01", 1},
        {"A1", 0},
        {"  42x", 42},
        {"", 0},
        {"-5", 0},
        {"2147483647", INT32_MAX},
        {"2147483648", INT32_MAX},
        {"99999999999999999999999", INT32_MAX},
    };
    for (const Case &c : cases)
        EXPECT_EQ(ReadLeadingNumber(c.text), c.value) << c.text;
}

TEST(UnitTimeTo24h, MeridiemRule) {
    struct Case {
        const char *time, *meridiem, *text;
        int32_t seconds;
    } const cases[] = {
        {"12:05", "AM", "00:05:00", 300},   {"12:05", "PM", "12:05:00", 43500},
        {"01:30", "PM", "13:30:00", 48600}, {"01:30", "pm", "01:30:00", 5400},
        {"11:59", "PM", "23:59:00", 86340}, {"9:07", "PM", "21:07:00", 76020},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(UnitTimeTo24h(c.time, c.meridiem), c.text) << c.time << ' ' << c.meridiem;
        EXPECT_EQ(UnitTimeToSeconds(c.time, c.meridiem, -7), c.seconds) << c.time;
    }
}

// A time the computer cannot read must not log midnight: the current time stands in for it.
TEST(UnitTimeToSeconds, UnreadableTimesTakeTheCurrentTime) {
    struct Case {
        const char *time, *meridiem;
    } const cases[] = {{"24:00", "AM"}, {"25:00", "PM"}, {"12:60", "PM"}, {"12:5", "AM"},
                       {"1200", "AM"},  {"", ""},        {"xx:yy", "AM"}};
    for (const Case &c : cases)
        EXPECT_EQ(UnitTimeToSeconds(c.time, c.meridiem, 4321), 4321) << c.time;
}

TEST(UnitDate, YearIsTheLatestNotMoreThanADayAhead) {
    struct Case {
        CivilDate today;
        const char *field, *text;
    } const cases[] = {
        {{2026, 9, 14}, "09/14", "09-14-2026"},
        {{2026, 9, 14}, "09/15", "09-15-2026"}, // unit clock a day ahead
        {{2026, 9, 14}, "09/16", "09-16-2025"},
        {{2026, 12, 31}, "01/01", "01-01-2027"}, // past midnight on the unit only
        {{2026, 12, 30}, "01/01", "01-01-2026"},
        // Reported late on the first of January, the call was made last year. (The older rule,
        // the computer's current year, would put it a year into the future.)
        {{2027, 1, 1}, "12/31", "12-31-2026"},
        {{2027, 1, 1}, "01/01", "01-01-2027"},
        {{2027, 2, 28}, "03/01", "03-01-2027"}, // tomorrow, with no 02/29 between
        {{2028, 2, 28}, "02/29", "02-29-2028"},
        {{2028, 2, 28}, "03/01", "03-01-2027"}, // 02/29 comes first this year
        {{2028, 3, 1}, "02/29", "02-29-2028"},
        {{2104, 3, 1}, "02/29", "02-29-2104"},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(UnitDateToText(c.field, c.today), c.text) << c.field;
        EXPECT_EQ(UnitDateToDays(c.field, c.today), Days(c.text)) << c.field;
    }
}

// The year comes from month and day alone; a year without the day makes the date unreadable,
// so the call is logged today rather than years back (out of today's reports, into the purge).
TEST(UnitDate, LeapDayInAYearWithoutOneTakesToday) {
    struct Case {
        CivilDate today;
        const char *todayText;
    } const cases[] =
        {
            {{2025, 3, 1}, "03-01-2025"},  {{2027, 3, 1}, "03-01-2027"},
            {{2027, 2, 28}, "02-28-2027"}, {{2103, 3, 1}, "03-01-2103"},
            {{2100, 3, 1}, "03-01-2100"}, // a century year without February 29
        };
    for (const Case &c : cases)
        EXPECT_EQ(UnitDateToDays("02/29", c.today), Days(c.todayText)) << c.todayText;
}

// A date the computer cannot read must not log "no date": today stands in for it.
TEST(UnitDate, UnreadableDatesTakeToday) {
    const CivilDate today{2026, 9, 14};
    for (const char *field : {"13/01", "00/10", "04/31", "02/30", "", "0914", "ab/cd", "/14"})
        EXPECT_EQ(UnitDateToDays(field, today), Days("09-14-2026")) << field;
    EXPECT_EQ(UnitDateToText("13/01", today), "13-01-2026");
}

TEST(ReportFromDatagram, HeaderAndMarker) {
    const std::string header = "^^<U>" + std::string(16, 'h');
    EXPECT_EQ(ReportFromDatagram(header + kReport), kReport);
    EXPECT_EQ(ReportFromDatagram(header), "");
    EXPECT_EQ(ReportFromDatagram(std::string(21, 'x') + kReport), "");
    EXPECT_EQ(ReportFromDatagram("xx^^<U>" + std::string(14, 'h') + "01 I"), "01 I");
    EXPECT_EQ(ReportFromDatagram(""), "");
}

TEST(LocalClock, GivesAValidDateAndTime) {
    const CivilDate today = LocalToday();
    EXPECT_NE(Days(CivilDateText(today).c_str()), 0);
    const int32_t now = LocalSecondsNow();
    EXPECT_GE(now, 0);
    EXPECT_LT(now, 86400);
}

} // namespace
