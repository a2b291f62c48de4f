// The short waits of the unit set-up, which keep the calling thread's windows responsive.
#include "wait_ms.h"

#include <windows.h>

bool HandlePendingMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            // The thread's own message loop must still see it.
            PostQuitMessage(static_cast<int>(msg.wParam));
            return false;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return true;
}

void WaitMs(uint32_t ms) {
    const DWORD start = GetTickCount();
    bool quit = false;
    // Unsigned difference: stays right when the tick count wraps after 49.7 days.
    while (GetTickCount() - start < ms) {
        // After a quit the queue holds it again; taking it anew would spin.
        if (!quit) {
            quit = !HandlePendingMessages();
        }
        Sleep(1);
    }
}
