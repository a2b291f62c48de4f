// The callback rule over designed logs, its page, and the call log's CSV rows.
#include "call_log_csv.h"
#include "callback_list.h"
#include "report_fakes.h"
#include "report_flow.h"
#include "report_text.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// "number:attempts" of every row, newest first.
std::vector<std::string> Callbacks(const std::vector<CallLogRecord> &log, int32_t mask = kAllDays) {
    CallbackTally tally(20, mask);
    for (const CallLogRecord &rec : log)
        tally.Add(rec, WeekdayOf(rec.Day));
    std::vector<std::string> rows;
    for (const CallbackRow &row : tally.Rows())
        rows.push_back(DigitsOnly(std::string(row.last.Number, sizeof row.last.Number)) + ":" +
                       std::to_string(row.attempts));
    return rows;
}

CallLogRecord In(const char *time, const char *number, int32_t secs, uint32_t status = 0) {
    return LogRecord("01-05-2004", time, 'I', number, status, secs);
}
CallLogRecord Out(const char *time, const char *number) {
    return LogRecord("01-05-2004", time, 'O', number, 0, 60);
}

TEST(CallbackRule, DesignedLogs) {
    const struct {
        const char *name;
        std::vector<CallLogRecord> log;
        std::vector<std::string> rows;
    } cases[] = {
        {"short call then a callback",
         {In("10:00:00", "5551110000", 5), Out("10:05:00", "5551110000")},
         {}},
        {"short call then a long call from it",
         {In("10:00:00", "5551110000", 5), In("10:05:00", "5551110000", 21)},
         {}},
        {"two short calls then nothing",
         {In("10:00:00", "5551110000", 5), In("10:01:00", "5551110000", 20)},
         {"5551110000:2"}},
        {"a short call after the last callback",
         {In("10:00:00", "5551110000", 5), Out("10:05:00", "5551110000"),
          In("11:00:00", "5551110000", 3)},
         {"5551110000:1"}},
        {"a callback dialled with a leading 1",
         {In("10:00:00", "5551110000", 5), Out("10:05:00", "15551110000")},
         {}},
        {"a start-of-call record is no answer",
         {In("10:00:00", "5551110000", 5), In("10:05:00", "5551110000", 0, LOG_STATUS_AT_START)},
         {"5551110000:1"}},
        {"newest first, equal times in key order",
         {In("10:00:00", "5552220000", 5), In("10:00:00", "5553330000", 5),
          In("09:00:00", "5551110000", 5), In("11:00:00", "5554440000", 5)},
         {"5554440000:1", "5552220000:1", "5553330000:1", "5551110000:1"}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(Callbacks(c.log), c.rows) << c.name;
}

TEST(CallbackRule, WeekdayMaskPicksShortCallsButNotCallbacks) {
    // 01-05-2004 is a Monday, 01-06-2004 a Tuesday.
    const int32_t mondays = 1 << 2;
    const std::vector<CallLogRecord> log = {
        In("10:00:00", "5551110000", 5),
        LogRecord("01-06-2004", "09:00:00", 'I', "5552220000", 0, 5),
        LogRecord("01-06-2004", "10:00:00", 'O', "5551110000")};
    EXPECT_TRUE(Callbacks(log, mondays).empty());
}

struct Bench {
    explicit Bench(int32_t endDay = 7) {
        job.report = Report::Callback;
        job.shortSeconds = 20;
        job.dataPath = "C:\\POS\\DATA\\";
        job.storeName = "Mario's";
        job.clock = JournalledClock(journal, {{"12-08-2026", "14:03:09"}});
        engine.startResult = 7;
        prompts.range =
            Range("01-05-2004", "00:00:00", "01-0" + std::to_string(endDay) + "-2004", "23:59:59");
    }
    void Run() { RunReport(job, engine, log, prompts); }
    Journal journal;
    RecordingEngine engine{journal};
    MemoryCallLog log{journal};
    ScriptedPrompts prompts{journal};
    ReportJob job;
};

TEST(CallbackPage, LinesBesideTheRows) {
    const char rule[] =
        "Inbound calls of at most 20 seconds with no longer call from or call to the number "
        "afterwards";
    const char noOutbound[] =
        "(no outbound calls are logged in this range, so callbacks cannot be seen)";
    const struct {
        const char *name;
        std::vector<CallLogRecord> log;
        int32_t endDay;
        std::vector<std::string> lines; // rows 0 on at x 0.5
    } cases[] = {
        {"withheld callers and the range end cutting off a callback",
         {In("10:00:00", "PRIVATE", 4), In("10:01:00", "OUT-OF-AREA", 4),
          In("10:02:00", "5551110000", 7), LogRecord("01-08-2004", "09:00:00", 'O', "5551110000")},
         7,
         {rule, noOutbound, "01-05-2004", "Also 2 short calls from withheld numbers"}},
        {"only start-of-call records",
         {In("10:00:00", "5551110000", 0, LOG_STATUS_AT_START), Out("10:05:00", "5552220000")},
         7,
         {"The callback list needs full call logging.", ""}},
        {"the callback inside the range",
         {In("10:02:00", "5551110000", 7), LogRecord("01-06-2004", "09:00:00", 'O', "5551110000")},
         7,
         {rule, ""}},
    };
    for (const auto &c : cases) {
        Bench bench(c.endDay);
        for (const CallLogRecord &rec : c.log)
            bench.log.Add(rec);
        bench.Run();
        std::vector<std::string> lines;
        for (size_t row = 0; row < c.lines.size(); ++row)
            lines.push_back(bench.engine.TextAt(0.5f, RowY(static_cast<int32_t>(row))));
        EXPECT_EQ(lines, c.lines) << c.name;
        EXPECT_EQ(bench.engine.TextAt(4.25f, 0.56f),
                  "Callback List From 05 Jan 2004 to 0" + std::to_string(c.endDay) + " Jan 2004")
            << c.name;
    }
}

TEST(CallbackSeconds, WholeNumbersFrom1To600) {
    const struct {
        const char *text;
        bool ok;
        int32_t seconds;
    } cases[] = {{"20", true, 20},  {" 600 ", true, 600}, {"1", true, 1},
                 {"0", false, 0},   {"601", false, 0},    {"", false, 0},
                 {"2.5", false, 0}, {"-5", false, 0},     {"99999999999", false, 0}};
    for (const auto &c : cases) {
        int32_t seconds = 0;
        EXPECT_EQ(ParseCallbackSeconds(c.text, seconds), c.ok) << c.text;
        EXPECT_EQ(seconds, c.seconds) << c.text;
    }
}

// A read that fails part way would leave a file that passes for the whole range: none is
// written and the failure is shown; the two end statuses end the file as a whole one.
TEST(CallLogCsv, ReadFailureWritesNoFile) {
    const struct {
        const char *name;
        int32_t status;
        bool writeResult;
        Journal tail;
        size_t rows; // data rows in the file
    } cases[] = {
        {"I/O error",
         2,
         true,
         {"kf_Close(5)", "ScanDone", "Message(Error Reading Data File!|Keyfile Error 2|error)"},
         0},
        {"negative status",
         -3,
         true,
         {"kf_Close(5)", "ScanDone", "Message(Error Reading Data File!|Keyfile Error 3|error)"},
         0},
        {"no more records", 9, true, {"kf_Close(5)", "ScanDone", "Write"}, 2},
        {"write refused",
         9,
         false,
         {"ScanDone", "Write", "Message(Error Writing CSV File!|Report|error)"},
         0},
    };
    for (const auto &c : cases) {
        Journal journal;
        MemoryCallLog log(journal);
        ScriptedPrompts prompts(journal);
        RecordingCsvFile file(journal);
        file.writeResult = c.writeResult;
        ReportJob job;
        job.dataPath = "C:\\POS\\DATA\\";
        job.clock = JournalledClock(journal, {{"12-08-2026", "14:03:09"}});
        prompts.range = Range("01-05-2004", "00:00:00", "01-07-2004", "23:59:59");
        for (const char *time : {"10:00:00", "10:01:00", "10:02:00", "10:03:00"})
            log.Add(LogRecord("01-05-2004", time, 'I', "5551234567", 0, 30, 2));
        log.failAtRead = 3;
        log.failStatus = c.status;
        RunCsvExport(job, log, prompts, file);
        ASSERT_GE(journal.size(), c.tail.size()) << c.name;
        EXPECT_EQ(Journal(journal.end() - c.tail.size(), journal.end()), c.tail) << c.name;
        const size_t lines =
            static_cast<size_t>(std::count(file.written.begin(), file.written.end(), '\n'));
        EXPECT_EQ(lines, c.rows == 0 ? 0 : c.rows + 1) << c.name;
    }
}

TEST(CallLogCsv, RowsQuotedGuardedAndInUtf8) {
    const struct {
        CallLogRecord rec;
        const char *line;
    } cases[] = {
        {LogRecord("01-05-2004", "18:07:00", 'I', "15551234567", LOG_STATUS_CID_ERROR, 95, 3, 2,
                   "Caf\xE9, \"Mario\""),
         "2004-01-05,18:07,In,2,555-123-4567,\"Caf\xC3\xA9, \"\"Mario\"\"\",,95,3,Yes\r\n"},
        {LogRecord("01-05-2004", "09:30:00", 'I', "PRIVATE", LOG_STATUS_AT_START, 0, 0, 1,
                   "=SUM(A1)"),
         "2004-01-05,09:30,In,1,PRIVATE,'=SUM(A1),,,,No\r\n"},
        {LogRecord("01-06-2004", "23:59:59", 'O', "5559876543", 0, 30, 4, 3, "", "*72#"),
         "2004-01-06,23:59,Out,3,555-987-6543,,*72#,30,,No\r\n"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(CallLogCsvLine(c.rec), c.line);
    EXPECT_EQ(CallLogCsvStart(), "\xEF\xBB\xBF"
                                 "Date,Time,Direction,Line,Number,Name,Extra Digits,Seconds,"
                                 "Rings,Caller ID Error\r\n");
    EXPECT_EQ(CallLogCsvName("12-09-2026"), "Call Log 2026-12-09.csv");
    EXPECT_EQ(CallLogCsvName("12-09-2026", 2), "Call Log 2026-12-09 (2).csv");
}

} // namespace
