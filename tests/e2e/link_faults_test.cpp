// Faults of the unit link met by the real Ringhold.exe: odd datagrams and serial bytes, a flood of
// datagrams, and a serial device that goes away and comes back. In each the server keeps
// running within bounded processor time and memory, shows no message box, keeps what it
// committed and handles the next good report.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <set>

#include "fault_checks.h"
#include "file_names.h"
#include "line_assembler.h"
#include "record_text.h"

namespace {

size_t RawLineCount(const ProgramDir &dir) {
    return CrLfLines(ReadWholeFile(dir.Path(RAW_FILE))).size();
}

// A report in the unit's columns for line 2 of today, with any name bytes (NULs too).
std::string ReportWithName(const std::string &name) {
    SYSTEMTIME now;
    GetLocalTime(&now);
    char head[64];
    std::snprintf(head, sizeof head, "02 I S 0000 G  1 %02u/%02u 01:05 PM 555-000-0002   ",
                  now.wMonth, now.wDay);
    return head + name;
}

// Scenario text for unitsim: one "raw" step sending these bytes exactly.
std::string RawStep(const std::string &bytes) {
    std::string escaped;
    for (unsigned char c : bytes) {
        char hex[8];
        std::snprintf(hex, sizeof hex, "\\x%02X", c);
        escaped += (c < 32 || c >= 127 || c == '\\') ? hex : std::string(1, (char)c);
    }
    return "raw " + escaped + "\n";
}

const char HEADER[] = "^^<U>0123456789ABCDEF"; // the tag and 16 characters nobody reads

std::string PlayScenario(Session &session, const std::string &name, const std::string &steps) {
    const std::string scenario = session.Dir.Path(name + ".txt");
    WriteWholeFile(scenario, steps);
    UnitSimulator sim(session.LinkArguments() + " --scenario \"" + scenario +
                      "\" --exit-after 200");
    EXPECT_TRUE(sim.WaitForEnd(CALLS_WAIT_MS)) << name;
    return scenario;
}

const TestCall GOOD_CALL{1, 'I', 'S', "555-123-4567", "GOOD AFTER FAULT", "13:05"};

void ExpectGoodCallHandled(Session &session, size_t loggedBefore) {
    EXPECT_TRUE(WaitForDisplay(session.Dir, 1, CallRecord(GOOD_CALL), CALLS_WAIT_MS));
    const std::vector<CallLogRecord> log = ReadCallLog(session.Dir);
    ASSERT_EQ(log.size(), loggedBefore + 1);
    bool found = false;
    for (const CallLogRecord &record : log)
        found = found || GetTextNul(record.Name) == GOOD_CALL.Name;
    EXPECT_TRUE(found);
}

// Datagrams a unit never sends, then a good report: each odd one is dropped or taken for what it
// holds, and the good one comes through whole.
TEST(LinkFaults, UdpOddDatagramsThenAGoodReport) {
    Session session;
    ASSERT_TRUE(session.StartServer(MakeConfig(0, 1, 4, CFG_LOGGING | CFG_RAW_OUTPUT)));
    const UsageMark start = MarkUsage(session.Server.Process());

    const std::string biggest(65507 - 21, 'x'); // the largest IPv4 datagram, header included
    const std::string withNul = ReportWithName(std::string("NUL\0HIDDEN", 10));
    struct Odd {
        const char *name;
        std::string datagram;
        std::string captured; // the raw capture line it gives, "" for none
    };
    const Odd odds[] = {
        {"empty datagram", "", ""},
        {"garbage bytes", "\xff\xfe\x80\x01 no tag at all \x7f", ""},
        {"tag but no report", "^^<U>0123", ""},
        {"64 KiB", HEADER + biggest, biggest},
        {"NUL bytes in the name", HEADER + withNul, withNul},
    };
    std::string steps, wanted;
    for (const Odd &odd : odds) {
        steps += RawStep(odd.datagram);
        if (!odd.captured.empty())
            wanted += odd.captured + "\r\n";
    }
    PlayScenario(session, "odd", steps);
    const std::vector<std::string> sent = session.PlayCalls({GOOD_CALL});
    ASSERT_EQ(sent.size(), 1u);
    wanted += sent[0] + "\r\n";

    ExpectGoodCallHandled(session, 1);
    EXPECT_EQ(ReadWholeFile(session.Dir.Path(RAW_FILE)), wanted);
    // A name is read up to a NUL: the station sees what came before it, nothing after.
    EXPECT_TRUE(
        WaitForDisplay(session.Dir, 2, MakeDisplayRecord("555-000-0002", "NUL", "01:05 PM"), 0));
    ExpectServerSound(session, start);
}

// A flood far beyond one datagram per pass: the socket keeps what fits and drops the rest (the
// operating system's business); the server works the backlog off in order at its own pace,
// logs each report it took exactly once, answers its window throughout, and afterwards takes
// the next good report.
TEST(LinkFaults, UdpFloodDrainsWhileTheWindowAnswers) {
    if (!LinuxSideAvailable())
        GTEST_SKIP()
            << "a Windows sender is too slow for the flood; link_faults_linux_test runs it";
    Session session;
    ASSERT_TRUE(session.StartServer(MakeConfig(0, 1, 4, CFG_LOGGING | CFG_RAW_OUTPUT)));
    const UsageMark start = MarkUsage(session.Server.Process());

    const int count = 100000;
    WriteWholeFile(LinuxSidePath("flood.scenario"),
                   "flood 100000 10000 line=1,time=13:05,number=555-000-0001,name=FLOOD\n");
    ASSERT_TRUE(AskLinuxSide("flood",
                             "--udp 127.0.0.1:" + std::to_string(session.UdpPort) +
                                 " --scenario flood.scenario --log flood.log --exit-after 0",
                             CALLS_WAIT_MS));
    const DWORD floodEnd = GetTickCount();
    std::printf("%s", ReadWholeFile(LinuxSidePath("flood.log")).c_str());

    // Drained once no report has come for several idle passes (IPTimeOut 1: 1.5 s each).
    long slowestAnswer = 0;
    size_t taken = RawLineCount(session.Dir);
    DWORD lastNew = GetTickCount();
    while (GetTickCount() - lastNew < 6000 && GetTickCount() - floodEnd < 600000) {
        const long answer = TimeRunningAnswer(session.Server.Window(), 5000);
        ASSERT_GE(answer, 0) << "the window did not answer during the backlog";
        slowestAnswer = answer > slowestAnswer ? answer : slowestAnswer;
        Sleep(1000);
        const size_t now = RawLineCount(session.Dir);
        if (now != taken) {
            taken = now;
            lastNew = GetTickCount();
        }
    }
    const double drainSeconds = (lastNew - floodEnd) / 1000.0;
    std::printf("backlog of %zu reports drained %.1f s after the flood; slowest answer %ld ms\n",
                taken, drainSeconds, slowestAnswer);
    RecordProperty("backlog_reports", (int)taken);
    RecordProperty("drain_ms", (int)(lastNew - floodEnd));
    RecordProperty("slowest_window_answer_ms", (int)slowestAnswer);

    // Every report taken is one the unit sent, whole, in the order sent, and logged once.
    const std::vector<std::string> raw = CrLfLines(ReadWholeFile(session.Dir.Path(RAW_FILE)));
    ASSERT_GT(raw.size(), 0u);
    int previous = 0;
    std::set<std::string> rawNames;
    for (const std::string &line : raw) {
        ASSERT_EQ(line.size(), 47u + 12u) << line;
        ASSERT_EQ(line.substr(0, 3), "01 ") << line;
        ASSERT_EQ(line.substr(32, 21), "555-000-0001   FLOOD ") << line;
        const int sequence = std::atoi(line.c_str() + 53);
        ASSERT_GT(sequence, previous) << line;
        ASSERT_LE(sequence, count) << line;
        previous = sequence;
        rawNames.insert(line.substr(47));
    }
    std::set<std::string> loggedNames;
    const std::vector<CallLogRecord> log = ReadCallLog(session.Dir);
    for (const CallLogRecord &record : log)
        loggedNames.insert(GetTextNul(record.Name));
    EXPECT_EQ(log.size(), raw.size());
    EXPECT_EQ(loggedNames, rawNames);

    session.PlayCalls({GOOD_CALL});
    ExpectGoodCallHandled(session, log.size());
    ExpectServerSound(session, start);
}

class SerialFaults : public ::testing::Test {
  protected:
    void SetUp() override {
        int server, unit;
        if (!SerialPair(server, unit) || !LinuxSideAvailable())
            GTEST_SKIP() << "the serial pair is set up by link_faults_linux_test";
    }
};

// Bytes a unit never sends: garbage, NULs, a fragment without CR LF and a run of thousands of
// bytes without one. Each fragment is followed by a pause, as when a unit restarts mid-line.
TEST_F(SerialFaults, OddBytesThenAGoodReport) {
    Session session(LinkKind::Serial);
    ASSERT_TRUE(session.StartServer(MakeConfig(0, 1, 4, CFG_LOGGING | CFG_RAW_OUTPUT)));
    const UsageMark start = MarkUsage(session.Server.Process());

    const std::string withNul = ReportWithName(std::string("NUL\0NAME", 8));
    const std::string pause =
        "wait " + std::to_string(LineAssembler::kStalePartialMs + 1500) + "\n";
    const std::string steps = RawStep("\xff\xfe\x80 garbage\r\n") + RawStep(withNul + "\r\n") +
                              RawStep("FRAGMENT WITHOUT END") + pause + "long 6000\n" + pause;
    PlayScenario(session, "odd", steps);
    const std::vector<std::string> sent = session.PlayCalls({GOOD_CALL});
    ASSERT_EQ(sent.size(), 1u);

    ExpectGoodCallHandled(session, 1);
    // Codes 0 to 9 never reach a report, so the NUL simply goes; fragments leave no trace.
    const std::string withoutNul = ReportWithName("NULNAME");
    EXPECT_EQ(ReadWholeFile(session.Dir.Path(RAW_FILE)),
              "\xff\xfe\x80 garbage\r\n" + withoutNul + "\r\n" + sent[0] + "\r\n");
    EXPECT_TRUE(WaitForDisplay(session.Dir, 2,
                               MakeDisplayRecord("555-000-0002", "NULNAME", "01:05 PM"), 0));
    ExpectServerSound(session, start);
}

// The device goes away under the running server (the pseudo-terminal's other end closed, as a
// USB adapter pulled out) and comes back under the same COM name: the server keeps running and
// reads the unit again without a restart.
TEST_F(SerialFaults, DeviceGoesAwayAndComesBack) {
    Session session(LinkKind::Serial);
    ASSERT_TRUE(session.StartServer(MakeConfig(0, 1, 4, CFG_LOGGING | CFG_RAW_OUTPUT)));
    const UsageMark start = MarkUsage(session.Server.Process());

    const TestCall before{3, 'I', 'S', "555-000-0003", "BEFORE THE PULL", "12:00"};
    ASSERT_EQ(session.PlayCalls({before}).size(), 1u);
    ASSERT_TRUE(WaitForDisplay(session.Dir, 3, CallRecord(before), CALLS_WAIT_MS));

    ASSERT_TRUE(AskLinuxSide("down", "pty-down", CALLS_WAIT_MS));
    Sleep(5000); // several passes on a port that is gone
    ExpectServerSound(session, start);
    ASSERT_TRUE(AskLinuxSide("up", "pty-up", CALLS_WAIT_MS));

    ASSERT_EQ(session.PlayCalls({GOOD_CALL}).size(), 1u);
    ExpectGoodCallHandled(session, 1);
    EXPECT_TRUE(WaitForDisplay(session.Dir, 3, CallRecord(before), 0));
    EXPECT_EQ(RawLineCount(session.Dir), 2u);
    ExpectServerSound(session, start);
}

} // namespace
