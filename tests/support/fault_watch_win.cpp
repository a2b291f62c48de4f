// Fault test support on Windows: usage marks of a child process, the time Ringhold's window takes
// to answer, and the request files through which a test asks its script's Linux side for work.
#include "fault_watch.h"

#include <cstdlib>

#include "shell_control.h"

UsageMark MarkUsage(const ChildProcess &process) {
    return {process.Usage(), GetTickCount()};
}

UsageSpan UsageBetween(const UsageMark &from, const UsageMark &to) {
    UsageSpan span;
    span.WallMs = to.Tick - from.Tick;
    span.CpuMs = to.Usage.CpuMs - from.Usage.CpuMs;
    span.WorkingSetGrowth = static_cast<int64_t>(to.Usage.WorkingSetBytes) -
                            static_cast<int64_t>(from.Usage.WorkingSetBytes);
    return span;
}

long TimeRunningAnswer(HWND window, UINT waitMs) {
    const DWORD start = GetTickCount();
    if (AskRingholdState(window, waitMs) != RINGHOLD_RUNNING)
        return -1;
    return static_cast<long>(GetTickCount() - start);
}

bool LinuxSideAvailable() {
    return std::getenv("RING_E2E_SIM_DIR") != nullptr;
}

std::string LinuxSidePath(const std::string &name) {
    return std::string(std::getenv("RING_E2E_SIM_DIR")) + "\\" + name;
}

bool AskLinuxSide(const std::string &name, const std::string &request, DWORD waitMs) {
    // Written under another name first: the script must never read half a request.
    WriteWholeFile(LinuxSidePath(name + ".tmp"), request + "\n");
    MoveFileA(LinuxSidePath(name + ".tmp").c_str(), LinuxSidePath(name + ".request").c_str());
    return WaitUntil([&] { return FileExists(LinuxSidePath(name + ".done")); }, waitMs);
}
