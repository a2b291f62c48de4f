// Finding and answering the host's own windows from a second thread.
#include "box_watcher_win.h"

#include <commctrl.h>

#include <cstdio>

#include "ringhold_harness.h"

namespace {

struct Search {
    const char *caption;
    HWND found;
};

BOOL CALLBACK MatchOwnDialog(HWND window, LPARAM lParam) {
    auto *search = reinterpret_cast<Search *>(lParam);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    char className[16] = "", caption[128] = "";
    GetClassNameA(window, className, sizeof className);
    GetWindowTextA(window, caption, sizeof caption);
    if (pid != GetCurrentProcessId() || std::string(className) != "#32770" ||
        !IsWindowVisible(window)) {
        return TRUE;
    }
    const bool wanted = search->caption ? std::string(caption) == search->caption
                                        : GetDlgItem(window, 0xFFFF) != nullptr;
    if (wanted) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

INT_PTR CALLBACK TestDialogProc(HWND dialog, UINT message, WPARAM, LPARAM) {
    if (message == WM_INITDIALOG) {
        for (const char *item :
             {"COM1", "COM2", "COM3", "COM4", "COM5", "COM6", "COM7", "COM8", "IP UDP/IP"}) {
            SendDlgItemMessageA(dialog, 190, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
        }
        return TRUE;
    }
    return FALSE;
}

} // namespace

HWND FindOwnDialog(const char *caption, DWORD waitMs) {
    const DWORD start = GetTickCount();
    do {
        Search search{caption, nullptr};
        EnumWindows(MatchOwnDialog, reinterpret_cast<LPARAM>(&search));
        if (search.found) {
            return search.found;
        }
        Sleep(20);
    } while (GetTickCount() - start < waitMs);
    return nullptr;
}

bool AnswerMessageBox(HWND box) {
    char caption[128] = "";
    GetWindowTextA(box, caption, sizeof caption);
    PrintLine(std::string("box ") + caption + "|" + MessageBoxText(box));
    return PressButton(box, IDOK);
}

void PrintLine(const std::string &line) {
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

HWND CreateTestDialog() {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_INTERNET_CLASSES};
    InitCommonControlsEx(&controls);
    return CreateDialogParamA(GetModuleHandleA(nullptr), "TESTHOST", nullptr, TestDialogProc, 0);
}
