// How other programs find and drive a running Ringhold: its window, the messages its window
// procedure answers and the menu commands it carries out.
#pragma once
#include <windows.h>

#define RINGHOLD_WINDOW_CLASS "RINGHOLDR"
#define RINGHOLD_WINDOW_CAPTION "Quorl Vezedud Server (Enhanced)"

enum : UINT {
    // The tray icon's callback message; the mouse message is in the low word of lParam.
    WM_RINGHOLD_TRAY = WM_USER + 400,
    // Asks the shell for the server state; answered with RINGHOLD_STOPPED or RINGHOLD_RUNNING.
    // A window that does not know the message answers 0.
    WM_RINGHOLD_STATE = WM_APP + 1,
};

enum : LRESULT { RINGHOLD_STOPPED = 1, RINGHOLD_RUNNING = 2 };

// The tray menu's items (WM_COMMAND identifiers).
enum : UINT {
    ID_MENU_TITLE = 1464,
    ID_MENU_RUNNING = 1465,
    ID_MENU_EXIT = 1466,
    ID_MENU_ABOUT = 1467,
    ID_MENU_BOOT_LAUNCH = 1468,
};

// The answer of Ringhold's window to WM_RINGHOLD_STATE; 0 when it gave none within `waitMs`
// (the shell handles no messages while it waits for the server to start or stop).
inline LRESULT AskRingholdState(HWND window, UINT waitMs) {
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutA(window, WM_RINGHOLD_STATE, 0, 0, SMTO_NORMAL, waitMs, &answer))
        return 0;
    return (LRESULT)answer;
}
