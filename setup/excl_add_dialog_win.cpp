// The procedure of the "Add Phone to Exclude" dialog.
#include "excl_add_dialog_win.h"

#include <string>

#include "excl_list.h"
#include "ringtune_resources.h"
#include "ringtune_state_win.h"

namespace {

struct ExclAddRequest {
    HFONT font;
    ExclRecord *record;
    HWND savedFocus; // the control that had the focus when the dialog was last deactivated
};

std::string ControlText(HWND dialog, int id) {
    HWND control = GetDlgItem(dialog, id);
    std::string text(static_cast<size_t>(GetWindowTextLengthA(control)) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(control, &text[0], (int)text.size())));
    return text;
}

INT_PTR CALLBACK ExclAddDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    auto *request = reinterpret_cast<ExclAddRequest *>(GetWindowLongPtrA(dialog, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG:
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        request = reinterpret_cast<ExclAddRequest *>(lParam);
        if (request->font)
            SendDlgItemMessageA(dialog, IDC_EXCL_NUMBER, WM_SETFONT, (WPARAM)request->font, FALSE);
        return TRUE;
    case WM_NCACTIVATE:
        if (!request)
            break;
        if (!wParam) {
            request->savedFocus = GetFocus();
        } else if (request->savedFocus) {
            SetFocus(request->savedFocus);
            request->savedFocus = nullptr;
        }
        break;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            *request->record = MakeExclRecord(ControlText(dialog, IDC_EXCL_NUMBER),
                                              ControlText(dialog, IDC_EXCL_NOTE));
            EndDialog(dialog, 1);
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, 0);
            return TRUE;
        }
        break;
    }
    return FALSE;
}

} // namespace

INT_PTR AskExclEntry(HWND owner, HFONT font, ExclRecord &record) {
    ExclAddRequest request{font, &record, nullptr};
    return DialogBoxParamA(g_ringtune.module, "EXCLADD", owner, ExclAddDialogProc,
                           reinterpret_cast<LPARAM>(&request));
}
