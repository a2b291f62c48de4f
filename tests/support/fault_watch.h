// Support for fault tests: what a running server has used since a mark (to bound a spin or a
// leak), how quickly its window answers, and requests to the Linux side of a test script.
#pragma once
#include <string>

#include "ringhold_harness.h"

// Processor time and working set of a process at one moment, with the tick count of that moment.
struct UsageMark {
    ProcessUsage Usage;
    DWORD Tick = 0;
};
UsageMark MarkUsage(const ChildProcess &process);

// What the process used between two marks.
struct UsageSpan {
    uint64_t WallMs = 0;
    uint64_t CpuMs = 0;
    int64_t WorkingSetGrowth = 0; // bytes, negative when it shrank
};
UsageSpan UsageBetween(const UsageMark &from, const UsageMark &to);

// Milliseconds Ringhold's window took to answer a state query, or -1 when it did not answer
// within waitMs or answered that the server is not running.
long TimeRunningAnswer(HWND window, UINT waitMs);

// The test script's Linux side (RING_E2E_SIM_DIR): false when the test runs without it.
bool LinuxSideAvailable();
// Hands a request line to the Linux side as "<name>.request" in its folder and waits until it
// leaves "<name>.done"; false when it did not within waitMs. Files named in the request are
// relative to that folder; LinuxSidePath gives their Windows path.
bool AskLinuxSide(const std::string &name, const std::string &request, DWORD waitMs);
std::string LinuxSidePath(const std::string &name);
