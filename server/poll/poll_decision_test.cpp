// The rules of a poll pass: capture, line range, display record, display exclusion and the call
// log record for every option that changes the outcome.
#include "excl_list.h"
#include "keyfile.h"
#include "poll_decision.h"
#include "record_text.h"
#include "report_builder.h"
#include "test_program_dir.h"
#include <cstring>
#include <gtest/gtest.h>

namespace {

const CivilDate kToday{2026, 12, 7};
const int32_t kNow = 4242;

CidConfig Config(uint32_t options, uint8_t first = 1, uint8_t last = 4) {
    CidConfig cfg{};
    cfg.PortSel = 1;
    cfg.FirstLine = first;
    cfg.LastLine = last;
    cfg.Options = options;
    return cfg;
}

// One server run: the configuration, the pending names and what the lists hold.
struct ServerRun {
    explicit ServerRun(uint32_t options, uint8_t first = 1, uint8_t last = 4)
        : Cfg(Config(options, first, last)), Pending(Cfg) {}
    PollDecision Decide(const TestReport &r) { return Decide(r.Text()); }
    PollDecision Decide(const std::string &text) {
        PollInputs in{kToday, kNow, CallLogOpen, {}, {}};
        if (DisplayListOpen)
            in.DisplayExcluded = [this](const std::string &key) {
                DisplayKeys.push_back(key);
                return key == DisplayHit;
            };
        if (LogListOpen)
            in.LogExcluded = [this](const std::string &key) {
                LogKeys.push_back(key);
                return key == LogHit;
            };
        return DecideReport(text, Cfg, Pending, in);
    }

