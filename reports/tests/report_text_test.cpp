// Number formatting, the text forms of counts, and which numbers the calls-by-number report takes.
#include "call_stats.h"
#include "log_rows.h"
#include "pantry.h"
#include "report_fakes.h"
#include "report_text.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

namespace {

TEST(FmtPhone, Table) {
    const struct {
        const char *number, *printed;
    } cases[] = {
        {"OUT-OF-AREA", "OUT-OF-AREA"},
        {"PRIVATE", "PRIVATE"},
        {"UNKNOWN", "OUT-OF-AREA"},
        {"  PRIVATE          ", "PRIVATE"},
        {"5551234", "5551234"}, // short: digits as they are
        {"555-1234", "5551234"},
        {"", ""},
        {"5551234567", "555-123-4567"},
        {"15551234567", "555-123-4567"},
        {"1555123456", "555-123-456"}, // ten digits with a leading 1
        {"555123456789", "555-123-4567 x89"},
        {"15551234567000123", "555-123-4567 x00012"}, // extension cut to five
        {"(555) 123-4567", "555-123-4567"},
        {"5551234567        ", "555-123-4567"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(FmtPhone(c.number), c.printed) << c.number;
}

TEST(ReportText, CountsAndNumbers) {
    EXPECT_EQ(GroupThousands(0), "0");
    EXPECT_EQ(GroupThousands(999), "999");
    EXPECT_EQ(GroupThousands(1000), "1,000");
    EXPECT_EQ(GroupThousands(1234567), "1,234,567");
    EXPECT_EQ(TwoDigits(0), "00");
    EXPECT_EQ(TwoDigits(7), "07");
    EXPECT_EQ(TwoDigits(123), "123");
    EXPECT_EQ(NumberToText(0), " 0");
    EXPECT_EQ(NumberToText(12), " 12");
    EXPECT_EQ(NumberToText(-3), "-3");
}

TEST(ReportText, HeadingDates) {
    EXPECT_EQ(HeadingDate(DateToDays("01-05-2004")), "05 Jan 2004");
    EXPECT_EQ(HeadingDate(DateToDays("12-31-2026")), "31 Dec 2026");
}

TEST(RoundMinutes, HalvesGoToEven) {
    const int32_t cases[][2] = {{0, 0},  {29, 0}, {30, 0},  {31, 1},  {59, 1},  {89, 1},
                                {90, 2}, {91, 2}, {150, 2}, {151, 3}, {210, 4}, {270, 4}};
    for (const auto &c : cases)
        EXPECT_EQ(RoundMinutes(c[0]), c[1]) << c[0] << " s";
}

TEST(CallsByNumber, WantedNumber) {
    std::string wanted;
    EXPECT_TRUE(WantedNumber("(555) 123-4567", wanted));
    EXPECT_EQ(wanted, "(555) 123-4567      ");
    EXPECT_TRUE(WantedNumber("123456789012345678901234", wanted));
    EXPECT_EQ(wanted, "12345678901234567890");
    EXPECT_FALSE(WantedNumber("", wanted));
    EXPECT_FALSE(WantedNumber("     ", wanted));
}

TEST(CallsByNumber, Matching) {
    const struct {
        const char *typed, *stored;
        bool matches;
    } cases[] = {
        {"(555) 123-4567", "5551234567", true},  {"(555) 123-4567", "15551234567", true},
        {"1-555-123-4567", "5551234567", false}, {"1-555-123-4567", "15551234567", true},
        {"5551234567", "5551234568", false},     {"PRIVATE", "PRIVATE", true},
        {"PRIVATE", "OUT-OF-AREA", true},        {"PRIVATE", "UNKNOWN", true},
        {"PRIVATE", "5551234567", false},        {"555", "5551234567", false},
    };
    for (const auto &c : cases) {
        std::string wanted;
        WantedNumber(c.typed, wanted);
        const CallLogRecord rec = LogRecord("01-05-2004", "10:00:00", 'I', c.stored);
        EXPECT_EQ(NumberMatches(rec, wanted), c.matches) << c.typed << " / " << c.stored;
    }
}

TEST(NumberTally, FirstSeenWinsAmongEquals) {
    NumberTally tally;
    const char *numbers[] = {"5550000002", "5550000001", "5550000001", "5550000002", "5550000003"};
    for (const char *number : numbers)
        tally.Add(LogRecord("01-05-2004", "10:00:00", 'I', number).Number);
    EXPECT_EQ(tally.Top().first, "5550000002          ");
    EXPECT_EQ(tally.Top().second, 2);
    // The 20 characters as stored are the key, not the number they spell.
    NumberTally stored;
    stored.Add(LogRecord("01-05-2004", "10:00:00", 'I', " 5550000001").Number);
    stored.Add(LogRecord("01-05-2004", "10:00:00", 'I', "5550000001").Number);
    EXPECT_EQ(stored.Top().first, " 5550000001         ");
    EXPECT_EQ(stored.Top().second, 1);
}

// Past the table's first size, and numbers apart only in their last stored byte, still count
// apart and keep the first-seen rule.
TEST(NumberTally, ManyNumbersCountApart) {
    NumberTally tally;
    char number[20];
    for (int i = 0; i < 5000; ++i) {
        std::snprintf(number, sizeof number, "555%07d", i);
        std::memset(number + 10, ' ', 10);
        for (int times = 0; times < (i == 4321 || i == 4999 ? 3 : 1); ++times)
            tally.Add(number);
    }
    EXPECT_EQ(tally.Top(), std::make_pair(std::string("5550004321          "), 3));
    NumberTally lastByte;
    char a[20] = "5551234567", b[20] = "5551234567";
    b[19] = ' ';
    lastByte.Add(a);
    lastByte.Add(b);
    lastByte.Add(b);
    EXPECT_EQ(lastByte.Top().second, 2);
    EXPECT_EQ(lastByte.Top().first.back(), ' ');
}

TEST(HourOfDay, AgreesWithPantrysTimeOfDay) {
    char time[16];
    for (int32_t seconds = -120; seconds < 86400 + 120; seconds += 59) {
        const int32_t expected = SecondsToTime(seconds, time, sizeof time) < 2
                                     ? -1
                                     : (time[0] - '0') * 10 + (time[1] - '0');
        EXPECT_EQ(HourOfDay(seconds), expected) << seconds;
    }
    EXPECT_EQ(HourOfDay(86399), 23);
    EXPECT_EQ(HourOfDay(86400), -1);
}

} // namespace
