// The purge dialog's procedure: its colours and fonts, and its two buttons.
#include "purge_log_win.h"

#include "pantry_font.h"
#include "purge_dialog_ids.h"
#include "ringtune_state_win.h"

namespace {

const COLORREF kCream = RGB(255, 255, 204);
const COLORREF kShadow = RGB(100, 100, 100);
const COLORREF kBlue = RGB(0, 0, 255);

// The GDI objects of one open purge dialog, made before it opens and deleted after it ends.
struct PurgeDialogLook {
    HFONT titleFont;
    HFONT textFont;
    HBRUSH cream;
    HBRUSH shadow;
};

void SetFonts(HWND box, const PurgeDialogLook &look) {
    const struct {
        int id;
        HFONT font;
    } fonts[] = {{IDC_PURGE_TITLE, look.titleFont},
                 {IDC_PURGE_EXPLAIN, look.textFont},
                 {IDC_PURGE_OLDER, look.textFont},
                 {IDC_PURGE_DAYS, look.textFont},
                 {IDC_PURGE_DAYS_UNIT, look.textFont}};
    for (const auto &f : fonts) {
        if (f.font) {
            SendDlgItemMessageA(box, f.id, WM_SETFONT, reinterpret_cast<WPARAM>(f.font), FALSE);
        }
    }
}

// Labels on the cream panel get its brush; the others keep the dialog's own background.
INT_PTR ControlColours(const PurgeDialogLook &look, HDC dc, int id) {
    switch (id) {
    case IDC_PURGE_SHADOW:
        SetBkColor(dc, kShadow);
        return reinterpret_cast<INT_PTR>(look.shadow);
    case IDC_PURGE_TITLE:
        SetTextColor(dc, kBlue);
        SetBkColor(dc, kCream);
        return reinterpret_cast<INT_PTR>(look.cream);
    case IDC_PURGE_EXPLAIN:
        SetTextColor(dc, RGB(160, 0, 0));
        SetBkColor(dc, kCream);
        return reinterpret_cast<INT_PTR>(look.cream);
    case IDC_PURGE_OLDER:
    case IDC_PURGE_DAYS_UNIT:
        SetTextColor(dc, kBlue);
        SetBkMode(dc, TRANSPARENT);
        return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
    case IDC_PURGE_DAYS:
        SetTextColor(dc, RGB(255, 0, 0));
        SetBkColor(dc, GetSysColor(COLOR_WINDOW));
        return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_WINDOW));
    }
    return FALSE;
}

INT_PTR CALLBACK PurgeDialogProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto *look = reinterpret_cast<const PurgeDialogLook *>(GetWindowLongPtrA(box, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG:
        SetWindowLongPtrA(box, DWLP_USER, lParam);
        SetFonts(box, *reinterpret_cast<const PurgeDialogLook *>(lParam));
        return TRUE;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
        if (!look) {
            return FALSE;
        }
        return ControlColours(*look, reinterpret_cast<HDC>(wParam),
                              GetDlgCtrlID(reinterpret_cast<HWND>(lParam)));
    case WM_COMMAND:
        // While a purge runs, nothing may start another or close the dialog under it: the
        // close box and Escape arrive here as IDCANCEL.
        if (g_ringtune.call.busy) {
            return TRUE;
        }
        switch (LOWORD(wParam)) {
        case IDC_PURGE_GO:
            PurgeLog(box);
            return TRUE;
        case IDC_PURGE_CANCEL:
        case IDCANCEL:
            EndDialog(box, 0);
            return TRUE;
        }
        break;
    }
    return FALSE;
}

} // namespace

void PurgeLogDialog(HWND dialog) {
    PurgeDialogLook look{MakeFontEx("MS Sans Serif", 16, 400, 0, 0, 0),
                         MakeFontEx("MS Sans Serif", 8, 400, 0, 0, 0), CreateSolidBrush(kCream),
                         CreateSolidBrush(kShadow)};
    DialogBoxParamA(g_ringtune.module, "PURGELOG", dialog, PurgeDialogProc,
                    reinterpret_cast<LPARAM>(&look));
    DeleteObject(look.titleFont);
    DeleteObject(look.textFont);
    DeleteObject(look.cream);
    DeleteObject(look.shadow);
}
