// The statistics page over a designed set of records, checked figure by figure and cell by cell
// against values worked out by hand.
#include "call_stats.h"
#include "report_fakes.h"
#include "report_flow.h"

#include <gtest/gtest.h>

namespace {

struct StatsBench {
    StatsBench() {
        job.report = Report::Statistics;
        job.dataPath = "C:\\POS\\DATA\\";
        job.storeName = "Mario's";
        job.clock = JournalledClock(journal, {{"12-08-2026", "14:03:09"}});
        engine.startResult = 7;
        prompts.range = Range("01-04-2004", "00:00:00", "01-17-2004", "23:59:59");
    }
    void Run() { RunReport(job, engine, log, prompts); }

    Journal journal;
    RecordingEngine engine{journal};
    MemoryCallLog log{journal};
    ScriptedPrompts prompts{journal};
    ReportJob job;
};

// Mondays 01-05 and 01-12, Tuesday 01-06.
void AddDesignedCalls(MemoryCallLog &log) {
    const uint32_t start = LOG_STATUS_AT_START, error = LOG_STATUS_CID_ERROR;
    log.Add(LogRecord("01-05-2004", "03:00:00", 'I', "PRIVATE", start | error));
    log.Add(LogRecord("01-05-2004", "10:15:00", 'I', "5551234567", 0, 90, 3));
    log.Add(LogRecord("01-05-2004", "10:40:00", 'I', "5551234567", 0, 29, 1));
    log.Add(LogRecord("01-05-2004", "11:00:00", 'O', "5559876543", 0, 150));
    log.Add(LogRecord("01-06-2004", "23:30:00", 'I', "5550000001", error, 31, 5));
    log.Add(LogRecord("01-12-2004", "00:30:00", 'O', "5559876543", 0, 600));
    log.Add(LogRecord("01-12-2004", "10:05:00", 'I', "5551234567", 0, 30, 0));
    log.Add(LogRecord("01-12-2004", "10:50:00", 'I', "5552220000", start));
}

TEST(CallStatsReport, SummaryFigures) {
    StatsBench bench;
    AddDesignedCalls(bench.log);
    bench.Run();
    const Journal expected = {
        "Clock",
        "StartDoc(0, \"Call Stats Report - 12-08-2026\", \"\", 0, 1, 0, 7, 4169)",
        "kf 9(5,00000000 65940000)",
        "kf_Close(5)",
        "Rect(7, 0.5, 0.5, 8, 0.8, 1, FFFFFF, 0)",
        "Font(7, 0, 12, 000000, \"Times New Roman\")",
        "Text(7, 4.25, 0.56, 1, \"Call Statistics from 04 Jan 2004 to 17 Jan 2004\")",
        "Text(7, 0.5, 1.7, 0, \"Total Calls For Period = 8\")",
        "Text(7, 8, 1.7, 2, \"Rings Before Calls Answered = (Avg 1) (Hi 5) (Lo 0)\")",
        "Text(7, 0.5, 1.9, 0, \"Total Inbound Calls = 6\")",
        "Text(7, 0.5, 2.1, 0, \"Total Outbound Calls = 2\")",
        "Text(7, 8, 2.1, 2, \"Call Duration Minutes = (Avg 1) (Hi 10) (Lo 0)\")",
        "Text(7, 0.5, 2.4, 0, \"Number That Called most: 555-123-4567  (3 times)\")",
        "Text(7, 8, 2.4, 2, \"Number Dialed most: 555-987-6543  (2 times)\")",
        "Text(7, 0.5, 2.7, 0, \"Caller ID Errors for Period = 2\")",
        "Font(7, 0, 12, 000000, \"Times New Roman\")",
        "Text(7, 0.5, 3.4, 0, \"Table of Inbound Call # Averages:\")",
    };
    Journal got;
    for (const std::string &line : bench.journal)
        if (line.rfind("SetProgress", 0) != 0 && got.size() < expected.size() &&
            line.rfind("Exist", 0) != 0 && line.rfind("kf_Open", 0) != 0 &&
            line.rfind("kf_Count", 0) != 0 && line.rfind("ReportOptions", 0) != 0)
            got.push_back(line);
    EXPECT_EQ(got, expected);
    // The footer carries the store name alone, no page number.
    const Journal tail(bench.journal.end() - 4, bench.journal.end());
    EXPECT_EQ(
        tail,
        (Journal{"Font(7, 0, 8, 000000, \"Times New Roman\")", "Text(7, 0.5, 10.2, 0, \"Mario's\")",
                 "Text(7, 8, 10.2, 2, \"Printed on 12-08-2026 at 14:03:09\")", "EndDoc(7, 4)"}));
}

// Column offsets of the slots, Overall last.
const struct {
    int slot;
    float offset;
} kSlotX[] = {{10, 0.6f}, {11, 1.0f}, {12, 1.4f}, {13, 1.8f}, {14, 2.2f}, {15, 2.6f},
              {16, 3.0f}, {17, 3.4f}, {18, 3.8f}, {19, 4.2f}, {20, 4.6f}, {21, 5.0f},
              {22, 5.4f}, {23, 5.8f}, {0, 6.2f},  {1, 6.6f},  {4, 7.16f}};

TEST(CallStatsReport, TablesCellByCell) {
    StatsBench bench;
    AddDesignedCalls(bench.log);
    bench.Run();
    // Non-zero cells of each table: {table y0, weekday, slot, value}. Hours 02 to 09 count only
    // in Overall; counter A counts every call's date, B and C only answered ones.
    const struct {
        float y0;
        int weekday, slot;
        const char *value;
    } nonZero[] = {
        {3.7f, 1, 10, "2"}, {3.7f, 1, 4, "2"},  {3.7f, 2, 23, "1"}, {3.7f, 2, 4, "1"},
        {6.0f, 1, 11, "1"}, {6.0f, 1, 0, "1"},  {6.0f, 1, 4, "1"},  {8.3f, 1, 10, "1"},
        {8.3f, 1, 11, "2"}, {8.3f, 1, 0, "10"}, {8.3f, 1, 4, "7"},  {8.3f, 2, 23, "1"},
        {8.3f, 2, 4, "1"},
    };
    for (float y0 : {3.7f, 6.0f, 8.3f})
        for (int day = 0; day < 7; ++day)
            for (const auto &column : kSlotX) {
                std::string wanted = "0";
                for (const auto &cell : nonZero)
                    if (cell.y0 == y0 && cell.weekday == day && cell.slot == column.slot)
                        wanted = cell.value;
                EXPECT_EQ(bench.engine.TextAt(0.5f + column.offset, y0 + 0.2f * (day + 1)), wanted)
                    << "table " << y0 << " day " << day << " slot " << column.slot;
            }
}

TEST(CallStatsReport, GridFrameAndLabels) {
    Journal journal;
    RecordingEngine engine(journal);
    PrintStatGrid(engine, 7, 0.5f, 3.7f);
    ASSERT_GE(engine.calls.size(), 2u);
    EXPECT_EQ(engine.calls[0].op, "Rect");
    EXPECT_EQ(engine.calls[0].floats, (std::vector<float>{0.5f, 3.7f, 8.0f, 3.7f + 1.6f}));
    EXPECT_EQ(engine.TextAt(0.55f, 3.9f), "Sun");
    EXPECT_EQ(engine.TextAt(0.55f, 5.1f), "Sat");
    EXPECT_EQ(engine.TextAt(1.1f, 3.7f), "10a");
    EXPECT_EQ(engine.TextAt(7.66f, 3.7f), "Overall");
    size_t lines = 0, verticals = 0;
    for (const EngineCall &call : engine.calls)
        if (call.op == "Line") {
            ++lines;
            if (call.floats[0] == call.floats[2] && std::abs(call.floats[3] - 5.3f) < 0.001f)
                ++verticals;
        }
    EXPECT_EQ(lines, 7u + 1u + 1u + 16u);
    EXPECT_EQ(verticals, 17u);
}

TEST(CallStatsReport, NotApplicableFigures) {
    StatsBench bench;
    bench.log.Add(LogRecord("01-05-2004", "10:15:00", 'I', "PRIVATE", 0, 30, 0));
    bench.log.Add(LogRecord("01-05-2004", "10:16:00", 'I', "OUT-OF-AREA", 0, 29, 0));
    bench.log.Add(LogRecord("01-05-2004", "10:17:00", 'I', "5551234567", LOG_STATUS_AT_START));
    bench.Run();
    EXPECT_EQ(bench.engine.TextAt(8.0f, 1.7f), "Rings Before Calls Answered = N/A");
    EXPECT_EQ(bench.engine.TextAt(8.0f, 2.1f), "Call Duration Minutes = N/A");
    EXPECT_EQ(bench.engine.TextAt(0.5f, 2.4f), "Number That Called most: 555-123-4567  (1 times)");
    EXPECT_EQ(bench.engine.TextAt(8.0f, 2.4f), "Number Dialed most: N/A");

    StatsBench withheld;
    withheld.log.Add(LogRecord("01-05-2004", "10:15:00", 'I', "PRIVATE", 0, 60, 2));
    withheld.log.Add(LogRecord("01-05-2004", "10:16:00", 'I', "OUT-OF-AREA", 0, 60, 2));
    withheld.Run();
    EXPECT_EQ(withheld.engine.TextAt(0.5f, 2.4f), "Number That Called most: N/A");
}

// Thousands separators on the counts only: averages, extremes, "(N times)" and cells plain.
TEST(CallStatsReport, ThousandsOnCountsOnly) {
    StatsBench bench;
    for (int i = 0; i < 1200; ++i)
        bench.log.Add(LogRecord("01-05-2004", "12:00:00", 'O', "5559876543", 0, 60));
    bench.Run();
    EXPECT_EQ(bench.engine.TextAt(0.5f, 1.7f), "Total Calls For Period = 1,200");
    EXPECT_EQ(bench.engine.TextAt(0.5f, 2.1f), "Total Outbound Calls = 1,200");
    EXPECT_EQ(bench.engine.TextAt(8.0f, 2.4f), "Number Dialed most: 555-987-6543  (1200 times)");
    EXPECT_EQ(bench.engine.TextAt(8.0f, 2.1f), "Call Duration Minutes = (Avg 1) (Hi 1) (Lo 1)");
    EXPECT_EQ(bench.engine.TextAt(0.5f + 1.4f, 6.0f + 0.4f), "1200");
    EXPECT_EQ(bench.engine.TextAt(0.5f + 1.4f, 8.3f + 0.4f), "1200");
}

TEST(CallStatsReport, AbortShowsPartialFigures) {
    StatsBench bench;
    bench.engine.abortAtCheck = 3;
    AddDesignedCalls(bench.log);
    bench.Run();
    EXPECT_EQ(bench.engine.TextAt(0.5f, 1.7f), "Total Calls For Period = 2");
    EXPECT_EQ(bench.journal.back(), "EndDoc(7, 6)");
}

// A duration is what the unit sent: a hundred calls of 2^31 - 1 seconds overflow 32-bit sums.
TEST(CallStatsReport, AbsurdDurationsAddUp) {
    StatsBench bench;
    for (int i = 0; i < 100; ++i)
        bench.log.Add(LogRecord("01-05-2004", "12:00:00", 'O', "5559876543", 0, INT32_MAX));
    bench.Run();
    EXPECT_EQ(bench.engine.TextAt(8.0f, 2.1f),
              "Call Duration Minutes = (Avg 35791394) (Hi 35791394) (Lo 99999)");
    EXPECT_EQ(bench.engine.TextAt(0.5f + 1.4f, 8.3f + 0.4f), "3579139400");
    EXPECT_EQ(bench.engine.TextAt(0.5f + 7.16f, 8.3f + 0.4f), "3579139400");
}

} // namespace
