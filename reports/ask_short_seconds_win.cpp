// The seconds dialog's procedure: OK takes the value only when it is one the list accepts, and
// otherwise says so and stays; Cancel or closing ends the list.
#include "ask_short_seconds_win.h"

#include "callback_list.h"
#include "ringtally_ids.h"
#include "ringtally_message_win.h"
#include "ringtally_state_win.h"

#include <string>
#include <vector>

namespace {

std::string ItemText(HWND dialog, int id) {
    const HWND item = GetDlgItem(dialog, id);
    std::vector<char> text(static_cast<size_t>(GetWindowTextLengthA(item)) + 1);
    GetWindowTextA(item, text.data(), static_cast<int>(text.size()));
    return text.data();
}

void Refuse(HWND dialog) {
    TallyMessage(dialog, "Enter a number of seconds from 1 to 600.", "Callback List",
                 MB_ICONEXCLAMATION);
    const HWND edit = GetDlgItem(dialog, IDC_SHORT_SECONDS);
    SetFocus(edit);
    SendMessageA(edit, EM_SETSEL, 0, -1);
}

INT_PTR CALLBACK AskShortSecondsProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        SetDlgItemTextA(dialog, IDC_SHORT_SECONDS, "20");
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            auto *seconds = reinterpret_cast<int32_t *>(GetWindowLongPtrA(dialog, DWLP_USER));
            if (ParseCallbackSeconds(ItemText(dialog, IDC_SHORT_SECONDS), *seconds))
                EndDialog(dialog, IDOK);
            else
                Refuse(dialog);
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        }
        break;
    }
    return FALSE;
}

} // namespace

bool AskShortSeconds(HWND owner, int32_t &seconds) {
    return DialogBoxParamA(g_ringtally.module, MAKEINTRESOURCEA(IDD_CALLBACK_SECONDS), owner,
                           AskShortSecondsProc, reinterpret_cast<LPARAM>(&seconds)) == IDOK;
}
