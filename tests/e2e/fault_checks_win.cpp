// The checks fault tests share, over the harness's usage marks and message-box search.
#include "fault_checks.h"

#include <gtest/gtest.h>

#include <cstdio>

void ExpectUsageWithinBounds(const ChildProcess &process, const UsageMark &from) {
    const UsageSpan span = UsageBetween(from, MarkUsage(process));
    std::printf("server: %llu ms of processor time in %llu ms, working set %+lld KiB\n",
                (unsigned long long)span.CpuMs, (unsigned long long)span.WallMs,
                (long long)span.WorkingSetGrowth / 1024);
    // A quarter of a core plus a start allowance: a pass sleeps 500 ms, and a fault makes it
    // fail fast or wait, so even a loaded machine stays far below a spinning thread (most of a
    // core); 16 MB is far above any buffer a pass keeps, far below a leak of one per report.
    EXPECT_LE(span.CpuMs, span.WallMs / 4 + 3000) << "processor time";
    EXPECT_LT(span.WorkingSetGrowth, 16 * 1024 * 1024) << "working set growth";
}

void ExpectServerSound(Session &session, const UsageMark &from) {
    ChildProcess &process = session.Server.Process();
    ASSERT_TRUE(process.IsRunning());
    ExpectUsageWithinBounds(process, from);
    EXPECT_EQ(FindMessageBox(process.Id(), nullptr, 0), nullptr) << "a message box is open";
    EXPECT_GE(TimeRunningAnswer(session.Server.Window(), 5000), 0);
}

std::vector<std::string> CrLfLines(const std::string &text) {
    std::vector<std::string> lines;
    for (size_t at = 0, end; (end = text.find("\r\n", at)) != std::string::npos; at = end + 2)
        lines.push_back(text.substr(at, end - at));
    return lines;
}
