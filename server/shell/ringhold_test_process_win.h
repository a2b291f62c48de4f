// For tests: a copy of the built Ringhold.exe started in a fresh program directory, and the
// windows it shows.
#pragma once
#include <string>

#include "ringhold_harness.h"

struct RingholdSetup {
    // Writes DATA\QuorlCID.CFG for a UDP/IP link (unit model 1, no logging) and POSOvena.INI
    // with a port of its own, so the server starts and runs; without it start-up fails.
    bool Configured = false;
};

class RingholdProcess {
  public:
    explicit RingholdProcess(const RingholdSetup &setup);
    ~RingholdProcess();
    RingholdProcess(const RingholdProcess &) = delete;
    RingholdProcess &operator=(const RingholdProcess &) = delete;

    // Starts the program and waits for its main window; false when either fails.
    bool Start();
    // True when the process has ended within `waitMs`.
    bool WaitForEnd(DWORD waitMs);
    DWORD ExitCode();

    std::string Root;    // the temporary folder that holds everything
    std::string Dir;     // program directory, ending in a backslash
    std::string ExePath; // Dir + "Ringhold.exe"
    HWND Window = nullptr;
    HANDLE Process = nullptr;
    DWORD ProcessId = 0;
};

// A visible top-level window of class #32770 with this caption, owned by the process, within
// `waitMs`.
HWND FindDialog(DWORD processId, const char *caption, DWORD waitMs);
// True when the window has gone within `waitMs`.
bool WaitForWindowGone(HWND window, DWORD waitMs);
std::string ItemText(HWND dialog, int id);
// Asks until the answer is `wanted` or `waitMs` pass.
bool WaitForState(HWND window, LRESULT wanted, DWORD waitMs);
