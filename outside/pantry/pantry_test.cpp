// Pantry's conversions: round trips over three centuries, invalid texts, buffers too small.
#include "pantry.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

std::string Date(int32_t day) {
    char out[16] = "x";
    DaysToDate(day, out, sizeof out);
    return out;
}

TEST(PantryDates, EveryDayFrom1900To2199RoundTrips) {
    int32_t expected = 1;
    const int32_t daysInMonth[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    int32_t weekday = 2; // 01-01-1900 was a Monday
    for (int32_t y = 1900; y <= 2199; ++y)
        for (int32_t m = 1; m <= 12; ++m) {
            const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
            const int32_t last = daysInMonth[m - 1] + (m == 2 && leap ? 1 : 0);
            for (int32_t d = 1; d <= last; ++d, ++expected) {
                char text[40];
                std::snprintf(text, sizeof text, "%02d-%02d-%04d", m, d, y);
                ASSERT_EQ(DateToDays(text), expected) << text;
                ASSERT_EQ(Date(expected), text);
                ASSERT_EQ(DOW(text), weekday) << text;
                weekday = weekday % 7 + 1;
            }
        }
    EXPECT_EQ(Date(expected - 1), "12-31-2199");
}

TEST(PantryDates, InvalidTextsGiveNoDate) {
    const char *const cases[] = {
        "",           "1-01-2024",  "01-1-2024",  "01/01/2024", "01-01-24",   "01-01-2024 ",
        "00-10-2024", "13-10-2024", "02-30-2024", "02-29-2023", "02-29-1900", "04-31-2024",
        "01-00-2024", "0a-01-2024", "01-01-20x4", "12-31-1899", " 1-01-2024", "-1-01-2024",
    };
    for (const char *text : cases)
        EXPECT_EQ(DateToDays(text), 0) << '"' << text << '"';
    EXPECT_EQ(DateToDays(nullptr), 0);
    EXPECT_EQ(DateToDays("02-29-2000"), DateToDays("02-28-2000") + 1);
    EXPECT_EQ(DateToDays("12-31-9999"), 2958464);
}

TEST(PantryDates, DayNumbersOutsideTheRangeWriteNothing) {
    for (int32_t day : {0, -1, 2958465, INT32_MIN, INT32_MAX})
        EXPECT_EQ(Date(day), "") << day;
    EXPECT_EQ(Date(2958464), "12-31-9999");
}

TEST(PantryDates, SplitDate) {
    int32_t m = -1, d = -1, y = -1;
    EXPECT_EQ(SplitDate("07-04-2026", &m, &d, &y), 1);
    EXPECT_EQ(m * 10000 + d * 100 + y % 100, 70426);
    EXPECT_EQ(y, 2026);
    EXPECT_EQ(SplitDate("07-32-2026", &m, &d, &y), 0);
    EXPECT_EQ(m + d + y, 0);
    EXPECT_EQ(DOW("12-07-2026"), 2); // a Monday
    EXPECT_EQ(DOW("bad"), 0);
}

TEST(PantryTimes, TextsAndSeconds) {
    struct Case {
        int32_t seconds;
        const char *h24, *h12;
    } const cases[] = {
        {0, "00:00:00", "12:00 AM"},     {300, "00:05:00", "12:05 AM"},
        {3600, "01:00:00", "01:00 AM"},  {43199, "11:59:59", "11:59 AM"},
        {43200, "12:00:00", "12:00 PM"}, {43500, "12:05:00", "12:05 PM"},
        {75420, "20:57:00", "08:57 PM"}, {86399, "23:59:59", "11:59 PM"},
    };
    for (const Case &c : cases) {
        char out[16];
        EXPECT_EQ(SecondsToTime(c.seconds, out, sizeof out), 8);
        EXPECT_STREQ(out, c.h24);
        EXPECT_EQ(SecondsToTime12(c.seconds, out, sizeof out), 8);
        EXPECT_STREQ(out, c.h12);
        EXPECT_EQ(TimeToSeconds(c.h24), c.seconds) << c.h24;
    }
    for (int32_t seconds = 0; seconds < 86400; ++seconds) {
        char out[16];
        SecondsToTime(seconds, out, sizeof out);
        ASSERT_EQ(TimeToSeconds(out), seconds);
    }
}

TEST(PantryTimes, InvalidTimes) {
    for (const char *text : {"", "24:00:00", "12:60:00", "12:00:60", "1:00:00", "12:00",
                             "12:00:00 ", "12-00-00", "a2:00:00"})
        EXPECT_EQ(TimeToSeconds(text), -1) << '"' << text << '"';
    EXPECT_EQ(TimeToSeconds(nullptr), -1);
    char out[16] = "x";
    EXPECT_EQ(SecondsToTime(86400, out, sizeof out), 0);
    EXPECT_STREQ(out, "");
    EXPECT_EQ(SecondsToTime12(-1, out, sizeof out), 0);
}

TEST(PantryTexts, MonthNames) {
    const char *const names[] = {"January",   "February", "March",    "April",
                                 "May",       "June",     "July",     "August",
                                 "September", "October",  "November", "December"};
    for (int32_t m = 1; m <= 12; ++m) {
        char out[16];
        EXPECT_EQ(MonthName(m, out, sizeof out),
                  static_cast<int32_t>(std::string(names[m - 1]).size()));
        EXPECT_STREQ(out, names[m - 1]);
    }
    char out[16] = "x";
    EXPECT_EQ(MonthName(0, out, sizeof out), 0);
    EXPECT_EQ(MonthName(13, out, sizeof out), 0);
    EXPECT_STREQ(out, "");
}

// A buffer too small gets an empty text and never a byte past its size.
TEST(PantryTexts, SmallBuffersGetNothing) {
    char out[12];
    std::string(sizeof out, '#').copy(out, sizeof out);
    EXPECT_EQ(DaysToDate(1, out, 10), 0);
    EXPECT_EQ(out[0], '\0');
    EXPECT_EQ(std::string(out + 1, 11), std::string(11, '#'));
    EXPECT_EQ(DaysToDate(1, out, 11), 10);
    EXPECT_STREQ(out, "01-01-1900");
    EXPECT_EQ(MonthName(9, out, 9), 0);
    EXPECT_EQ(MonthName(9, out, 10), 9);
    EXPECT_EQ(SecondsToTime(0, out, 0), 0);
    EXPECT_EQ(SecondsToTime(0, nullptr, 9), 0);
}

TEST(PantryPaths, SplitPath) {
    struct Case {
        const char *path, *drive, *folder, *name;
    } const cases[] = {
        {"C:\\POS\\DATA\\QuorlLog.OV5", "C:", "\\POS\\DATA\\", "QuorlLog.OV5"},
        {"C:\\Ringhold.exe", "C:", "\\", "Ringhold.exe"},
        {"C:Ringhold.exe", "C:", "", "Ringhold.exe"},
        {"\\\\server\\pos\\x.exe", "", "\\\\server\\pos\\", "x.exe"},
        {"/opt/pos/", "", "/opt/pos/", ""},
        {"plain", "", "", "plain"},
    };
    for (const Case &c : cases) {
        char drive[32], folder[32], name[32];
        EXPECT_EQ(SplitPath(c.path, drive, folder, name, 32), 1) << c.path;
        EXPECT_STREQ(drive, c.drive);
        EXPECT_STREQ(folder, c.folder);
        EXPECT_STREQ(name, c.name);
    }
    char drive[8], folder[8], name[8];
    EXPECT_EQ(SplitPath("C:\\a\\Long-Name.txt", drive, folder, name, 8), 0);
    EXPECT_STREQ(drive, "");
    EXPECT_STREQ(folder, "");
    EXPECT_STREQ(name, "");
    // The path may sit in one of the buffers it is split into.
    char held[32] = "C:\\POS\\Ringhold.exe", heldFolder[32], heldName[32];
    EXPECT_EQ(SplitPath(held, held, heldFolder, heldName, 32), 1);
    EXPECT_STREQ(held, "C:");
    EXPECT_STREQ(heldFolder, "\\POS\\");
    EXPECT_STREQ(heldName, "Ringhold.exe");
}

TEST(PantryPaths, Exist) {
    const std::string file = ::testing::TempDir() + "pantry_exist.txt";
    std::remove(file.c_str());
    EXPECT_EQ(Exist(file.c_str()), 0);
    std::FILE *f = std::fopen(file.c_str(), "w");
    ASSERT_NE(f, nullptr);
    std::fclose(f);
    EXPECT_NE(Exist(file.c_str()), 0);
    EXPECT_EQ(Exist(::testing::TempDir().c_str()), 0);
    EXPECT_EQ(Exist(nullptr), 0);
    std::remove(file.c_str());
}

} // namespace
