// Answering the host's own message boxes from a second thread, and the host's test dialog.
#include "box_watcher_win.h"

#include <commctrl.h>

#include <cstdio>

#include "ringhold_harness.h"

namespace {

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
