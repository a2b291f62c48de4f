// The short waits of the unit set-up, which keep the calling thread's windows responsive.
#include "wait_ms.h"

#include <windows.h>

void WaitMs(uint32_t ms) {
    const DWORD start = GetTickCount();
    bool quit = false;
    WPARAM quitCode = 0;
    // Unsigned difference: stays right when the tick count wraps after 49.7 days.
    while (GetTickCount() - start < ms) {
        MSG msg;
        while (!quit && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                quit = true;
                quitCode = msg.wParam;
                break;
            }
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        Sleep(1);
    }
    // The thread's own message loop must still see a quit that arrived during the wait.
    if (quit) {
        PostQuitMessage(static_cast<int>(quitCode));
    }
}
