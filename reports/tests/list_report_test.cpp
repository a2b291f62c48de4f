// The report flow over a call log in memory: its messages and failures, the list page frame,
// rows, page breaks, the range, weekday mask, progress and abort. Expected calls are written out
// from the reports' layout tables.
#include "report_fakes.h"
#include "report_flow.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

const char kLogPath[] = "C:\\POS\\DATA\\QuorlLog.OV5";

struct Bench {
    explicit Bench(Report report) {
        job.report = report;
        job.dataPath = "C:\\POS\\DATA\\";
        job.storeName = "Mario's";
        job.clock = JournalledClock(journal, {{"12-08-2026", "14:03:09"}});
        engine.startResult = 7;
        prompts.range = Range("01-05-2004", "08:30:00", "01-07-2004", "23:59:59");
    }
    void Run() { RunReport(job, engine, log, prompts); }
    // The journal from the first entry starting with `from` on, `count` entries.
    Journal Slice(const std::string &from, size_t count) const {
        auto at = std::find_if(journal.begin(), journal.end(),
                               [&](const std::string &line) { return line.rfind(from, 0) == 0; });
        const size_t rest = static_cast<size_t>(journal.end() - at);
        return Journal(at, at + std::min(count, rest));
    }
    size_t CountOf(const std::string &prefix) const {
        return std::count_if(journal.begin(), journal.end(),
                             [&](const std::string &line) { return line.rfind(prefix, 0) == 0; });
    }
    // The y of every row, read from the grey rule that ends it.
    std::vector<std::string> RuleLines() const {
        std::vector<std::string> rules;
        for (const std::string &line : journal)
            if (line.find("969696") != std::string::npos)
                rules.push_back(line);
        return rules;
    }

    Journal journal;
    RecordingEngine engine{journal};
    MemoryCallLog log{journal};
    ScriptedPrompts prompts{journal};
    ReportJob job;
};

Journal Frame(const std::string &title, const Journal &headings) {
    Journal frame = {
        "Rect(7, 0.5, 0.5, 8, 0.8, 1, FFFFFF, 0)", "Font(7, 0, 12, 000000, \"Times New Roman\")",
        "Text(7, 4.25, 0.56, 1, \"" + title + "\")", "Font(7, 0, 10, FF0000, \"Courier New\")"};
    frame.insert(frame.end(), headings.begin(), headings.end());
    frame.insert(frame.end(), {"Line(7, 0.5, 1.1, 8, 1.1, 1, 000000)",
                               "Font(7, 0, 8, 000000, \"Times New Roman\")",
                               "SpecialText(7, 0.5, 10.2, 0, \"Mario's  Page ##pageno## of "
                               "##pagecount##\")",
                               "Text(7, 8, 10.2, 2, \"Printed on 12-08-2026 at 14:03:09\")"});
    return frame;
}

const Journal kInboundHeadings = {
    "Text(7, 0.5, 0.9, 0, \"Date\")",   "Text(7, 1.5, 0.9, 0, \"Time\")",
    "Text(7, 2.2, 0.9, 0, \"Number\")", "Text(7, 3.7, 0.9, 0, \"Name\")",
    "Text(7, 6, 0.9, 0, \"Secs\")",     "Text(7, 6.5, 0.9, 0, \"Line\")",
    "Text(7, 7, 0.9, 0, \"Rings\")",    "Text(7, 8, 0.9, 2, \"Error\")"};
const Journal kOutboundHeadings = {
    "Text(7, 0.5, 0.9, 0, \"Date\")",   "Text(7, 1.5, 0.9, 0, \"Time\")",
    "Text(7, 2.2, 0.9, 0, \"Number\")", "Text(7, 3.7, 0.9, 0, \"Extra Digits Dialed\")",
    "Text(7, 7, 0.9, 0, \"Secs\")",     "Text(7, 8, 0.9, 2, \"Line\")"};
