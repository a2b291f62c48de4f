// The background sync: a hidden top-level window (so Windows ends it at log-off and /stop can
// find it) and a worker thread that makes a pass every Interval seconds. The window's thread
// only waits for messages, so a long pass never keeps a stop waiting for the window.
#include "sync_commands_win.h"

#include "sync_instance_win.h"
#include "sync_run_win.h"
#include "sync_site_win.h"

#include <windows.h>

namespace {

// Every day of the log is compared at the first pass and then once an hour.
const ULONGLONG EVERY_DAY_PERIOD_MS = 60ULL * 60 * 1000;
// A pass ends between two batches once asked; a batch takes well under this.
const DWORD WORKER_STOP_WAIT_MS = 60000;

struct Worker {
    std::string ProgramDir;
    SyncSettings Settings;
    HANDLE StopEvent = nullptr;
    HANDLE Thread = nullptr;
};

Worker g_Worker;

DWORD WINAPI PassLoop(LPVOID) {
    const auto stopRequested = [] { return WaitForSingleObject(g_Worker.StopEvent, 0) == 0; };
    ULONGLONG lastEveryDay = 0;
    bool first = true;
    do {
        const ULONGLONG now = GetTickCount64();
        const bool everyDay = first || now - lastEveryDay >= EVERY_DAY_PERIOD_MS;
        if (RunRecordedPass(g_Worker.ProgramDir, g_Worker.Settings, everyDay, stopRequested) &&
            everyDay) {
            lastEveryDay = now;
            first = false;
        }
    } while (WaitForSingleObject(g_Worker.StopEvent,
                                 static_cast<DWORD>(g_Worker.Settings.IntervalSeconds) * 1000) ==
             WAIT_TIMEOUT);
    return 0;
}

void StopWorker() {
    if (!g_Worker.Thread)
        return;
    SetEvent(g_Worker.StopEvent);
    WaitForSingleObject(g_Worker.Thread, WORKER_STOP_WAIT_MS);
    CloseHandle(g_Worker.Thread);
    g_Worker.Thread = nullptr;
}

LRESULT CALLBACK SyncWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CLOSE:
        StopWorker();
        DestroyWindow(window);
        return 0;
    case WM_QUERYENDSESSION:
        return TRUE;
    case WM_ENDSESSION:
        if (wParam)
            StopWorker();
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

HWND CreateSyncWindow(const std::string &programDir) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = SyncWindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = RINGSYNC_WINDOW_CLASS;
    RegisterClassA(&windowClass);
    // The caption is the program directory: /stop finds the sync of its own directory by it.
    return CreateWindowA(RINGSYNC_WINDOW_CLASS, programDir.c_str(), WS_OVERLAPPED, 0, 0, 0, 0,
                         nullptr, nullptr, windowClass.hInstance, nullptr);
}

} // namespace

int RunInBackground(const std::string &programDir) {
    SyncInstance instance(programDir);
    if (!instance.Held())
        return SYNC_EXIT_ALREADY_RUNNING;
    g_Worker.ProgramDir = programDir;
    const std::string problem = ReadSyncSettings(programDir, g_Worker.Settings);
    if (!problem.empty()) {
        RecordFailedPass(programDir, problem);
        return SYNC_EXIT_BAD_SETTINGS;
    }
    HWND window = CreateSyncWindow(programDir);
    g_Worker.StopEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (!window || !g_Worker.StopEvent)
        return SYNC_EXIT_FAILED;
    g_Worker.Thread = CreateThread(nullptr, 0, PassLoop, nullptr, 0, nullptr);
    if (!g_Worker.Thread)
        return SYNC_EXIT_FAILED;
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    StopWorker();
    return SYNC_EXIT_OK;
}

namespace {

// The process behind the background sync's window of this directory; null when none runs.
HANDLE BackgroundProcess(const std::string &programDir) {
    HWND window = FindWindowA(RINGSYNC_WINDOW_CLASS, programDir.c_str());
    if (!window)
        return nullptr;
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, processId);
    PostMessageA(window, WM_CLOSE, 0, 0);
    return process;
}

} // namespace

int StopBackground(const std::string &programDir) {
    // Installers replace the program's files next, so the process must have gone, not only its
    // window. A second round catches one that started while the first was stopping.
    const DWORD waitMs = WORKER_STOP_WAIT_MS + 30000;
    for (int round = 0; round < 2; ++round) {
        HANDLE process = BackgroundProcess(programDir);
        if (!process)
            return FindWindowA(RINGSYNC_WINDOW_CLASS, programDir.c_str()) ? SYNC_EXIT_FAILED
                                                                          : SYNC_EXIT_OK;
        const bool gone = WaitForSingleObject(process, waitMs) == WAIT_OBJECT_0;
        CloseHandle(process);
        if (!gone)
            return SYNC_EXIT_FAILED;
    }
    return FindWindowA(RINGSYNC_WINDOW_CLASS, programDir.c_str()) ? SYNC_EXIT_FAILED : SYNC_EXIT_OK;
}
