// The head-office report flow over a database of canned answers: the range cancelled, a query
// that fails, an answer of the wrong shape, the pages' headings, rows and the SQL's literals.
#include "hq_reports.h"
#include "hq_figures.h"
#include "hq_queries.h"
#include "report_fakes.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

class CannedDatabase : public HqDatabase {
  public:
    std::vector<QueryRows> answers; // in the order the queries come
    size_t failAt = 0;              // 1-based query that fails; 0 for none
    std::vector<std::string> queries;

    bool Query(const std::string &sql, std::vector<std::vector<std::string>> &rows) override {
        queries.push_back(sql);
        if (queries.size() == failAt)
            return false;
        rows = queries.size() <= answers.size() ? answers[queries.size() - 1] : QueryRows{};
        return true;
    }
    std::string Error() const override { return "server closed the connection"; }
};

struct Bench {
    Bench() {
        job.footerName = "Chain HQ";
        job.clock = JournalledClock(journal, {{"12-08-2026", "14:03:09"}});
        engine.startResult = 7;
        prompts.range = Range("01-04-2004", "00:00:00", "01-17-2004", "23:59:59");
    }
    bool Has(const std::string &line) const {
        return std::find(journal.begin(), journal.end(), line) != journal.end();
    }
    Journal journal;
    RecordingEngine engine{journal};
    ScriptedPrompts prompts{journal};
    CannedDatabase db;
    HqJob job;
};

const QueryRows kTotals = {{"3", "2", "1", "0", "4", "3", "1", "5", "4", "1"}};

TEST(HqReports, RangeCancelledAsksNothingOfTheDatabase) {
    Bench bench;
    bench.prompts.answer = 0;
    RunHqStatistics(bench.job, bench.db, bench.engine, bench.prompts);
    RunSiteComparison(bench.job, bench.db, bench.engine, bench.prompts);
    EXPECT_TRUE(bench.db.queries.empty());
    EXPECT_EQ(bench.journal, (Journal{"ReportOptions(Select Range for Caller ID Report)",
                                      "ReportOptions(Select Range for Site Comparison)"}));
}

TEST(HqReports, FailedOrUnreadableAnswerStartsNoDocument) {
    const struct {
        const char *name;
        size_t failAt;
        std::vector<QueryRows> answers;
        const char *message;
    } cases[] = {
        {"second query fails",
         2,
         {kTotals},
         "Message(The head-office database could not be read: server closed the "
         "connection|RingHQ|error)"},
        {"totals of the wrong shape",
         0,
         {{{"3"}}},
         "Message(The head-office database gave an answer RingHQ cannot read: is its schema the "
         "one Ringsync /init makes?|RingHQ|error)"},
    };
    for (const auto &c : cases) {
        Bench bench;
        bench.db.failAt = c.failAt;
        bench.db.answers = c.answers;
        RunHqStatistics(bench.job, bench.db, bench.engine, bench.prompts);
        EXPECT_TRUE(bench.Has(c.message)) << c.name;
        EXPECT_TRUE(bench.engine.calls.empty()) << c.name;
    }
}

TEST(HqReports, StatisticsPageNamesTheSite) {
    const struct {
        const char *site, *title, *heading;
    } cases[] = {
        {"north-1", "Call Stats Report - 12-08-2026 - north-1",
         "Call Statistics from 04 Jan 2004 to 17 Jan 2004 - north-1"},
        // The engine's title is cut to 40 characters.
        {"", "Call Stats Report - 12-08-2026 - All sit",
         "Call Statistics from 04 Jan 2004 to 17 Jan 2004 - All sites"},
    };
    for (const auto &c : cases) {
        Bench bench;
        bench.job.site = c.site;
        bench.db.answers = {kTotals, {{"1", "", "1", "2", "1", "1", "5"}}, {}};
        RunHqStatistics(bench.job, bench.db, bench.engine, bench.prompts);
        EXPECT_TRUE(
            bench.Has(std::string("StartDoc(0, \"") + c.title + "\", \"\", 0, 1, 0, 7, 4169)"))
            << c.site;
        EXPECT_EQ(bench.engine.TextAt(4.25f, 0.56f), c.heading);
        EXPECT_EQ(bench.engine.TextAt(0.5f, 1.7f), "Total Calls For Period = 3");
        EXPECT_EQ(bench.engine.TextAt(0.5f, 10.2f), "Chain HQ");
        EXPECT_TRUE(bench.Has("EndDoc(7, 4)")) << c.site;
    }
}

TEST(HqReports, ComparisonRowsThenTheChain) {
    Bench bench;
    bench.db.answers = {{{"east-1"}, {"a-site-with-a-very-long-name"}},
                        {{"east-1", "1234", "2", "30", "1", "8", "1"}},
                        {{"D", "east-1", "01-05-2004"}, {"H", "east-1", "18"}, {"H", "", "18"}}};
    RunSiteComparison(bench.job, bench.db, bench.engine, bench.prompts);
    EXPECT_EQ(bench.engine.TextAt(4.25f, 0.56f), "Site Comparison From 04 Jan 2004 to 17 Jan 2004");
    EXPECT_EQ(bench.engine.TextAt(8.0f, 0.9f), "Short Calls %");
    EXPECT_EQ(bench.engine.TextAt(0.5f, 1.3f), "a-site-with-a-very-");
    EXPECT_EQ(bench.engine.TextAt(8.0f, 1.3f), "N/A");
    EXPECT_EQ(bench.engine.TextAt(0.5f, 1.5f), "east-1");
    EXPECT_EQ(bench.engine.TextAt(2.15f, 1.5f), "1,234");
    EXPECT_EQ(bench.engine.TextAt(4.85f, 1.5f), "01-05-2004");
    EXPECT_EQ(bench.engine.TextAt(5.85f, 1.5f), "6p");
    EXPECT_EQ(bench.engine.TextAt(8.0f, 1.5f), "12.5%");
    EXPECT_EQ(bench.engine.TextAt(0.5f, 1.7f), "All sites");
    EXPECT_EQ(bench.engine.TextAt(4.85f, 1.7f), "N/A");
    EXPECT_EQ(bench.engine.TextAt(5.85f, 1.7f), "6p");
}

TEST(HqQueries, LiteralsOfTheSelection) {
    CallSelection selection;
    selection.range = Range("01-04-2004", "08:30:00", "01-17-2004", "23:59:59", 0x7C);
    selection.site = "o'brien";
    const std::string sql = StatTotalsQuery(selection);
    for (const char *part :
         {"site = 'o''brien' AND", "(call_day, call_time) >= (DATE '2004-01-04', TIME '08:30:00')",
          "(call_day, call_time) <= (DATE '2004-01-17', TIME '23:59:59')",
          "(124 >> (extract(dow FROM call_day)::integer + 1)) & 1 = 1",
          "call_day IN (DATE '2004-01-04') AND",
          "call_day BETWEEN DATE '2004-01-05' AND DATE '2004-01-17' AND weekday IN (1,2,3,4,5)"})
        EXPECT_NE(sql.find(part), std::string::npos) << part;
    selection.site = "";
    EXPECT_EQ(StatCellsQuery(selection).find("site ="), std::string::npos);
    selection.range.endTime = 86400;
    EXPECT_NE(StatTopNumbersQuery(selection).find("TIME '24:00:00'"), std::string::npos);
    selection.range.endDate = 0;
    EXPECT_NE(StatTotalsQuery(selection).find("WHERE FALSE"), std::string::npos);
}

} // namespace
