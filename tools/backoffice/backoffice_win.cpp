// BackOffice.exe: one window with a button per library export of the caller-ID system. Like the
// POS back office it runs from the program directory, loads each library by name when its
// button is pressed and calls the export with its own window as owner.
#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <string>

namespace {

struct ExportButton {
    const char *label;
    const char *library;
    const char *exportName;
};

// The one place the buttons are listed: a new export is one more row.
const ExportButton kButtons[] = {
    {"Caller ID Setup", "Ringtune.dll", "SetupCID"},
    {"Inbound Call Log", "Ringtally.dll", "IBLogRpt"},
    {"Outbound Call Log", "Ringtally.dll", "OBLogRpt"},
    {"Call Statistics", "Ringtally.dll", "CllStsRpt"},
    {"Calls by Number", "Ringtally.dll", "CllsByNum"},
    {"Callback List", "Ringtally.dll", "CallbackRpt"},
    {"Export Call Log (CSV)", "Ringtally.dll", "CallLogCsv"},
};

const char kWindowClass[] = "QuorlBackOffice";
const char kCaption[] = "Back Office";
const int kFirstButtonId = 100;
const int kButtonWidth = 220, kButtonHeight = 32, kMargin = 16;

// Every export takes the owner window, stdcall; its result tells the caller nothing.
using ExportEntry = int32_t(__stdcall *)(HWND owner);

// Libraries stay loaded for the life of the program, as in the back office: each keeps its
// state between calls.
void RunExport(HWND window, const ExportButton &button) {
    HMODULE library = LoadLibraryA(button.library);
    if (!library) {
        MessageBoxA(window, (std::string("Cannot load ") + button.library).c_str(), kCaption,
                    MB_OK | MB_ICONERROR);
        return;
    }
    auto entry = reinterpret_cast<ExportEntry>(
        reinterpret_cast<void *>(GetProcAddress(library, button.exportName)));
    if (!entry) {
        MessageBoxA(window,
                    (std::string(button.library) + " has no export " + button.exportName).c_str(),
                    kCaption, MB_OK | MB_ICONERROR);
        return;
    }
    entry(window);
}

void CreateButtons(HWND window) {
    HFONT font = (HFONT)GetStockObject(DEFAULT_GUI_FONT);
    int y = kMargin;
    for (size_t i = 0; i < sizeof kButtons / sizeof kButtons[0]; i++) {
        HWND button = CreateWindowA("BUTTON", kButtons[i].label,
                                    WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, kMargin, y,
                                    kButtonWidth, kButtonHeight, window,
                                    (HMENU)(INT_PTR)(kFirstButtonId + i), nullptr, nullptr);
        SendMessageA(button, WM_SETFONT, (WPARAM)font, FALSE);
        y += kButtonHeight + kMargin / 2;
    }
}

LRESULT CALLBACK BackOfficeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        CreateButtons(window);
        return 0;
    case WM_COMMAND: {
        const size_t index = (size_t)(LOWORD(wParam) - kFirstButtonId);
        if (HIWORD(wParam) == BN_CLICKED && index < sizeof kButtons / sizeof kButtons[0])
            RunExport(window, kButtons[index]);
        return 0;
    }
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
    INITCOMMONCONTROLSEX init{sizeof init, ICC_WIN95_CLASSES | ICC_INTERNET_CLASSES};
    InitCommonControlsEx(&init);

    WNDCLASSA cls{};
    cls.lpfnWndProc = BackOfficeProc;
    cls.hInstance = instance;
    cls.hCursor = LoadCursor(nullptr, IDC_ARROW);
    cls.hbrBackground = (HBRUSH)(COLOR_BTNFACE + 1);
    cls.lpszClassName = kWindowClass;
    RegisterClassA(&cls);

    const int rows = (int)(sizeof kButtons / sizeof kButtons[0]);
    RECT frame{0, 0, kButtonWidth + 2 * kMargin,
               kMargin + rows * (kButtonHeight + kMargin / 2) + kMargin / 2};
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    AdjustWindowRect(&frame, style, FALSE);
    HWND window = CreateWindowA(kWindowClass, kCaption, style, CW_USEDEFAULT, CW_USEDEFAULT,
                                frame.right - frame.left, frame.bottom - frame.top, nullptr,
                                nullptr, instance, nullptr);
    if (!window)
        return 1;
    ShowWindow(window, show);
    UpdateWindow(window);

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (!IsDialogMessageA(window, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    return (int)msg.wParam;
}
