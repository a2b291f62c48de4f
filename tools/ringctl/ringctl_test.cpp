// ringctl against a real Ringhold: status, stop, start and end with their exit codes and output.
#include <gtest/gtest.h>

#include <windows.h>

#include "ringhold_harness.h"
#include "shell_control.h"

namespace {

struct RunResult {
    DWORD ExitCode = 99;
    std::string Output;
};

RunResult RunRingctl(const std::string &arguments) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE readEnd, writeEnd;
    if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0))
        return {};
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writeEnd;
    startup.hStdError = writeEnd;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    const std::string exe = BuildBinDir() + "ringctl.exe";
    std::string commandLine = "\"" + exe + "\" " + arguments;
    PROCESS_INFORMATION info{};
    RunResult result;
    if (CreateProcessA(exe.c_str(), &commandLine[0], nullptr, nullptr, TRUE, CREATE_NO_WINDOW,
                       nullptr, nullptr, &startup, &info)) {
        CloseHandle(writeEnd);
        char buffer[256];
        DWORD got = 0;
        while (ReadFile(readEnd, buffer, sizeof buffer, &got, nullptr) && got > 0)
            result.Output.append(buffer, got);
        WaitForSingleObject(info.hProcess, INFINITE);
        GetExitCodeProcess(info.hProcess, &result.ExitCode);
        CloseHandle(info.hProcess);
        CloseHandle(info.hThread);
    } else {
        CloseHandle(writeEnd);
    }
    CloseHandle(readEnd);
    return result;
}

std::string FirstLine(const std::string &text) {
    return text.substr(0, text.find_first_of("\r\n"));
}

} // namespace

TEST(Ringctl, DrivesARunningRingholdThroughStopStartAndEnd) {
    ProgramDir dir;
    dir.WriteUdpServerSetup();
    Ringhold ringhold(dir);
    ASSERT_TRUE(ringhold.Start());
    ASSERT_TRUE(WaitForState(ringhold.Window(), RINGHOLD_RUNNING, START_WAIT_MS));
    const struct {
        const char *Command;
        DWORD ExitCode;
        const char *Output; // first line of stdout; nullptr when not checked
        LRESULT StateAfter;
    } steps[] = {
        {"status", 0, "running", RINGHOLD_RUNNING},
        {"start", 0, "running", RINGHOLD_RUNNING},
        {"stop", 0, "stopped", RINGHOLD_STOPPED},
        {"status", 1, "stopped", RINGHOLD_STOPPED},
        {"stop", 0, "stopped", RINGHOLD_STOPPED},
        {"start", 0, "running", RINGHOLD_RUNNING},
        {"frobnicate", 2, nullptr, RINGHOLD_RUNNING},
        {"choose 1464", 2, nullptr, RINGHOLD_RUNNING},
        {"choose 1469", 2, nullptr, RINGHOLD_RUNNING},
        {"choose 14x", 2, nullptr, RINGHOLD_RUNNING},
        {"status now", 2, nullptr, RINGHOLD_RUNNING},
    };
    for (const auto &s : steps) {
        SCOPED_TRACE(s.Command);
        const RunResult run = RunRingctl(s.Command);
        EXPECT_EQ(run.ExitCode, s.ExitCode) << run.Output;
        if (s.Output) {
            EXPECT_EQ(FirstLine(run.Output), s.Output);
        }
        EXPECT_EQ(AskRingholdState(ringhold.Window(), START_WAIT_MS), s.StateAfter);
    }

    EXPECT_EQ(RunRingctl("end").ExitCode, 0u);
    ASSERT_TRUE(ringhold.Process().WaitForExit(START_WAIT_MS));
    EXPECT_EQ(ringhold.Process().ExitCode(), 0u);
    // The server was stopped first, so its lock file is gone.
    EXPECT_EQ(GetFileAttributesA((dir.Dir + "CONTROL\\Quorl.LCK").c_str()),
              INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(RunRingctl("status").ExitCode, 3u);
}
