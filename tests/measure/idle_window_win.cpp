// A trivial one-window program that only runs its message loop: the memory baseline of any
// Windows program under Wine, against which Ringhold's working set is measured.
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = instance;
    wc.lpszClassName = "IDLEWINDOW";
    RegisterClassA(&wc);
    CreateWindowA("IDLEWINDOW", "idle", WS_OVERLAPPEDWINDOW, 5, 5, 10, 10, nullptr, nullptr,
                  instance, nullptr);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0)
        DispatchMessageA(&msg);
    return 0;
}