    CidConfig Cfg;
    PendingNames Pending;
    bool CallLogOpen = true, DisplayListOpen = false, LogListOpen = false;
    std::string DisplayHit, LogHit;
    std::vector<std::string> DisplayKeys, LogKeys;
};

TestReport Report(std::string event, std::string direction = "I", std::string check = "G") {
    TestReport r;
    r.Event = event;
    r.Direction = direction;
    r.Check = check;
    return r;
}

struct Shown {
    std::string Number, Name, Time;
};
Shown ShownOf(const PollDecision &d) {
    return {GetTextNul(d.Display.Number), GetTextNul(d.Display.Name), GetTextNul(d.Display.Time)};
}

TEST(DecideReport, CaptureAndLineRange) {
    struct Case {
        const char *name;
        uint32_t options;
        uint8_t first, last;
        const char *line;
        bool capture, served;
    } cases[] = {
        {"in range, no raw output", 0, 1, 4, "02", false, true},
        {"in range, raw output", CFG_RAW_OUTPUT, 1, 4, "04", true, true},
        {"above the range is still captured", CFG_RAW_OUTPUT, 1, 4, "05", true, false},
        {"below the range", CFG_RAW_OUTPUT, 3, 4, "02", true, false},
        {"line 0 with first line 0 is never served", CFG_RAW_OUTPUT, 0, 4, "00", true, false},
        {"unreadable line reads as 0", 0, 0, 4, "x1", false, false},
        {"last below first serves nothing", 0, 3, 2, "03", false, false},
        {"a 32-line range", 0, 1, 32, "32", false, true},
    };
    for (const Case &c : cases) {
        ServerRun run(c.options | CFG_LOGGING | CFG_REFRESH_END, c.first, c.last);
        TestReport r = Report("S");
        r.Line = c.line;
        PollDecision d = run.Decide(r);
        EXPECT_EQ(d.Capture, c.capture) << c.name;
        EXPECT_EQ(d.Line != 0, c.served) << c.name;
        EXPECT_EQ(d.ShowDisplay, c.served) << c.name;
        EXPECT_EQ(d.Log, c.served) << c.name;
    }
}

TEST(DecideReport, EmptyReportDoesNothing) {
    ServerRun run(CFG_RAW_OUTPUT | CFG_LOGGING | CFG_REFRESH_END);
    PollDecision d = run.Decide(std::string());
    EXPECT_FALSE(d.Capture);
    EXPECT_FALSE(d.ShowDisplay);
    EXPECT_FALSE(d.Log);
}

TEST(DecideReport, DisplayRecord) {
    const Shown call{"555-123-4567", "JOHN SMITH", "09:07 PM"};
    const Shown starred{"555-123-4567", "*JOHN SMITH", "09:07 PM"};
    const Shown waiting{"Waiting", "For Call", ""};
    struct Case {
        const char *name;
        uint32_t options;
        TestReport report;
        bool shown;
        Shown record;
    } cases[] = {
        {"start shown at start", 0, Report("S"), true, call},
        {"end leaves the display alone", 0, Report("E"), false, {}},
        {"refresh: inbound end resets to waiting", CFG_REFRESH_END, Report("E"), true, waiting},
        {"refresh: outbound end stays unchanged", CFG_REFRESH_END, Report("E", "O"), false, {}},
        {"outbound start never shown", CFG_REFRESH_END, Report("S", "O"), false, {}},
        {"caller-ID error on a start gets a star", 0, Report("S", "I", "X"), true, starred},
        {"blank check is an error too", 0, Report("S", "I", ""), true, starred},
        {"refresh: error on an end shows waiting", CFG_REFRESH_END, Report("E", "I", "X"), true,
         waiting},
        {"refresh: other events show the caller", CFG_REFRESH_END, Report("R", "I", "X"), true,
         call},
    };
    for (const Case &c : cases) {
        ServerRun run(c.options);
        PollDecision d = run.Decide(c.report);
        EXPECT_EQ(d.ShowDisplay, c.shown) << c.name;
        if (!c.shown)
            continue;
        Shown s = ShownOf(d);
        EXPECT_EQ(s.Number, c.record.Number) << c.name;
        EXPECT_EQ(s.Name, c.record.Name) << c.name;
        EXPECT_EQ(s.Time, c.record.Time) << c.name;
    }
}

TEST(DecideReport, StarredLongNameKeeps19Characters) {
    ServerRun run(0);
    TestReport r = Report("S", "I", "X");
    r.Name = "ABCDEFGHIJKLMNOPQRSTUVWXY";
    EXPECT_EQ(ShownOf(run.Decide(r)).Name, "*ABCDEFGHIJKLMNOPQR");
}

TEST(DecideReport, DisplayExclusion) {
    struct Case {
        const char *name;
        uint32_t options;
        TestReport report;
        bool listOpen;
        const char *hit;
        bool shown;
        std::vector<std::string> keysAsked;
    } cases[] = {
        {"listed number hidden",
         CFG_EXCL_SHOW,
         Report("S"),
         true,
         "5551234567      ",
         false,
         {"5551234567      "}},
        {"unlisted number shown",
         CFG_EXCL_SHOW,
         Report("S"),
         true,
         "5550000000      ",
         true,
         {"5551234567      "}},
        {"flag clear: list never asked", 0, Report("S"), true, "5551234567      ", true, {}},
        {"list not open: shown", CFG_EXCL_SHOW, Report("S"), false, "", true, {}},
        {"waiting record is not looked up",
         CFG_EXCL_SHOW | CFG_REFRESH_END,
         Report("E"),
         true,
         "5551234567      ",
         true,
         {}},
        {"refresh: any other report is looked up",
         CFG_EXCL_SHOW | CFG_REFRESH_END,
         Report("R"),
         true,
         "5551234567      ",
         false,
         {"5551234567      "}},
    };
    for (const Case &c : cases) {
        ServerRun run(c.options);
        run.DisplayListOpen = c.listOpen;
        run.DisplayHit = c.hit;
        EXPECT_EQ(run.Decide(c.report).ShowDisplay, c.shown) << c.name;
        EXPECT_EQ(run.DisplayKeys, c.keysAsked) << c.name;
    }
}

TEST(DecideReport, WithheldNumberDisplayKeyIsBlank) {
    ServerRun run(CFG_EXCL_SHOW);
    run.DisplayListOpen = true;
    run.DisplayHit = std::string(16, ' ');
    TestReport r = Report("S");
    r.Number = "PRIVATE";
    EXPECT_FALSE(run.Decide(r).ShowDisplay);
    EXPECT_EQ(run.DisplayKeys, std::vector<std::string>{std::string(16, ' ')});
}

struct Logged {
    bool log;
    std::string number, name, extra;
    char direction;
    uint32_t status;
    int32_t duration, rings;
};

Logged LoggedOf(const PollDecision &d) {
    const CallLogRecord &r = d.Record;
    return {d.Log,
            std::string(r.Number, 20),
            GetTextNul(r.Name),
            GetTextNul(r.ExtraDigits),
            r.Direction,
            r.Status,
            r.Duration,
            r.Rings};
}

TEST(DecideReport, BasicLogging) {
    const std::string digits = "5551234567          ";
    struct Case {
        const char *name;
        uint32_t options;
        TestReport report;
        bool log;
        uint32_t status;
    } cases[] = {
        {"inbound start", CFG_LOGGING, Report("S"), true, LOG_STATUS_AT_START},
        {"caller-ID error", CFG_LOGGING, Report("S", "I", "X"), true,
         LOG_STATUS_AT_START | LOG_STATUS_CID_ERROR},
        {"end not logged", CFG_LOGGING, Report("E"), false, 0},
        {"outbound not logged", CFG_LOGGING | CFG_LOG_OUTBOUND, Report("S", "O"), false, 0},
        {"logging off", 0, Report("S"), false, 0},
    };
    for (const Case &c : cases) {
        ServerRun run(c.options);
        Logged l = LoggedOf(run.Decide(c.report));
        EXPECT_EQ(l.log, c.log) << c.name;
        if (!c.log)
            continue;
        EXPECT_EQ(l.number, digits) << c.name;
        EXPECT_EQ(l.name, "JOHN SMITH") << c.name;
        EXPECT_EQ(l.extra, "") << c.name;
        EXPECT_EQ(l.direction, 'I') << c.name;
        EXPECT_EQ(l.status, c.status) << c.name;
        EXPECT_EQ(l.duration, 0) << c.name;
        EXPECT_EQ(l.rings, 0) << c.name;
    }
}

TEST(DecideReport, FullLoggingLogsTheEndWithThePendingName) {
    const uint32_t full = CFG_LOGGING | CFG_FULL_LOG;
    ServerRun run(full);
    TestReport start = Report("S");
    start.Line = "02";
    start.Name = "JANE DOE";
    EXPECT_FALSE(run.Decide(start).Log);

    TestReport otherLine = Report("S");
    otherLine.Line = "03";
    run.Decide(otherLine);

    TestReport end = Report("E", "I", "X");
    end.Line = "02";
    end.Duration = "0125";
    end.Rings = "4";
    end.Name = "JANE DOE";
    Logged l = LoggedOf(run.Decide(end));
    EXPECT_TRUE(l.log);
    EXPECT_EQ(l.name, "JANE DOE");
    EXPECT_EQ(l.duration, 125);
    EXPECT_EQ(l.rings, 4);
    EXPECT_EQ(l.status, LOG_STATUS_CID_ERROR);
    EXPECT_EQ(l.direction, 'I');

    // The name is never cleared: a second end on the line logs it again.
    end.Check = "G";
    l = LoggedOf(run.Decide(end));
    EXPECT_EQ(l.name, "JANE DOE");
    EXPECT_EQ(l.status, 0u);

    TestReport fresh = Report("E");
    fresh.Line = "04";
    EXPECT_EQ(LoggedOf(run.Decide(fresh)).name, "");
}

TEST(DecideReport, FullLoggingOutbound) {
    TestReport end = Report("E", "O");
    end.Name = "  *72#123abc 9";
    ServerRun inboundOnly(CFG_LOGGING | CFG_FULL_LOG);
    EXPECT_FALSE(inboundOnly.Decide(end).Log);

    ServerRun both(CFG_LOGGING | CFG_FULL_LOG | CFG_LOG_OUTBOUND);
    Logged l = LoggedOf(both.Decide(end));
    EXPECT_TRUE(l.log);
    EXPECT_EQ(l.direction, 'O');
    EXPECT_EQ(l.extra, "*72#1239");

    Logged in = LoggedOf(both.Decide(Report("E")));
    EXPECT_EQ(in.direction, 'I');
    EXPECT_EQ(in.extra, "");
}

TEST(DecideReport, WithheldNumbersAndLogExclusion) {
    const uint32_t basic = CFG_LOGGING;
    struct Case {
        const char *name;
        uint32_t options;
        const char *number;
        bool logOpen, listOpen;
        const char *hit;
        bool log;
        std::vector<std::string> keysAsked;
    } cases[] = {
        {"withheld logged with its word", basic, "Private", true, false, "", true, {}},
        {"flag 11 drops the words",
         basic | CFG_NO_LOG_WITHHELD,
         "OUT-OF-AREA",
         true,
         false,
         "",
         false,
         {}},
        {"flag 11 keeps numbers",
         basic | CFG_NO_LOG_WITHHELD,
         "555-1234",
         true,
         false,
         "",
         true,
         {}},
        {"listed word dropped",
         basic | CFG_EXCL_LOG,
         "UNKNOWN",
         true,
         true,
         "UNKNOWN         ",
         false,
         {"UNKNOWN         "}},
        {"listed number dropped",
         basic | CFG_EXCL_LOG,
         "555-1234",
         true,
         true,
         "5551234         ",
         false,
         {"5551234         "}},
        {"unlisted number logged",
         basic | CFG_EXCL_LOG,
         "555-1234",
         true,
         true,
         "1",
         true,
         {"5551234         "}},
        {"flag 10 clear: list not asked",
         basic,
         "555-1234",
         true,
         true,
         "5551234         ",
         true,
         {}},
        {"no call log: nothing asked",
         basic | CFG_EXCL_LOG,
         "555-1234",
         false,
         true,
         "5551234         ",
         false,
         {}},
    };
    for (const Case &c : cases) {
        ServerRun run(c.options);
        run.CallLogOpen = c.logOpen;
        run.LogListOpen = c.listOpen;
        run.LogHit = c.hit;
        TestReport r = Report("S");
        r.Number = c.number;
        EXPECT_EQ(run.Decide(r).Log, c.log) << c.name;
        EXPECT_EQ(run.LogKeys, c.keysAsked) << c.name;
    }
}

TEST(DecideReport, LogRecordFieldsAndZeroBytes) {
    ServerRun run(CFG_LOGGING);
    TestReport r = Report("S");
    r.Name = std::string(40, 'N');
    r.Number = "PRIVATE";
    r.Line = "03";
    PollDecision d = run.Decide(r);
    const CallLogRecord &rec = d.Record;
    EXPECT_EQ(std::string(rec.Name, 31), std::string(31, 'N'));
    EXPECT_EQ(rec.Name[31], '\0');
    EXPECT_EQ(std::string(rec.Number, 20), "PRIVATE             ");
    const int16_t line = rec.Line;
    EXPECT_EQ(line, 3);
    for (size_t i = 0; i < sizeof rec.ExtraDigits; ++i)
        EXPECT_EQ(rec.ExtraDigits[i], '\0');
    for (uint8_t b : rec.Reserved)
        EXPECT_EQ(b, 0);
    const int32_t day = rec.Day;
    EXPECT_EQ(day, UnitDateToDays("12/25", kToday));
    EXPECT_NE(day, 0);
}

TEST(DecideReport, TwelveOClockTimes) {
    struct Case {
        const char *time, *meridiem;
        int32_t seconds;
    } cases[] = {{"12:05", "AM", 300},
                 {"12:05", "PM", 43500},
                 {"01:30", "PM", 48600},
                 {"01:30", "pm", 5400}};
    for (const Case &c : cases) {
        ServerRun run(CFG_LOGGING);
        TestReport r = Report("S");
        r.Time = c.time;
        r.Meridiem = c.meridiem;
        const int32_t seconds = run.Decide(r).Record.Seconds;
        EXPECT_EQ(seconds, c.seconds) << c.time << ' ' << c.meridiem;
    }
}

// The server's own look-ups through the record manager.
class RealExclLists : public ProgramDirTest {
  protected:
    void TearDown() override {
        kf_CloseAll();
        ProgramDirTest::TearDown();
    }
    int32_t List(const char *file, std::initializer_list<const char *> numbers) {
        EXPECT_EQ(CreateExclList(dir_, file), 1);
        int32_t handle = OpenExclList(dir_, file);
        for (const char *n : numbers)
            EXPECT_EQ(InsertExclRecord(handle, MakeExclRecord(n, "")), KF_OK);
        return handle;
    }
};

TEST_F(RealExclLists, DigitsMatchDashedNumbersAndWordsMatchTheLogList) {
    const CidConfig cfg = Config(CFG_LOGGING | CFG_EXCL_SHOW | CFG_EXCL_LOG);
    PendingNames pending(cfg);
    PollInputs in{kToday, kNow, true, ExclLookupFor(List("show.CID", {"5551234567"})),
                  ExclLookupFor(List("log.CID", {"5559876543"}))};
    const int32_t logList = List("words.CID", {});
    ASSERT_GE(logList, 1);
    ExclRecord word{};
    std::memcpy(word.Number, "PRIVATE         ", 16);
    EXPECT_EQ(InsertExclRecord(logList, word), KF_OK);

    struct Case {
        const char *number;
        bool shown, logged;
    } cases[] = {{"555-123-4567", false, true},
                 {"1-555-123-4567", true, true},
                 {"555-987-6543", true, false},
                 {"PRIVATE", true, true}};
    for (const Case &c : cases) {
        TestReport r = Report("S");
        r.Number = c.number;
        PollDecision d = DecideReport(r.Text(), cfg, pending, in);
        EXPECT_EQ(d.ShowDisplay, c.shown) << c.number;
        EXPECT_EQ(d.Log, c.logged) << c.number;
    }

    in.LogExcluded = ExclLookupFor(logList);
    TestReport r = Report("S");
    r.Number = "Private";
    EXPECT_FALSE(DecideReport(r.Text(), cfg, pending, in).Log);
    EXPECT_FALSE(ExclLookupFor(0));
}

} // namespace
