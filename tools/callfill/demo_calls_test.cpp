// The demo calls look like a restaurant's weeks, come in key order, and are the same for a seed.
#include "demo_calls.h"

#include "pantry.h"
#include "record_text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>

namespace {

DemoCallPlan Plan(int32_t calls) {
    DemoCallPlan plan;
    plan.calls = calls;
    plan.lastDay = DateToDays("03-29-2026");
    plan.seed = 7;
    return plan;
}

TEST(DemoCalls, WithinTheWeeksInKeyOrder) {
    const std::vector<CallLogRecord> calls = MakeDemoCalls(Plan(3000));
    ASSERT_EQ(calls.size(), 3000u);
    const int32_t first = DateToDays("03-29-2026") - 6 * 7 + 1;
    for (size_t i = 0; i < calls.size(); ++i) {
        const CallLogRecord &c = calls[i];
        // Copies: the packed record's fields cannot bind to references.
        const int32_t day = c.Day;
        ASSERT_GE(day, first);
        ASSERT_LE(day, DateToDays("03-29-2026"));
        ASSERT_TRUE(c.Seconds >= 0 && c.Seconds < 86400 && c.Seconds % 60 == 0);
        ASSERT_TRUE(c.Direction == 'I' || c.Direction == 'O');
        ASSERT_TRUE(c.Line >= 1 && c.Line <= 4);
        if (i > 0) {
            ASSERT_TRUE(calls[i - 1].Day < c.Day ||
                        (calls[i - 1].Day == c.Day && calls[i - 1].Seconds <= c.Seconds));
        }
    }
}

TEST(DemoCalls, RegularsCallAgainAndPeaksShow) {
    const std::vector<CallLogRecord> calls = MakeDemoCalls(Plan(3000));
    std::map<std::string, int> perNumber;
    int lunch = 0, night = 0, saturday = 0, tuesday = 0, gaveUp = 0;
    for (const CallLogRecord &c : calls) {
        if (c.Direction == 'I')
            ++perNumber[GetTextPadded(c.Number)];
        gaveUp += c.Direction == 'I' && c.Duration <= 20;
        const int hour = c.Seconds / 3600;
        lunch += hour == 12;
        night += hour >= 2 && hour <= 7;
        char date[16];
        DaysToDate(c.Day, date, sizeof date);
        saturday += DOW(date) == 7;
        tuesday += DOW(date) == 3;
    }
    int top = 0;
    for (const auto &entry : perNumber)
        top = std::max(top, entry.second);
    EXPECT_GT(top, 10);
    EXPECT_GT(perNumber["PRIVATE"], 0);
    EXPECT_GT(lunch, 200);
    EXPECT_EQ(night, 0);
    EXPECT_GT(saturday, 2 * tuesday);
    EXPECT_GT(gaveUp, 100); // the callback list has calls to show
}

TEST(DemoCalls, SameSeedSameCalls) {
    const std::vector<CallLogRecord> a = MakeDemoCalls(Plan(200)), b = MakeDemoCalls(Plan(200));
    ASSERT_EQ(a.size(), b.size());
    EXPECT_EQ(std::memcmp(a.data(), b.data(), a.size() * sizeof(CallLogRecord)), 0);
}

TEST(CallLine, ReadsOrRefuses) {
    CallLogRecord rec;
    ASSERT_TRUE(ParseCallLine("01-05-2004 10:15:00 I 5551234567 95 3 2 0 JONES MARY", rec));
    EXPECT_EQ(+rec.Day, DateToDays("01-05-2004"));
    EXPECT_EQ(+rec.Seconds, 36900);
    EXPECT_EQ(GetTextPadded(rec.Number), "5551234567");
    EXPECT_EQ(GetTextNul(rec.Name), "JONES MARY");
    EXPECT_EQ(+rec.Duration, 95);
    EXPECT_EQ(+rec.Rings, 3);
    EXPECT_EQ(+rec.Line, 2);
    EXPECT_EQ(+rec.Status, 0u);
    ASSERT_TRUE(ParseCallLine("01-05-2004 10:16:00 O 5551234567 95 0 1 0 |*72#", rec));
    EXPECT_EQ(GetTextNul(rec.Name), "");
    EXPECT_EQ(GetTextNul(rec.ExtraDigits), "*72#");
    EXPECT_FALSE(ParseCallLine("01-05-2004 10:15:00 X 5551234567 95 3 2 0", rec));
    EXPECT_FALSE(ParseCallLine("13-05-2004 10:15:00 I 5551234567 95 3 2 0", rec));
    EXPECT_FALSE(ParseCallLine("01-05-2004 10:15:00 I 5551234567", rec));
}

} // namespace
