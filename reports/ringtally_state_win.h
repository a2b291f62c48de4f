// Ringtally's library-wide state: the folders and store data refreshed at the start of each
// report, and whether a report is running.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

struct RingtallyState {
    HINSTANCE module = nullptr; // Ringtally.dll: its resources hold the number dialog
    bool running = false;       // a report runs: one started through the host meanwhile returns
    std::string programDir;     // with its trailing backslash
    std::string dataPath;
    std::string controlPath;
    uint8_t store[400] = {};
    uint8_t work[280] = {};
};

extern RingtallyState g_ringtally;

// Finds the folders and reads the store and work data; 0 when the reports cannot run.
int32_t InitRptPaths();
// The store name the page footers carry.
std::string StoreName();
