// Ringhold's entry: the hidden main window that carries the tray icon, the server thread, and
// the message loop that lives as long as the window.
#include <windows.h>

#include "prog_dir.h"
#include "ringhold_exports_win.h"
#include "server_message.h"
#include "server_state.h"
#include "shell_control.h"
#include "tray_win.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    InitCommonControlsLibrary(0xFF);
    g_Server.ProgramDir = ProgramDirOfModule();

    WNDCLASSA windowClass{};
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = RingholdWindowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = RINGHOLD_WINDOW_CLASS;
    RegisterClassA(&windowClass);
    HWND window = CreateWindowA(RINGHOLD_WINDOW_CLASS, RINGHOLD_WINDOW_CAPTION, WS_OVERLAPPEDWINDOW,
                                5, 5, 10, 10, nullptr, nullptr, instance, nullptr);
    if (window == nullptr) {
        ServerMessage(nullptr, "Error Initializing System!!", "CID Server", MB_ICONERROR, false);
        return 0;
    }
    ShowWindow(window, SW_HIDE);
    UpdateWindow(window);
    StartServerThread();

    MSG message;
    while (IsWindow(window) && GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