const Journal kByNumberHeadings = {
    "Text(7, 0.5, 0.9, 0, \"Date\")",   "Text(7, 1.5, 0.9, 0, \"Time\")",
    "Text(7, 2.2, 0.9, 0, \"Number\")", "Text(7, 3.7, 0.9, 0, \"Name\")",
    "Text(7, 6, 0.9, 0, \"Secs\")",     "Text(7, 6.5, 0.9, 0, \"Line\")",
    "Text(7, 7, 0.9, 0, \"Rings\")",    "Text(7, 8, 0.9, 2, \"In/Out\")"};

Journal Concat(std::initializer_list<Journal> parts) {
    Journal all;
    for (const Journal &part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

TEST(ReportFlow, FailuresBeforeTheDocument) {
    const std::string open = std::string("kf_Open(") + kLogPath + ")";
    const std::string exist = std::string("Exist(") + kLogPath + ")";
    const std::string ask = "ReportOptions(Select Range for Caller ID Report)";
    const std::string start =
        "StartDoc(0, \"Inbound Call Log Report - 12-08-2026\", \"\", 0, 1, 0, 7, 4169)";
    const struct {
        const char *name;
        void (*arrange)(Bench &);
        Journal expected;
    } cases[] = {
        {"no log",
         [](Bench &b) { b.log.exists = false; },
         {exist, "Message(No Data|Nothing To Do|none)"}},
        {"open fails",
         [](Bench &b) { b.log.openResult = -15; },
         {exist, open, "Message(Error Opening Data File!|Keyfile Error 15|error)"}},
        {"open gives 0",
         [](Bench &b) { b.log.openResult = 0; },
         {exist, open, "Message(Error Opening Data File!|Keyfile Error 0|error)"}},
        {"no records",
         [](Bench &) {},
         {exist, open, "kf_Count(5)", "Message(No Records in Data File!|Nothing To Do|none)",
          "kf_Close(5)"}},
        {"count fails",
         [](Bench &b) { b.log.countOverride = -2; },
         {exist, open, "kf_Count(5)", "Message(Error Opening Data File!|Keyfile Error 2|error)",
          "kf_Close(5)"}},
        {"range cancelled",
         [](Bench &b) {
             b.log.Add(LogRecord("01-05-2004", "10:00:00", 'I', "5551234567"));
             b.prompts.answer = 0;
         },
         {exist, open, "kf_Count(5)", ask, "kf_Close(5)"}},
        {"engine fails with 0",
         [](Bench &b) {
             b.log.Add(LogRecord("01-05-2004", "10:00:00", 'I', "5551234567"));
             b.engine.startResult = 0;
         },
         {exist, open, "kf_Count(5)", ask, "Clock", start, "Message(Error: 0|Print Engine|error)",
          "kf_Close(5)"}},
        {"engine fails negative",
         [](Bench &b) {
             b.log.Add(LogRecord("01-05-2004", "10:00:00", 'I', "5551234567"));
             b.engine.startResult = -3;
         },
         {exist, open, "kf_Count(5)", ask, "Clock", start, "Message(Error:-3|Print Engine|error)",
          "kf_Close(5)"}},
    };
    for (const auto &c : cases) {
        Bench bench(Report::Inbound);
        c.arrange(bench);
        bench.Run();
        EXPECT_EQ(bench.journal, c.expected) << c.name;
    }
}

TEST(InboundReport, WholeDocument) {
    Bench bench(Report::Inbound);
    bench.log.Add(
        LogRecord("01-05-2004", "10:15:00", 'I', "5551234567", 0, 95, 3, 2, "JONES MARY"));
    bench.log.Add(LogRecord("01-05-2004", "11:00:00", 'O', "5559876543", 0, 30, 0, 1));
    bench.log.Add(LogRecord("01-06-2004", "12:05:00", 'I', "PRIVATE",
                            LOG_STATUS_AT_START | LOG_STATUS_CID_ERROR, 0, 0, 12));
    bench.Run();
    const Journal expected =
        Concat({{std::string("Exist(") + kLogPath + ")", std::string("kf_Open(") + kLogPath + ")",
                 "kf_Count(5)", "ReportOptions(Select Range for Caller ID Report)", "Clock",
                 "StartDoc(0, \"Inbound Call Log Report - 12-08-2026\", \"\", 0, 1, 0, 7, 4169)"},
                Frame("Inbound Call Log From 05 Jan 2004 to 07 Jan 2004", kInboundHeadings),
                {"kf 9(5,88770000 66940000)",
                 "SetProgress(7, 33)",
                 "Font(7, 0, 10, 000000, \"Courier New\")",
                 "Text(7, 0.5, 1.3, 0, \"01-05-2004\")",
                 "Text(7, 1.5, 1.3, 0, \"10:15 AM\")",
                 "Text(7, 2.2, 1.3, 0, \"555-123-4567\")",
                 "Text(7, 3.7, 1.3, 0, \"JONES MARY\")",
                 "Text(7, 6.35, 1.3, 2, \"95\")",
                 "Text(7, 6.7, 1.3, 1, \"02\")",
                 "Text(7, 7.2, 1.3, 1, \"03\")",
                 "Text(7, 7.75, 1.3, 1, \"NO\")",
                 "Line(7, 0.5, 1.46, 8, 1.46, 1, 969696)",
                 "SetProgress(7, 66)",
                 "SetProgress(7, 100)",
                 "Font(7, 0, 10, 000000, \"Courier New\")",
                 "Text(7, 0.5, 1.5, 0, \"01-06-2004\")",
                 "Text(7, 1.5, 1.5, 0, \"12:05 PM\")",
                 "Text(7, 2.2, 1.5, 0, \"PRIVATE\")",
                 "Text(7, 3.7, 1.5, 0, \"\")",
                 "Text(7, 6.35, 1.5, 2, \"N/A\")",
                 "Text(7, 6.7, 1.5, 1, \"12\")",
                 "Text(7, 7.2, 1.5, 1, \"N/A\")",
                 "Text(7, 7.75, 1.5, 1, \"YES\")",
                 "Line(7, 0.5, 1.66, 8, 1.66, 1, 969696)",
                 "kf_Close(5)",
                 "EndDoc(7, 4)"}});
    EXPECT_EQ(bench.journal, expected);
}

TEST(OutboundReport, HeadingAndRows) {
    Bench bench(Report::Outbound);
    bench.log.Add(LogRecord("01-05-2004", "10:15:00", 'I', "5551234567", 0, 95, 3, 2));
    bench.log.Add(LogRecord("01-05-2004", "11:00:00", 'O', "15559876543", 0, 0, 0, 1, "", "*72#"));
    bench.log.Add(LogRecord("01-05-2004", "11:30:00", 'O', "411", LOG_STATUS_AT_START, 0, 0, 3));
    bench.Run();
    EXPECT_EQ(bench.Slice("StartDoc", 1),
              Journal{"StartDoc(0, \"Outbound Call Log Report - 12-08-2026\", \"\", 0, 1, 0, 7, "
                      "4169)"});
    EXPECT_EQ(bench.Slice("Rect", 14),
              Frame("Outbound Call Log From 05 Jan 2004 to 07 Jan 2004", kOutboundHeadings));
    EXPECT_EQ(bench.Slice("Text(7, 0.5, 1.3", 6),
              (Journal{"Text(7, 0.5, 1.3, 0, \"01-05-2004\")", "Text(7, 1.5, 1.3, 0, \"11:00 AM\")",
                       "Text(7, 2.2, 1.3, 0, \"555-987-6543\")", "Text(7, 3.7, 1.3, 0, \"*72#\")",
                       "Text(7, 7.35, 1.3, 2, \"0\")", "Text(7, 7.8, 1.3, 1, \"01\")"}));
    EXPECT_EQ(bench.Slice("Text(7, 0.5, 1.5", 6),
              (Journal{"Text(7, 0.5, 1.5, 0, \"01-05-2004\")", "Text(7, 1.5, 1.5, 0, \"11:30 AM\")",
                       "Text(7, 2.2, 1.5, 0, \"411\")", "Text(7, 3.7, 1.5, 0, \"\")",
                       "Text(7, 7.35, 1.5, 2, \"N/A\")", "Text(7, 7.8, 1.5, 1, \"03\")"}));
    EXPECT_EQ(bench.RuleLines().size(), 2u);
}

TEST(OutboundReport, OnlyInboundCallsGiveTheHeadingAlone) {
    Bench bench(Report::Outbound);
    for (int i = 0; i < 5; ++i)
        bench.log.Add(LogRecord("01-05-2004", "10:1" + std::to_string(i) + ":00", 'I', "5551"));
    bench.Run();
    EXPECT_EQ(bench.CountOf("Rect"), 1u);
    EXPECT_EQ(bench.CountOf("Font(7, 0, 10, 000000"), 0u);
    EXPECT_EQ(bench.CountOf("SetProgress"), 5u);
    EXPECT_EQ(bench.journal.back(), "EndDoc(7, 4)");
}

TEST(CallsByNumber, TitlesHeadingAndRows) {
    Bench bench(Report::ByNumber);
    bench.job.wantedNumber = "(555) 123-4567      ";
    bench.log.Add(LogRecord("01-05-2004", "10:15:00", 'I', "5551234567", 0, 95, 3, 2, "JONES"));
    bench.log.Add(LogRecord("01-05-2004", "10:20:00", 'I', "5550000000", 0, 95, 3, 2));
    bench.log.Add(LogRecord("01-05-2004", "11:00:00", 'O', "15551234567", 0, 40, 0, 1));
    bench.Run();
    EXPECT_EQ(bench.Slice("ReportOptions", 3),
              (Journal{"ReportOptions(Select Range for Report on 555-123-4567)", "Clock",
                       "StartDoc(0, \"Call Log Report on 555-123-4567 - 12-08-\", \"\", 0, 1, 0, "
                       "7, 4169)"}));
    EXPECT_EQ(bench.Slice("Rect", 16),
              Frame("Calls By Number 05 Jan 2004 to 07 Jan 2004", kByNumberHeadings));
    EXPECT_EQ(bench.Slice("Text(7, 3.7, 1.3", 5),
              (Journal{"Text(7, 3.7, 1.3, 0, \"JONES\")", "Text(7, 6.35, 1.3, 2, \"95\")",
                       "Text(7, 6.7, 1.3, 1, \"02\")", "Text(7, 7.2, 1.3, 1, \"03\")",
                       "Text(7, 7.75, 1.3, 1, \"In\")"}));
    EXPECT_EQ(bench.Slice("Text(7, 2.2, 1.5", 6),
              (Journal{"Text(7, 2.2, 1.5, 0, \"555-123-4567\")", "Text(7, 3.7, 1.5, 0, \"\")",
                       "Text(7, 6.35, 1.5, 2, \"40\")", "Text(7, 6.7, 1.5, 1, \"01\")",
                       "Text(7, 7.2, 1.5, 1, \"N/A\")", "Text(7, 7.75, 1.5, 1, \"Out\")"}));
    EXPECT_EQ(bench.RuleLines().size(), 2u);
}

// 44 rows fill a page from y 1.3 to 9.9; the row after them opens a page with the same heading.
TEST(ListPages, FortyFourRowsAPage) {
    for (Report report : {Report::Inbound, Report::ByNumber}) {
        Bench bench(report);
        bench.job.wantedNumber = "5551234567          ";
        for (int i = 0; i < 45; ++i)
            bench.log.Add(LogRecord("01-05-2004", "10:00:00", 'I', "5551234567"));
        bench.Run();
        const std::vector<std::string> rules = bench.RuleLines();
        ASSERT_EQ(rules.size(), 45u);
        EXPECT_EQ(rules[0], "Line(7, 0.5, 1.46, 8, 1.46, 1, 969696)");
        EXPECT_EQ(rules[43], "Line(7, 0.5, 10.06, 8, 10.06, 1, 969696)");
        EXPECT_EQ(rules[44], "Line(7, 0.5, 1.46, 8, 1.46, 1, 969696)");
        EXPECT_EQ(bench.CountOf("NewPage"), 1u);
        const Journal page2 = bench.Slice("NewPage", 17);
        EXPECT_EQ(page2[0], "NewPage(7, 1, 0, 7)");
        EXPECT_EQ(Journal(page2.begin() + 1, page2.end()),
                  report == Report::Inbound
                      ? Frame("Inbound Call Log From 05 Jan 2004 to 07 Jan 2004", kInboundHeadings)
                      : Frame("Calls By Number 05 Jan 2004 to 07 Jan 2004", kByNumberHeadings));
    }
}

// A page is broken only when another row comes: a list of whole pages ends on its last row.
TEST(ListPages, BrokenOnlyForAnotherRow) {
    const struct {
        int rows;
        size_t newPages;
    } cases[] = {{44, 0}, {45, 1}, {88, 1}, {89, 2}};
    for (const auto &c : cases) {
        Bench bench(Report::Inbound);
        for (int i = 0; i < c.rows; ++i)
            bench.log.Add(LogRecord("01-05-2004", "10:00:00", 'I', "5551234567"));
        bench.Run();
        EXPECT_EQ(bench.CountOf("NewPage"), c.newPages) << c.rows << " rows";
        EXPECT_EQ(bench.CountOf("Rect"), c.newPages + 1) << c.rows << " rows";
        EXPECT_EQ(bench.RuleLines().size(), static_cast<size_t>(c.rows)) << c.rows << " rows";
    }
}

// Read once the range is chosen: a report that runs past midnight keeps one date and time in
// its title and on every page.
TEST(ListPages, OneMomentForTitleAndEveryPage) {
    Bench bench(Report::Inbound);
    bench.job.clock =
        JournalledClock(bench.journal, {{"12-08-2026", "23:59:59"}, {"12-09-2026", "00:00:00"}});
    for (int i = 0; i < 45; ++i)
        bench.log.Add(LogRecord("01-05-2004", "10:00:00", 'I', "5551234567"));
    bench.Run();
    EXPECT_EQ(bench.Slice("ReportOptions", 3),
              (Journal{"ReportOptions(Select Range for Caller ID Report)", "Clock",
                       "StartDoc(0, \"Inbound Call Log Report - 12-08-2026\", \"\", 0, 1, 0, 7, "
                       "4169)"}));
    EXPECT_EQ(bench.CountOf("Clock"), 1u);
    EXPECT_EQ(bench.CountOf("Text(7, 8, 10.2, 2, \"Printed on 12-08-2026 at 23:59:59\")"), 2u);
}

TEST(ListPages, HeadingPageWhenNothingIsSelected) {
    const struct {
        const char *name;
        ReportRange range;
    } cases[] = {
        {"start after the last record", Range("02-01-2004", "00:00:00", "02-05-2004", "23:59:59")},
        {"start after the end", Range("01-07-2004", "00:00:00", "01-05-2004", "23:59:59")},
        {"no weekday", Range("01-05-2004", "00:00:00", "01-07-2004", "23:59:59", 0)},
    };
    for (const auto &c : cases) {
        Bench bench(Report::Inbound);
        for (int i = 0; i < 4; ++i)
            bench.log.Add(
                LogRecord("01-0" + std::to_string(4 + i) + "-2004", "10:00:00", 'I', "5551234567"));
        bench.prompts.range = c.range;
        bench.Run();
        EXPECT_EQ(bench.CountOf("Rect"), 1u) << c.name;
        EXPECT_EQ(bench.RuleLines().size(), 0u) << c.name;
        EXPECT_EQ(bench.journal.back(), "EndDoc(7, 4)") << c.name;
    }
}

TEST(ListScan, WeekdayMaskStillAdvancesProgress) {
    Bench bench(Report::Inbound);
    for (int i = 0; i < 4; ++i)
        bench.log.Add(LogRecord("01-0" + std::to_string(4 + i) + "-2004", "10:00:00", 'I', "5"));
    bench.prompts.range = Range("01-04-2004", "00:00:00", "01-07-2004", "23:59:59", 0);
    bench.Run();
    EXPECT_EQ(bench.CountOf("SetProgress"), 4u);
    EXPECT_EQ(bench.Slice("SetProgress(7, 100)", 1).size(), 1u);
}

// 01-04-2004 is a Sunday: bit 1 Sunday .. bit 7 Saturday.
TEST(ListScan, WeekdayMaskPicksDays) {
    Bench bench(Report::Inbound);
    for (int i = 0; i < 7; ++i)
        bench.log.Add(
            LogRecord("01-" + std::string(i + 4 < 10 ? "0" : "") + std::to_string(4 + i) + "-2004",
                      "10:00:00", 'I', "5"));
    bench.prompts.range =
        Range("01-04-2004", "00:00:00", "01-10-2004", "23:59:59", (1 << 1) | (1 << 4) | (1 << 7));
    bench.Run();
    EXPECT_EQ(bench.Slice("Text(7, 0.5, 1.3", 1)[0], "Text(7, 0.5, 1.3, 0, \"01-04-2004\")");
    EXPECT_EQ(bench.Slice("Text(7, 0.5, 1.5", 1)[0], "Text(7, 0.5, 1.5, 0, \"01-07-2004\")");
    EXPECT_EQ(bench.Slice("Text(7, 0.5, 1.7", 1)[0], "Text(7, 0.5, 1.7, 0, \"01-10-2004\")");
    EXPECT_EQ(bench.RuleLines().size(), 3u);
}

TEST(ListScan, RangeEndsAreInclusiveToTheSecond) {
    Bench bench(Report::Inbound);
    bench.log.Add(LogRecord("01-05-2004", "08:29:59", 'I', "1"));
    bench.log.Add(LogRecord("01-05-2004", "08:30:00", 'I', "2"));
    bench.log.Add(LogRecord("01-07-2004", "17:00:00", 'I', "3"));
    bench.log.Add(LogRecord("01-07-2004", "17:00:01", 'I', "4"));
    bench.log.Add(LogRecord("01-08-2004", "01:00:00", 'I', "5"));
    bench.prompts.range = Range("01-05-2004", "08:30:00", "01-07-2004", "17:00:00");
    bench.Run();
    EXPECT_EQ(bench.Slice("kf 9", 1)[0], "kf 9(5,88770000 66940000)");
    EXPECT_EQ(bench.Slice("Text(7, 2.2, 1.3", 1)[0], "Text(7, 2.2, 1.3, 0, \"2\")");
    EXPECT_EQ(bench.Slice("Text(7, 2.2, 1.5", 1)[0], "Text(7, 2.2, 1.5, 0, \"3\")");
    EXPECT_EQ(bench.RuleLines().size(), 2u);
    // The record one second late ends the scan: nothing after it is read.
    EXPECT_EQ(bench.log.reads, 3);
}

// 100 x read / all records, sent when it changes; the first value sent is never 0.
TEST(ListScan, PercentageOfAllRecords) {
    Bench bench(Report::Inbound);
    for (int i = 0; i < 300; ++i)
        bench.log.Add(LogRecord(i < 150 ? "01-04-2004" : "01-05-2004", "10:00:00", 'I', "5"));
    bench.prompts.range = Range("01-05-2004", "00:00:00", "01-05-2004", "23:59:59");
    bench.Run();
    EXPECT_EQ(bench.CountOf("SetProgress"), 50u);
    EXPECT_EQ(bench.Slice("SetProgress", 2),
              (Journal{"SetProgress(7, 1)", "Font(7, 0, 10, 000000, \"Courier New\")"}));
    EXPECT_EQ(bench.Slice("SetProgress(7, 50)", 1).size(), 1u);
    EXPECT_EQ(bench.Slice("SetProgress(7, 51)", 1).size(), 0u);
}

// Range, then counting, then the abort check, then the report's filter: a stop keeps the page
// composed so far and the log is closed before the document ends.
TEST(ListScan, AbortEndsWithPartialPage) {
    Bench bench(Report::Inbound);
    bench.engine.journalAbortChecks = true;
    bench.engine.abortAtCheck = 3;
    bench.log.Add(LogRecord("01-05-2004", "10:00:00", 'I', "1"));
    bench.log.Add(LogRecord("01-05-2004", "10:01:00", 'O', "2"));
    bench.log.Add(LogRecord("01-05-2004", "10:02:00", 'I', "3"));
    bench.log.Add(LogRecord("01-05-2004", "10:03:00", 'I', "4"));
    bench.Run();
    EXPECT_EQ(bench.RuleLines().size(), 1u);
    EXPECT_EQ(bench.Slice("SetProgress(7, 50)", 2),
              (Journal{"SetProgress(7, 50)", "CheckAbort(7)"}));
    EXPECT_EQ(bench.Slice("SetProgress(7, 75)", 4),
              (Journal{"SetProgress(7, 75)", "CheckAbort(7)", "kf_Close(5)", "EndDoc(7, 6)"}));
}

// A read that fails mid-scan says so and stops the document with what was composed; the two
// end statuses end it as a whole one.
TEST(ListScan, ReadFailureStopsTheDocument) {
    const struct {
        const char *name;
        Report report;
        int32_t status;
        Journal tail;
    } cases[] = {
        {"I/O error",
         Report::Inbound,
         2,
         {"kf_Close(5)", "Message(Error Reading Data File!|Keyfile Error 2|error)",
          "EndDoc(7, 6)"}},
        {"busy beyond the wait",
         Report::Outbound,
         18,
         {"kf_Close(5)", "Message(Error Reading Data File!|Keyfile Error 18|error)",
          "EndDoc(7, 6)"}},
        {"negative status",
         Report::Statistics,
         -3,
         {"Text(7, 8, 10.2, 2, \"Printed on 12-08-2026 at 14:03:09\")",
          "Message(Error Reading Data File!|Keyfile Error 3|error)", "EndDoc(7, 6)"}},
        {"end of file", Report::Inbound, 8, {"SetProgress(7, 50)", "kf_Close(5)", "EndDoc(7, 4)"}},
        {"no more records",
         Report::Inbound,
         9,
         {"SetProgress(7, 50)", "kf_Close(5)", "EndDoc(7, 4)"}},
    };
    for (const auto &c : cases) {
        Bench bench(c.report);
        for (int i = 0; i < 4; ++i) {
            const std::string time = "10:0" + std::to_string(i) + ":00";
            bench.log.Add(LogRecord("01-05-2004", time, 'I', "5551234567"));
            bench.log.Add(LogRecord("01-05-2004", time, 'O', "5559876543"));
        }
        bench.log.failAtRead = 5;
        bench.log.failStatus = c.status;
        bench.Run();
        ASSERT_GE(bench.journal.size(), c.tail.size()) << c.name;
        EXPECT_EQ(Journal(bench.journal.end() - c.tail.size(), bench.journal.end()), c.tail)
            << c.name;
        if (c.report != Report::Statistics)
            EXPECT_EQ(bench.RuleLines().size(), 2u) << c.name;
        else
            EXPECT_EQ(bench.engine.TextAt(0.5f, 1.7f), "Total Calls For Period = 4") << c.name;
    }
}

TEST(ReportFlow, UnwrittenDocumentIsReported) {
    Bench bench(Report::Inbound);
    bench.log.Add(LogRecord("01-05-2004", "10:00:00", 'I', "5551234567"));
    bench.engine.endResult = -6;
    bench.Run();
    EXPECT_EQ(bench.Slice("EndDoc", 2),
              (Journal{"EndDoc(7, 4)", "Message(Error Writing PDF File!|Report|error)"}));
}

} // namespace
