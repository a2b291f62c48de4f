// The About box procedure: fills the labels from the version resource and the server state, and
// paints them in the box's colours and fonts.
#include "about_dialog_win.h"

#include "file_version_win.h"
#include "prog_dir.h"
#include "pantry_font.h"
#include "server_state.h"
#include "shell_resources.h"
#include "shell_text.h"
#include "tray_win.h"

namespace {

// The GDI objects of one open About box, made before it opens and deleted after it ends.
struct AboutBoxLook {
    HFONT SmallFont;
    HFONT LargeFont;
    HBRUSH Background;
};

const COLORREF kBackground = RGB(0, 128, 192);

COLORREF LabelColour(int id) {
    switch (id) {
    case IDC_ABOUT_TITLE:
        return RGB(255, 255, 0);
    case IDC_ABOUT_VERSION:
        return RGB(0, 255, 0);
    default:
        return RGB(255, 255, 255);
    }
}

void FillAboutBox(HWND box, const AboutBoxLook &look) {
    FileVersion version;
    const VersionFound found = ReadFileVersion(ProgramFileOfModule(), version);
    SetDlgItemTextA(box, IDC_ABOUT_VERSION,
                    ("Server Version = " + VersionText(found, version)).c_str());
    const std::string status = ServerStatusText(g_Server.PortSel, g_Server.Running == 1,
                                                g_Server.StartSeconds, g_Server.StartDay);
    SetDlgItemTextA(box, IDC_ABOUT_STATUS, status.c_str());
    SetDlgItemTextA(box, IDC_ABOUT_UNITS, SupportedUnitsText(RING_SUPPLIER_WEB_ADDRESS).c_str());

    const struct {
        int Id;
        HFONT Font;
    } fonts[] = {{IDC_ABOUT_TITLE, look.LargeFont},
                 {IDC_ABOUT_VERSION, look.SmallFont},
                 {IDC_ABOUT_STATUS, look.LargeFont},
                 {IDC_ABOUT_UNITS, look.LargeFont}};
    for (const auto &f : fonts)
        if (f.Font)
            SendDlgItemMessageA(box, f.Id, WM_SETFONT, (WPARAM)f.Font, FALSE);
}

INT_PTR CALLBACK AboutBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto *look = reinterpret_cast<const AboutBoxLook *>(GetWindowLongPtrA(box, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG:
        SetWindowLongPtrA(box, DWLP_USER, lParam);
        g_Tray.AboutBox = box;
        FillAboutBox(box, *reinterpret_cast<const AboutBoxLook *>(lParam));
        return TRUE;
    case WM_CTLCOLORDLG:
        return look ? (INT_PTR)look->Background : FALSE;
    case WM_CTLCOLORSTATIC: {
        if (!look)
            return FALSE;
        HDC dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, LabelColour(GetDlgCtrlID(reinterpret_cast<HWND>(lParam))));
        SetBkColor(dc, kBackground);
        return (INT_PTR)look->Background;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDCLOSE || LOWORD(wParam) == IDCANCEL) {
            EndDialog(box, 0);
            return TRUE;
        }
        break;
    }
    return FALSE;
}

} // namespace

void OpenAboutBox(HWND owner) {
    if (g_Tray.AboutBox) {
        SetForegroundWindow(g_Tray.AboutBox);
        return;
    }
    AboutBoxLook look{MakeFontEx("MS Sans Serif", 12, 400, 0, 0, 0),
                      MakeFontEx("MS Sans Serif", 16, 400, 0, 0, 0), CreateSolidBrush(kBackground)};
    DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_ABOUT), owner, AboutBoxProc,
                    reinterpret_cast<LPARAM>(&look));
    g_Tray.AboutBox = nullptr;
    DeleteObject(look.SmallFont);
    DeleteObject(look.LargeFont);
    DeleteObject(look.Background);
}
