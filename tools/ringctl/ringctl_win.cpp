// ringctl: starts, stops and ends a running Ringhold by sending its window the messages its own
// tray menu would, so scripts need not answer the "Quit?" box and never close a running server.
//
//   ringctl status   prints "running" or "stopped"           exit 0 running, 1 stopped
//   ringctl start    starts the server unless it runs           exit 0 running, 1 not running
//   ringctl stop     stops the server and waits (up to 70 s)    exit 0 stopped, 1 still running
//   ringctl end      stops the server, closes Ringhold, waits   exit 0 ended, 1 did not end
//   ringctl menu     opens the tray menu, as a right click does exit 0
//   ringctl dismiss  closes an open tray menu without choosing exit 0
//   ringctl choose N chooses tray menu item N (1465 Running, 1466 Exit, 1467 About,
//                    1468 Launch at System Boot) without waiting for its effect   exit 0
// Exit 2: unknown command or item; exit 3: no Ringhold window (or it never answered).
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <windows.h>

#include "shell_control.h"

namespace {

enum ExitCode { kDone = 0, kNotReached = 1, kUsage = 2, kNoRinghold = 3 };

// The shell answers nothing while it sleeps in its own start (3 s) or stop wait (up to 60 s).
const DWORD kAnswerWaitMs = 10000;
const DWORD kStopWaitMs = 70000;
const DWORD kStartWaitMs = 15000;
const DWORD kEndWaitMs = 30000;

// Asks until the shell answers `wanted` (any answer when 0) or `waitMs` pass; returns the last.
LRESULT WaitForState(HWND window, LRESULT wanted, DWORD waitMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        const LRESULT state = AskRingholdState(window, 1000);
        if (state != 0 && (wanted == 0 || state == wanted))
            return state;
        if (!IsWindow(window) || GetTickCount() - start >= waitMs)
            return state;
        Sleep(250);
    }
}

// Moves the server to `wanted` by the "Running" menu command when it is not there yet.
LRESULT SwitchServer(HWND window, LRESULT wanted, DWORD waitMs) {
    const LRESULT state = WaitForState(window, 0, kAnswerWaitMs);
    if (state == 0 || state == wanted)
        return state;
    PostMessageA(window, WM_COMMAND, ID_MENU_RUNNING, 0);
    return WaitForState(window, wanted, waitMs);
}

int EndRinghold(HWND window) {
    if (SwitchServer(window, RINGHOLD_STOPPED, kStopWaitMs) != RINGHOLD_STOPPED)
        return kNotReached;
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, processId);
    PostMessageA(window, WM_CLOSE, 0, 0);
    if (process == nullptr)
        return kNotReached;
    const DWORD waited = WaitForSingleObject(process, kEndWaitMs);
    CloseHandle(process);
    return waited == WAIT_OBJECT_0 ? kDone : kNotReached;
}

int Usage() {
    std::fprintf(stderr, "usage: ringctl status|start|stop|end|menu|dismiss|choose ITEM\n");
    return kUsage;
}

// The menu item named by `text`, or 0 when it is not one of the four commands.
UINT MenuItem(const char *text) {
    char *end = nullptr;
    const unsigned long item = std::strtoul(text, &end, 10);
    if (*text == '\0' || *end != '\0' || item < ID_MENU_RUNNING || item > ID_MENU_BOOT_LAUNCH)
        return 0;
    return (UINT)item;
}

} // namespace

int main(int argc, char **argv) {
    if (argc < 2)
        return Usage();
    const char *command = argv[1];
    const bool choose = !std::strcmp(command, "choose");
    const UINT item = choose && argc == 3 ? MenuItem(argv[2]) : 0;
    const bool known = !std::strcmp(command, "status") || !std::strcmp(command, "start") ||
                       !std::strcmp(command, "stop") || !std::strcmp(command, "end") ||
                       !std::strcmp(command, "menu") || !std::strcmp(command, "dismiss");
    if (choose ? item == 0 : !known || argc != 2)
        return Usage();
    HWND window = FindWindowA(RINGHOLD_WINDOW_CLASS, nullptr);
    if (window == nullptr) {
        std::fprintf(stderr, "ringctl: Ringhold is not running\n");
        return kNoRinghold;
    }
    if (!std::strcmp(command, "menu")) {
        PostMessageA(window, WM_RINGHOLD_TRAY, 0, WM_RBUTTONDOWN);
        return kDone;
    }
    if (!std::strcmp(command, "dismiss")) {
        // The default handling of this message ends the menu the window is tracking.
        PostMessageA(window, WM_CANCELMODE, 0, 0);
        return kDone;
    }
    if (choose) {
        PostMessageA(window, WM_COMMAND, item, 0);
        return kDone;
    }
    if (!std::strcmp(command, "end"))
        return EndRinghold(window);

    LRESULT state = 0;
    if (!std::strcmp(command, "status"))
        state = WaitForState(window, 0, kAnswerWaitMs);
    else if (!std::strcmp(command, "start"))
        state = SwitchServer(window, RINGHOLD_RUNNING, kStartWaitMs);
    else
        state = SwitchServer(window, RINGHOLD_STOPPED, kStopWaitMs);
    if (state == 0) {
        std::fprintf(stderr, "ringctl: Ringhold does not answer\n");
        return kNoRinghold;
    }
    std::printf("%s\n", state == RINGHOLD_RUNNING ? "running" : "stopped");
    const bool wantStopped = !std::strcmp(command, "stop");
    return (state == RINGHOLD_STOPPED) == wantStopped ? kDone : kNotReached;
}
