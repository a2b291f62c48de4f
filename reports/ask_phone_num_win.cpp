// The number dialog's procedure: "Ok" (also Enter, as the default button) keeps the text; any
// other way out leaves the answer empty.
#include "ask_phone_num_win.h"

#include "ringtally_ids.h"
#include "ringtally_state_win.h"

#include <vector>

namespace {

void KeepAnswer(HWND dialog, std::string &answer) {
    const HWND box = GetDlgItem(dialog, IDC_PHONE_NUMBER);
    std::vector<char> text(static_cast<size_t>(GetWindowTextLengthA(box)) + 1);
    GetWindowTextA(box, text.data(), static_cast<int>(text.size()));
    answer = text.data();
}

INT_PTR CALLBACK AskPhoneNumProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_PHONE_OK) {
            KeepAnswer(dialog,
                       *reinterpret_cast<std::string *>(GetWindowLongPtrA(dialog, DWLP_USER)));
            EndDialog(dialog, IDOK);
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

std::string AskPhoneNum(HWND owner) {
    std::string answer;
    DialogBoxParamA(g_ringtally.module, MAKEINTRESOURCEA(IDD_ASK_PHONE_NUM), owner, AskPhoneNumProc,
                    reinterpret_cast<LPARAM>(&answer));
    return answer;
}
