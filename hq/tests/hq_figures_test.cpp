// The head office's answers turned into page figures and comparison rows: the day counters of
// each kind of cell, the starting values where nothing was counted, answers of the wrong shape,
// and the texts of the comparison's columns.
#include "hq_figures.h"
#include "hq_settings.h"
#include "site_comparison.h"

#include <gtest/gtest.h>

namespace {

const QueryRows kTotals = {{"8", "6", "2", "2", "9", "5", "0", "14", "10", "0"}};

TEST(HqFigures, TotalsAndCellsTakeTheirDayCounters) {
    const QueryRows cells = {
        {"1", "10", "2", "3", "1", "0", "2"}, // Monday 10a: 2 dates, one with a completed call
        {"1", "3", "1", "1", "0", "0", "0"},  // Monday 3a: no column of its own
        {"1", "", "2", "4", "2", "1", "4"},   // Monday as a whole
    };
    const QueryRows tops = {{"I", "5551234567", "3"}, {"O", "5559876543", "2"}};
    StatFigures f;
    ASSERT_TRUE(StatFiguresOf(kTotals, cells, tops, f));
    EXPECT_EQ(f.totals.totalCalls, 8);
    EXPECT_EQ(f.totals.totalRings, 9);
    EXPECT_EQ(f.totals.highRings, 5);
    EXPECT_EQ(f.totals.lowRings, 0);
    EXPECT_EQ(f.totals.lowMinutes, 0);
    const StatCellFigures &hour = f.cells[1][10];
    EXPECT_EQ(hour.inbound, 3);
    EXPECT_EQ(hour.minutes, 2);
    EXPECT_EQ(hour.daysA, 2);
    EXPECT_EQ(hour.daysB, 1);
    EXPECT_EQ(hour.daysC, 1);
    EXPECT_EQ(f.cells[1][3].daysA, 0);
    const StatCellFigures &overall = f.cells[1][kOverallSlot];
    EXPECT_EQ(overall.outbound, 1);
    EXPECT_EQ(overall.daysB, 2); // every date with a call, completed or not
    EXPECT_EQ(overall.daysC, 2);
    EXPECT_EQ(f.inboundTop.number, "5551234567");
    EXPECT_EQ(f.outboundTop.count, 2);
}

TEST(HqFigures, NothingCountedKeepsTheStartingValues) {
    StatFigures f;
    ASSERT_TRUE(StatFiguresOf({{"0", "0", "0", "0", "0", "", "", "0", "", ""}}, {}, {}, f));
    EXPECT_EQ(f.totals.highRings, 0);
    EXPECT_EQ(f.totals.lowRings, 99);
    EXPECT_EQ(f.totals.highMinutes, 0);
    EXPECT_EQ(f.totals.lowMinutes, 99999);
    EXPECT_EQ(f.inboundTop.count, 0);
    // A low above the starting value stays at it, as the scan's minimum does.
    ASSERT_TRUE(
        StatFiguresOf({{"1", "1", "0", "0", "120", "120", "120", "0", "0", "0"}}, {}, {}, f));
    EXPECT_EQ(f.totals.lowRings, 99);
    EXPECT_EQ(f.totals.highRings, 120);
}

TEST(HqFigures, AnswersOfTheWrongShapeAreRefused) {
    const struct {
        const char *name;
        QueryRows totals, cells, tops;
    } cases[] = {
        {"no totals row", {}, {}, {}},
        {"totals short of a column", {{"8", "6", "2", "2", "9", "5", "0", "14", "10"}}, {}, {}},
        {"a count that is text", {{"x", "6", "2", "2", "9", "5", "0", "14", "10", "0"}}, {}, {}},
        {"a count beyond 32 bits",
         {{"4294967296", "6", "2", "2", "9", "5", "0", "14", "10", "0"}},
         {},
         {}},
        {"weekday 7", kTotals, {{"7", "10", "1", "1", "1", "0", "0"}}, {}},
        {"hour that is text", kTotals, {{"1", "ten", "1", "1", "1", "0", "0"}}, {}},
        {"direction neither I nor O", kTotals, {}, {{"X", "555", "1"}}},
    };
    for (const auto &c : cases) {
        StatFigures f;
        EXPECT_FALSE(StatFiguresOf(c.totals, c.cells, c.tops, f)) << c.name;
    }
}

TEST(HqFigures, ComparisonListsEverySiteByNameThenTheChain) {
    const QueryRows sites = {{"west-3"}, {"east-1"}, {"quiet"}};
    const QueryRows counts = {{"east-1", "10", "2", "30", "1", "8", "2"},
                              {"west-3", "5", "1", "12", "0", "4", "1"}};
    const QueryRows busiest = {{"D", "east-1", "01-05-2004"}, {"D", "west-3", "01-06-2004"},
                               {"D", "", "01-05-2004"},       {"H", "east-1", "12"},
                               {"H", "west-3", "18"},         {"H", "", "12"}};
    std::vector<SiteFigures> rows;
    ASSERT_TRUE(ComparisonOf(sites, counts, busiest, rows));
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0].site, "east-1");
    EXPECT_EQ(rows[1].site, "quiet");
    EXPECT_EQ(rows[1].inbound, 0);
    EXPECT_EQ(rows[1].busiestHour, -1);
    EXPECT_EQ(rows[2].busiestDay, "01-06-2004");
    const SiteFigures &all = rows[3];
    EXPECT_EQ(all.site, "All sites");
    EXPECT_EQ(all.inbound, 15);
    EXPECT_EQ(all.minutes, 42);
    EXPECT_EQ(all.inboundTimed, 12);
    EXPECT_EQ(all.inboundShort, 3);
    EXPECT_EQ(all.busiestDay, "01-05-2004");
    EXPECT_EQ(all.busiestHour, 12);
    EXPECT_FALSE(ComparisonOf(sites, {{"east-1", "x", "2", "30", "1", "8", "2"}}, {}, rows));
    EXPECT_FALSE(ComparisonOf(sites, counts, {{"H", "east-1", "24"}}, rows));
}

