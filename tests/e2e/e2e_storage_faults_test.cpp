// The running Ringhold when its files fail it: the station display file, the raw capture and the
// call log held by another program, a full disk, and the server killed while it logs calls. It
// must ride each out without a message box, a spin or growth, and lose nothing it committed.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <set>

#include "fault_checks.h"
#include "file_names.h"
#include "record_text.h"
#include "storage_fault_win.h"

namespace {

const uint32_t LOG_AND_CAPTURE = CFG_LOGGING | CFG_RAW_OUTPUT;

// The basic log has one record per inbound start, and every test call has a number of its own.
std::map<std::string, int> CountByNumber(const std::vector<CallLogRecord> &log) {
    std::map<std::string, int> count;
    for (const CallLogRecord &record : log)
        count[GetTextPadded(record.Number)]++;
    return count;
}

std::string Digits(const std::string &number) {
    std::string digits;
    for (char c : number) {
        if (c >= '0' && c <= '9')
            digits += c;
    }
    return digits;
}

bool WaitForLogSize(const ProgramDir &dir, size_t size) {
    return WaitUntil([&] { return ReadCallLog(dir).size() >= size; }, CALLS_WAIT_MS);
}

struct HeldFileCase {
    const char *Name;
    const char *File;
};

class HeldDataFile : public ::testing::TestWithParam<HeldFileCase> {};

// An order station or a viewer holding the file without sharing: the report of that moment
// cannot reach it. The display shows the missed caller once the file is free; the raw capture
// is a copy on request and simply lacks that report.
TEST_P(HeldDataFile, ServerRidesOutTheHoldAndWritesTheNextCall) {
    const std::string file = GetParam().File;
    Session session;
    ASSERT_TRUE(session.StartServer(MakeConfig(0, 1, 4, LOG_AND_CAPTURE)));
    const UsageMark usage = MarkUsage(session.Server.Process());

    const TestCall during{1, 'I', 'S', "555-100-0001", "DURING HOLD", "13:05"};
    const TestCall after{2, 'I', 'S', "555-100-0002", "AFTER HOLD", "13:06"};
    {
        HeldFile hold(session.Dir.Path(file));
        ASSERT_TRUE(hold.Held());
        ASSERT_EQ(session.PlayCalls({during}).size(), 1u);
        // The insert ends a pass: once the call is logged, its display and raw writes were tried.
        ASSERT_TRUE(WaitForLogSize(session.Dir, 1));
        Sleep(3000); // a few more passes against the held file
        ExpectServerSound(session, usage);
    }
    std::vector<std::string> sent = session.PlayCalls({after});
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_TRUE(WaitForDisplay(session.Dir, 2, CallRecord(after), CALLS_WAIT_MS));
    EXPECT_TRUE(WaitForDisplay(session.Dir, 1, CallRecord(during), CALLS_WAIT_MS));
    ASSERT_TRUE(WaitForLogSize(session.Dir, 2));
    std::string raw = ReadWholeFile(session.Dir.Path(RAW_FILE));
    if (file == RAW_FILE)
        EXPECT_EQ(raw, sent[0] + "\r\n");
    else
        EXPECT_EQ(CrLfLines(raw).size(), 2u);
    ExpectServerSound(session, usage);
}

INSTANTIATE_TEST_SUITE_P(Files, HeldDataFile,
                         ::testing::Values(HeldFileCase{"StationDisplay", DISPLAY_FILE},
                                           HeldFileCase{"RawCapture", RAW_FILE}),
                         [](const ::testing::TestParamInfo<HeldFileCase> &info) {
                             return info.param.Name;
                         });

// Held while the server starts: the lines show "Waiting" once the file is free, not what the
// last run left in it.
TEST(HeldAtStart, StationDisplayShowsWaitingOnceFree) {
    Session session;
    session.Dir.WriteIni(session.UdpPort);
    session.Dir.WriteConfig(MakeConfig(PORT_UDP, 1, 4, CFG_LOGGING));
    const TestCall call{1, 'I', 'S', "555-150-0001", "DURING HOLD", "13:05"};
    {
        HeldFile hold(session.Dir.Path(DISPLAY_FILE));
        ASSERT_TRUE(hold.Held());
        ASSERT_TRUE(session.Server.Start());
        // The log is opened after the lines were to show "Waiting": a logged call shows that
        // start-up is over.
        ASSERT_EQ(session.PlayCalls({call}).size(), 1u);
        ASSERT_TRUE(WaitForLogSize(session.Dir, 1));
        EXPECT_EQ(FindMessageBox(session.Server.Process().Id(), nullptr, 0), nullptr);
    }
    EXPECT_TRUE(WaitForDisplay(session.Dir, 1, CallRecord(call), CALLS_WAIT_MS));
    for (int line = 2; line <= 4; line++)
        EXPECT_TRUE(WaitForDisplay(session.Dir, line, WaitingRecord(), CALLS_WAIT_MS)) << line;
}

struct LogLockCase {
    const char *Name;
    DWORD HoldAfterShownMs; // how long the lock stays after the server began to wait for it
    bool LoggedBeforeTheNextCall;
};

class LockedCallLog : public ::testing::TestWithParam<LogLockCase> {};

// Another program in a write transaction on the call log. The record manager waits up to 10 s
// for it; a call that arrives during a longer hold is kept and logged with the next one.
TEST_P(LockedCallLog, CallOfTheHoldIsLoggedOnce) {
    Session session;
    ASSERT_TRUE(session.StartServer(MakeConfig(0, 1, 4, LOG_AND_CAPTURE)));
    const UsageMark usage = MarkUsage(session.Server.Process());
    const std::string log = session.Dir.Path(CALL_LOG_FILE);
    // The log is opened after the lines show "Waiting": a first logged call shows it is open.
    const TestCall first{3, 'I', 'S', "555-200-0000", "BEFORE LOCK", "13:04"};
    ASSERT_EQ(session.PlayCalls({first}).size(), 1u);
    ASSERT_TRUE(WaitForLogSize(session.Dir, 1));
    // A hold at the level of the file's sharing cannot even be taken while the server has the
    // log open for writing.
    EXPECT_FALSE(HeldFile(log).Held());

    const TestCall during{1, 'I', 'S', "555-200-0001", "DURING LOCK", "13:05"};
    const TestCall after{2, 'I', 'S', "555-200-0002", "AFTER LOCK", "13:06"};
    {
        RecordFileLock lock(log);
        ASSERT_TRUE(lock.Held());
        ASSERT_EQ(session.PlayCalls({during}).size(), 1u);
        // The display is written before the insert waits for the log.
        ASSERT_TRUE(WaitForDisplay(session.Dir, 1, CallRecord(during), CALLS_WAIT_MS));
        DWORD shown = GetTickCount();
        // The tray keeps answering while the server thread waits for the log.
        EXPECT_TRUE(session.Server.WaitForServer(true, 5000));
        while (GetTickCount() - shown < GetParam().HoldAfterShownMs)
            Sleep(100);
    }
    Sleep(2000);
    EXPECT_EQ(ReadCallLog(session.Dir).size(), GetParam().LoggedBeforeTheNextCall ? 2u : 1u);
    ASSERT_EQ(session.PlayCalls({after}).size(), 1u);
    EXPECT_TRUE(WaitForDisplay(session.Dir, 2, CallRecord(after), CALLS_WAIT_MS));
    ASSERT_TRUE(WaitForLogSize(session.Dir, 3));
    Sleep(1000); // a duplicate would be inserted right after
    std::map<std::string, int> wanted{
        {Digits(first.Number), 1}, {Digits(during.Number), 1}, {Digits(after.Number), 1}};
    EXPECT_EQ(CountByNumber(ReadCallLog(session.Dir)), wanted);
    EXPECT_EQ(IntegrityCheck(log), "ok");
    ExpectServerSound(session, usage);
}

INSTANTIATE_TEST_SUITE_P(Holds, LockedCallLog,
                         ::testing::Values(LogLockCase{"ShorterThanTheWait", 3000, true},
                                           LogLockCase{"LongerThanTheWait", 15000, false}),
                         [](const ::testing::TestParamInfo<LogLockCase> &info) {
                             return info.param.Name;
                         });

// The test script's folder for requests to the Linux side, or "" without the script.
std::string ScriptRequests(const char *variable) {
    const char *dir = std::getenv(variable);
    return dir ? std::string(dir) + "\\" : "";
}

// Asks the test script to kill the server's Wine process with SIGKILL, found by the name of its
// program directory; true once the script has done so.
bool KillWithSigkill(const ProgramDir &dir) {
    std::string requests = ScriptRequests("RING_E2E_KILL_DIR");
    std::string folder = dir.Dir.substr(0, dir.Dir.size() - 1);
    folder = folder.substr(folder.find_last_of('\\') + 1);
    WriteWholeFile(requests + "kill.tmp", folder + "\n");
    MoveFileA((requests + "kill.tmp").c_str(), (requests + "kill.request").c_str());
    bool done = WaitUntil([&] { return FileExists(requests + "kill.done"); }, START_WAIT_MS);
    DeleteFileA((requests + "kill.done").c_str());
    return done;
}

enum class KillKind { TerminateProcess, Sigkill };

class KilledServer : public ::testing::TestWithParam<KillKind> {
  protected:
    void SetUp() override {
        if (GetParam() == KillKind::Sigkill && ScriptRequests("RING_E2E_KILL_DIR").empty())
            GTEST_SKIP() << "SIGKILL comes from storage_faults_test.sh";
    }
};

// Killed between or inside inserts: the log must open, pass its integrity check and hold every
// call committed before the kill exactly once, and a restarted server logs on.
TEST_P(KilledServer, LogKeepsEveryCommittedCallAndTheRestartLogsOn) {
    Session session;
    ASSERT_TRUE(session.StartServer(MakeConfig(0, 1, 4, CFG_LOGGING)));
    std::vector<TestCall> stream;
    std::set<std::string> sentNumbers;
    for (int i = 0; i < 40; i++) {
        char number[16], time[8];
        std::snprintf(number, sizeof number, "555-300-%04d", i);
        std::snprintf(time, sizeof time, "13:%02d", i);
        stream.push_back({1 + i % 4, 'I', 'S', number, "STREAM CALLER", time});
        sentNumbers.insert(Digits(number));
    }
    std::string scenario;
    for (const TestCall &call : stream) {
        char step[200];
        std::snprintf(step, sizeof step,
                      "call line=%d,dir=I,event=S,time=%s,number=%s,name=\"%s\"\n", call.Line,
                      call.Time24.c_str(), call.Number.c_str(), call.Name.c_str());
        scenario += step;
    }
    std::string scenarioFile = session.Dir.Path("stream.txt");
    WriteWholeFile(scenarioFile, scenario);
    UnitSimulator sim(session.LinkArguments() + " --scenario \"" + scenarioFile + "\" --log \"" +
                      session.Dir.Path("stream.log") + "\" --exit-after 60000");
    ASSERT_TRUE(sim.Running());
    ASSERT_TRUE(WaitForLogSize(session.Dir, 8));

    std::vector<CallLogRecord> committed = ReadCallLog(session.Dir);
    if (GetParam() == KillKind::Sigkill)
        ASSERT_TRUE(KillWithSigkill(session.Dir));
    else
        session.Server.Process().Kill();
    ASSERT_TRUE(session.Server.Process().WaitForExit(STOP_WAIT_MS));
    sim.Stop();

    const std::string log = session.Dir.Path(CALL_LOG_FILE);
    EXPECT_EQ(IntegrityCheck(log), "ok");
    std::vector<CallLogRecord> kept = ReadCallLog(session.Dir);
    ASSERT_GE(kept.size(), committed.size());
    std::map<std::string, int> counts = CountByNumber(kept);
    for (const CallLogRecord &record : committed)
        EXPECT_EQ(counts[GetTextPadded(record.Number)], 1) << GetTextPadded(record.Number);
    for (const auto &entry : counts) {
        EXPECT_EQ(entry.second, 1) << entry.first;
        EXPECT_EQ(sentNumbers.count(entry.first), 1u) << entry.first;
    }

    // The lock files of the killed run are left behind; the restart takes them over.
    Ringhold restarted(session.Dir);
    ASSERT_TRUE(restarted.Start());
    ASSERT_TRUE(WaitForLinesWaiting(session.Dir, 1, 4, START_WAIT_MS));
    const UsageMark usage = MarkUsage(restarted.Process());
    const TestCall fresh{2, 'I', 'S', "555-399-0000", "AFTER RESTART", "14:00"};
    ASSERT_EQ(session.PlayCalls({fresh}).size(), 1u);
    ASSERT_TRUE(WaitForLogSize(session.Dir, kept.size() + 1));
    EXPECT_EQ(CountByNumber(ReadCallLog(session.Dir))[Digits(fresh.Number)], 1);
    EXPECT_EQ(FindMessageBox(restarted.Process().Id(), nullptr, 0), nullptr);
    ExpectUsageWithinBounds(restarted.Process(), usage);
    EXPECT_TRUE(restarted.Exit());
    EXPECT_TRUE(session.Dir.LockFiles().empty());
}

INSTANTIATE_TEST_SUITE_P(Kills, KilledServer,
                         ::testing::Values(KillKind::TerminateProcess, KillKind::Sigkill),
                         [](const ::testing::TestParamInfo<KillKind> &info) {
                             return info.param == KillKind::Sigkill ? "Sigkill"
                                                                    : "TerminateProcess";
                         });

// Fills the file system with one file; it is removed again when this goes.
class DiskFiller {
  public:
    explicit DiskFiller(const std::string &path) : path_(path) {
        HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        std::string chunk(64 * 1024, 'F');
        DWORD put = 0;
        for (size_t size = chunk.size(); size > 0 && file != INVALID_HANDLE_VALUE; size /= 2) {
            while (WriteFile(file, chunk.data(), (DWORD)size, &put, nullptr) && put == size)
                Filled += put;
        }
        if (file != INVALID_HANDLE_VALUE)
            CloseHandle(file);
    }
    ~DiskFiller() { DeleteFileA(path_.c_str()); }
    uint64_t Filled = 0;

