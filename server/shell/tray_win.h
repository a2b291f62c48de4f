// The hidden main window of Ringhold: tray icon, pop-up menu, and the orderly end of the program.
#pragma once
#include <windows.h>

#include <shellapi.h>

// Everything the tray shell keeps between messages; reset by destroying the window.
struct TrayShell {
    HWND Window = nullptr;
    int DisplayState = 0;    // 0 not yet determined, 1 running icon shown, 2 stopped icon shown
    int TickGuard = 0;       // 1 while a timer tick is handled
    bool IconAdded = false;  // the tray holds the icon; ticks add it again while it does not
    UINT TaskbarCreated = 0; // broadcast by the shell when its taskbar is (re-)created
    HMENU Menu = nullptr;
    HWND AboutBox = nullptr; // the open About box, if any
    NOTIFYICONDATAA Icon{};
};

extern TrayShell g_Tray;

LRESULT CALLBACK RingholdWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
