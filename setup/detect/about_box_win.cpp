// The About box procedure: the unit information line, and the box's colours and fonts.
#include "unit_detection_win.h"

#include "about_box_ids.h"
#include "pantry_font.h"
#include "ringtune_state_win.h"

namespace {

const COLORREF kPaleYellow = RGB(241, 237, 165);
const COLORREF kShadowGrey = RGB(128, 128, 128);

// The GDI objects of one open box, made before it opens and deleted after it ends.
struct AboutBoxLook {
    std::string unitInfo;
    HFONT titleFont;
    HFONT textFont;
    HBRUSH panel;
    HBRUSH shadow;
};

COLORREF TextColour(int id) {
    switch (id) {
    case IDC_ABOUT_TITLE:
        return RGB(0, 0, 255);
    case IDC_ABOUT_PRODUCT:
        return RGB(128, 0, 0);
    case IDC_ABOUT_INFO:
        return RGB(0, 0, 160);
    default:
        return RGB(0, 0, 0);
    }
}

void SetUpAboutBox(HWND box, const AboutBoxLook &look) {
    SetDlgItemTextA(box, IDC_ABOUT_INFO, look.unitInfo.c_str());
    const struct {
        int id;
        HFONT font;
    } fonts[] = {{IDC_ABOUT_TITLE, look.titleFont},
                 {IDC_ABOUT_PRODUCT, look.textFont},
                 {IDC_ABOUT_INFO_LABEL, look.textFont},
                 {IDC_ABOUT_INFO, look.textFont}};
    for (const auto &f : fonts) {
        if (f.font) {
            SendDlgItemMessageA(box, f.id, WM_SETFONT, reinterpret_cast<WPARAM>(f.font), FALSE);
        }
    }
}

INT_PTR LabelColours(const AboutBoxLook &look, HDC dc, int id) {
    if (id == IDC_ABOUT_SHADOW) {
        SetBkColor(dc, kShadowGrey);
        return reinterpret_cast<INT_PTR>(look.shadow);
    }
    SetTextColor(dc, TextColour(id));
    SetBkColor(dc, kPaleYellow);
    return reinterpret_cast<INT_PTR>(look.panel);
}

INT_PTR CALLBACK AboutBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto *look = reinterpret_cast<const AboutBoxLook *>(GetWindowLongPtrA(box, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG:
        SetWindowLongPtrA(box, DWLP_USER, lParam);
        SetUpAboutBox(box, *reinterpret_cast<const AboutBoxLook *>(lParam));
        return TRUE;
    case WM_CTLCOLORSTATIC:
        if (!look) {
            return FALSE;
        }
        return LabelColours(*look, reinterpret_cast<HDC>(wParam),
                            GetDlgCtrlID(reinterpret_cast<HWND>(lParam)));
    case WM_COMMAND:
        // Escape closes it like "Ok": the box only informs.
        if (LOWORD(wParam) == IDC_ABOUT_OK || LOWORD(wParam) == IDCANCEL) {
            EndDialog(box, 0);
            return TRUE;
        }
        break;
    }
    return FALSE;
}

} // namespace

void OpenAboutBox(HWND dialog, const std::string &unitInfo) {
    AboutBoxLook look{unitInfo, MakeFontEx("MS Sans Serif", 18, 400, 0, 0, 0),
                      MakeFontEx("MS Sans Serif", 10, 400, 0, 0, 0), CreateSolidBrush(kPaleYellow),
                      CreateSolidBrush(kShadowGrey)};
    DialogBoxParamA(g_ringtune.module, "ABOUTBOX", dialog, AboutBoxProc,
                    reinterpret_cast<LPARAM>(&look));
    DeleteObject(look.titleFont);
    DeleteObject(look.textFont);
    DeleteObject(look.panel);
    DeleteObject(look.shadow);
}