  private:
    std::string path_;
};

// The program directory on a small file system of its own that fills up while the server runs.
// Calls of that time are shown where the file has its room already; the log keeps them and
// logs them once there is room again.
TEST(FullDisk, ServerRidesOutTheFullDiskAndLosesNoCall) {
    std::string dir = ScriptRequests("RING_E2E_FULL_DIR");
    if (dir.empty())
        GTEST_SKIP() << "the small file system is mounted by storage_faults_test.sh";
    Session session(LinkKind::Udp, dir);
    ProgramDir scratch; // the simulator's files need room too
    session.SimFiles = scratch.Dir;
    ASSERT_TRUE(session.StartServer(MakeConfig(0, 1, 4, LOG_AND_CAPTURE)));
    const UsageMark usage = MarkUsage(session.Server.Process());
    const TestCall before{1, 'I', 'S', "555-400-0001", "BEFORE FULL", "13:05"};
    const TestCall during{2, 'I', 'S', "555-400-0002", "DISK FULL", "13:06"};
    const TestCall after{3, 'I', 'S', "555-400-0003", "ROOM AGAIN", "13:07"};
    std::set<std::string> sent;
    auto play = [&](const TestCall &call) {
        std::vector<std::string> reports = session.PlayCalls({call});
        sent.insert(reports.begin(), reports.end());
        return reports.size();
    };
    ASSERT_EQ(play(before), 1u);
    ASSERT_TRUE(WaitForLogSize(session.Dir, 1));
    // The capture is made to end 20 bytes short of a memory page, the file system's unit, so
    // that the next report fits there only in part.
    const std::string rawPath = session.Dir.Path(RAW_FILE);
    const size_t page = 4096;
    std::string padding = std::string(page - 20 - ReadWholeFile(rawPath).size() - 2, '#') + "\r\n";
    HANDLE capture = CreateFileA(rawPath.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD put = 0;
    ASSERT_TRUE(WriteFile(capture, padding.data(), (DWORD)padding.size(), &put, nullptr));
    CloseHandle(capture);
    sent.insert(padding.substr(0, padding.size() - 2));
    {
        DiskFiller filler(session.Dir.Path("filler.bin"));
        ASSERT_GT(filler.Filled, 0u);
        ASSERT_EQ(play(during), 1u);
        // The station display file has its room already: the caller is shown at once.
        EXPECT_TRUE(WaitForDisplay(session.Dir, 2, CallRecord(during), CALLS_WAIT_MS));
        Sleep(3000);
        ExpectServerSound(session, usage);
    }
    ASSERT_EQ(play(after), 1u);
    EXPECT_TRUE(WaitForDisplay(session.Dir, 3, CallRecord(after), CALLS_WAIT_MS));
    ASSERT_TRUE(WaitForLogSize(session.Dir, 3));
    Sleep(1000);
    std::map<std::string, int> wanted{
        {Digits(before.Number), 1}, {Digits(during.Number), 1}, {Digits(after.Number), 1}};
    EXPECT_EQ(CountByNumber(ReadCallLog(session.Dir)), wanted);
    EXPECT_EQ(IntegrityCheck(session.Dir.Path(CALL_LOG_FILE)), "ok");
    // Lines of the raw capture are whole: a report that did not fit is missing, not cut.
    std::string raw = ReadWholeFile(session.Dir.Path(RAW_FILE));
    size_t lines = 0;
    for (size_t at = 0, end; (end = raw.find("\r\n", at)) != std::string::npos; at = end + 2) {
        EXPECT_EQ(sent.count(raw.substr(at, end - at)), 1u) << raw.substr(at, end - at);
        lines++;
    }
    EXPECT_EQ(CrLfLines(raw).size(), lines);
    EXPECT_GE(lines, 3u) << raw;
    ExpectServerSound(session, usage);
    EXPECT_TRUE(session.Server.Exit());
}

} // namespace
