// The progress window's dialog procedure.
#include <windows.h>

#include <commctrl.h>

#include "engine_windows_win.h"
#include "prnview_resources.h"

namespace {

struct ProgressStart {
    const std::string *title;
    bool *cancelled;
};

void MarkCancelled(HWND dlg) {
    *reinterpret_cast<bool *>(GetWindowLongPtrA(dlg, GWLP_USERDATA)) = true;
    EnableWindow(GetDlgItem(dlg, IDCANCEL), FALSE);
}

INT_PTR CALLBACK ProgressProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_INITDIALOG: {
        auto *start = reinterpret_cast<ProgressStart *>(lp);
        SetWindowLongPtrA(dlg, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(start->cancelled));
        SetWindowTextA(dlg, start->title->c_str());
        SetDlgItemTextA(dlg, IDC_PROGRESS_TEXT, start->title->c_str());
        SendDlgItemMessageA(dlg, IDC_PROGRESS_BAR, PBM_SETRANGE32, 0, 100);
        return TRUE;
    }
    case WM_COMMAND:
        if (LOWORD(wp) == IDCANCEL)
            MarkCancelled(dlg);
        return TRUE;
    case WM_CLOSE:
        MarkCancelled(dlg);
        return TRUE;
    }
    return FALSE;
}

} // namespace

HWND OpenProgressWindow(HWND owner, const std::string &title, bool *cancelled) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    ProgressStart start{&title, cancelled};
    return CreateDialogParamA(EngineModule(), MAKEINTRESOURCEA(IDD_PROGRESS), owner, ProgressProc,
                              reinterpret_cast<LPARAM>(&start));
}

void ShowProgressPercent(HWND progress, int percent) {
    SendDlgItemMessageA(progress, IDC_PROGRESS_BAR, PBM_SETPOS, percent, 0);
}