TEST(HqFigures, ComparisonTexts) {
    const struct {
        int64_t timed, shortCalls;
        const char *shown;
    } shares[] = {{0, 0, "N/A"},   {8, 1, "12.5%"},   {3, 1, "33.3%"},
                  {3, 2, "66.7%"}, {2000, 1, "0.1%"}, {4, 4, "100.0%"}};
    for (const auto &s : shares)
        EXPECT_EQ(ShortCallsPercent(s.timed, s.shortCalls), s.shown)
            << s.timed << " " << s.shortCalls;
    const struct {
        int32_t hour;
        const char *label;
    } hours[] = {{0, "12a"}, {1, "1a"},   {9, "9a"},  {12, "12p"},
                 {18, "6p"}, {23, "11p"}, {-1, "N/A"}};
    for (const auto &h : hours)
        EXPECT_EQ(HourLabel(h.hour), h.label) << h.hour;
}

TEST(HqSettingsCheck, ConnectionRules) {
    const struct {
        const char *name;
        HqSettingsText text;
        const char *error; // "" for accepted
        const char *footer;
    } cases[] = {
        {"missing",
         {"", "", false, false},
         "Connection is missing in section HQ of RingHQ.INI",
         ""},
        {"blank", {"  ", "", true, false}, "Connection is missing in section HQ of RingHQ.INI", ""},
        {"password",
         {"Driver={X};Uid=hq; pwd =s", "", true, false},
         "Connection in section HQ of RingHQ.INI must not hold a password",
         ""},
        {"password-like text in braces",
         {"Driver={a;PWD=b};Uid=hq", "", true, false},
         "",
         "Head office"},
        {"named", {"Driver={X};Uid=hq", " Chain HQ ", true, true}, "", "Chain HQ"},
    };
    for (const auto &c : cases) {
        HqSettings out;
        const std::string error = ParseHqSettings(c.text, out);
        EXPECT_EQ(error.substr(0, std::string(c.error).size()), c.error) << c.name;
        EXPECT_EQ(error.empty(), std::string(c.error).empty()) << c.name;
        if (error.empty()) {
            EXPECT_EQ(out.Name, c.footer) << c.name;
        }
    }
}

} // namespace
