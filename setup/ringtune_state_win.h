// Ringtune's state: what lives as long as the library (the configuration record and the program
// directory) and what one SetupCID call holds, reset at the start of each call.
#pragma once
#include <windows.h>
#include <cstdint>
#include <string>
#include <vector>
#include "cid_config.h"

struct SetupCallState {
    HWND owner = nullptr;
    HWND dialog = nullptr;  // the configuration dialog while it is open
    int32_t restricted = 0; // the server was running when the call began
    HANDLE lockFile = INVALID_HANDLE_VALUE;
    int32_t exclLog = 0; // record manager handles of the two lists; 0 when not in use
    int32_t exclShow = 0;
    // The stored 16-byte number of each line of the two list boxes, which keep the index into
    // these as their item data: a line's text cannot give back more than 15 digits, or none.
    std::vector<std::string> exclLogNumbers;
    std::vector<std::string> exclShowNumbers;
    int32_t otherModel = 0;    // the selected model is not "Quorl Vezedud 2, 4, 8"
    HWND savedFocus = nullptr; // focus owner when the dialog was last deactivated
    HFONT comboFont = nullptr;
    int32_t busy = 0; // a serial search, unit query or purge runs: commands wait
};

struct RingtuneState {
    HINSTANCE module = nullptr; // Ringtune.dll itself: its resources hold every dialog
    std::string programDir;     // with its trailing backslash, fixed by ReadCidConfig
    CidConfig config{};         // survives between calls; a short file keeps its tail
    bool inCall = false;        // SetupCID is running: a second call returns at once
    SetupCallState call;
};

extern RingtuneState g_ringtune;
