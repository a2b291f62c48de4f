// The progress window of a running purge: "Working..." and the count of records deleted so far.
#include "purge_log_win.h"

#include <string>

#include "pantry_font.h"
#include "purge_dialog_ids.h"
#include "ringtune_state_win.h"

namespace {

INT_PTR CALLBACK PurgeProgressProc(HWND box, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG: {
        HFONT font = MakeFontEx("MS Sans Serif", 18, 400, 0, 0, 0);
        SetWindowLongPtrA(box, DWLP_USER, reinterpret_cast<LONG_PTR>(font));
        if (font) {
            SendDlgItemMessageA(box, IDC_PROGRESS_TEXT, WM_SETFONT, reinterpret_cast<WPARAM>(font),
                                FALSE);
        }
        return TRUE;
    }
    case WM_CTLCOLORSTATIC:
        SetTextColor(reinterpret_cast<HDC>(wParam), RGB(0, 0, 255));
        SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
        return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
    case WM_DESTROY:
        DeleteObject(reinterpret_cast<HFONT>(GetWindowLongPtrA(box, DWLP_USER)));
        return TRUE;
    }
    return FALSE;
}

} // namespace

HWND CreatePurgeProgress(HWND purgeDialog) {
    return CreateDialogParamA(g_ringtune.module, "PURGEPROGRESS", purgeDialog, PurgeProgressProc,
                              0);
}

void ShowPurgeProgress(HWND progress, int32_t deleted) {
    const std::string text = "Working... " + std::to_string(deleted);
    SetDlgItemTextA(progress, IDC_PROGRESS_TEXT, text.c_str());
}
