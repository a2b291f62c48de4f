// The window's procedure. A report runs on the window's thread with the buttons disabled, so a
// second click cannot start another over the first; each report has a connection of its own and
// with it one snapshot of the database.
#include "hq_window_win.h"

#include "hq_database_win.h"
#include "hq_ids.h"
#include "hq_message_win.h"
#include "hq_prompts_win.h"
#include "hq_reports.h"
#include "hq_settings.h"
#include "ini_settings.h"
#include "prog_dir.h"
#include "report_bindings_win.h"

#include <commctrl.h>

namespace {

const UINT WM_LOAD_SITES = WM_APP + 1;
const char kAbsent[] = "\x7f<absent>\x7f";

struct HqWindow {
    HqSettings settings;
    std::vector<std::string> sites; // as listed after "All sites"
};

void ReadHqKey(const std::string &iniPath, const char *key, std::string &text, bool &present) {
    text = ReadProfileText(iniPath, HQ_INI_SECTION, key, kAbsent, 2048);
    present = text != kAbsent;
    if (!present)
        text.clear();
}

std::string ReadHqSettings(HqSettings &settings) {
    const std::string iniPath = ProgramDirOfModule() + HQ_INI_NAME;
    HqSettingsText text;
    ReadHqKey(iniPath, "Connection", text.Connection, text.HasConnection);
    ReadHqKey(iniPath, "Name", text.Name, text.HasName);
    return ParseHqSettings(text, settings);
}

bool Connect(HWND window, const HqWindow &state, OdbcHqDatabase &db) {
    if (db.Open(state.settings.Connection))
        return true;
    HqMessage(window, "Cannot connect to the head-office database: " + db.Error(),
              HQ_MESSAGE_CAPTION, MB_ICONERROR);
    return false;
}

void LoadSites(HWND window, HqWindow &state) {
    OdbcHqDatabase db;
    if (!Connect(window, state, db))
        return;
    if (!ReadSites(db, state.sites)) {
        HqMessage(window, "The head-office database could not be read: " + db.Error(),
                  HQ_MESSAGE_CAPTION, MB_ICONERROR);
        return;
    }
    HWND list = GetDlgItem(window, IDC_SITES);
    for (const std::string &site : state.sites)
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(site.c_str()));
}

// The site chosen in the list; "" for the whole chain.
std::string ChosenSite(HWND window, const HqWindow &state) {
    const LRESULT index = SendDlgItemMessageA(window, IDC_SITES, LB_GETCURSEL, 0, 0);
    if (index < 1 || static_cast<size_t>(index) > state.sites.size())
        return "";
    return state.sites[static_cast<size_t>(index) - 1];
}

void EnableReports(HWND window, bool enable) {
    for (int id : {IDC_CALL_STATS, IDC_SITE_COMPARISON, IDC_SITES})
        EnableWindow(GetDlgItem(window, id), enable);
}

void RunReport(HWND window, const HqWindow &state, int button) {
    EnableReports(window, false);
    OdbcHqDatabase db;
    if (Connect(window, state, db)) {
        HqJob job{ChosenSite(window, state), state.settings.Name, LocalClock};
        PrnviewEngine engine;
        HqPrompts prompts(window);
        if (button == IDC_CALL_STATS)
            RunHqStatistics(job, db, engine, prompts);
        else
            RunSiteComparison(job, db, engine, prompts);
    }
    EnableReports(window, true);
    SetFocus(GetDlgItem(window, button));
}

void InitWindow(HWND window, HqWindow &state) {
    SetWindowLongPtrA(window, DWLP_USER, reinterpret_cast<LONG_PTR>(&state));
    HWND list = GetDlgItem(window, IDC_SITES);
    SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(kAllSitesLabel));
    SendMessageA(list, LB_SETCURSEL, 0, 0);
    // After the window shows, so a failure's box has it as owner on the screen.
    PostMessageA(window, WM_LOAD_SITES, 0, 0);
}

INT_PTR CALLBACK HqWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto *state = reinterpret_cast<HqWindow *>(GetWindowLongPtrA(window, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG:
        InitWindow(window, *reinterpret_cast<HqWindow *>(lParam));
        return TRUE;
    case WM_LOAD_SITES:
        LoadSites(window, *state);
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_CALL_STATS:
        case IDC_SITE_COMPARISON:
            RunReport(window, *state, LOWORD(wParam));
            return TRUE;
        case IDC_SITES:
            if (HIWORD(wParam) == LBN_DBLCLK)
                RunReport(window, *state, IDC_CALL_STATS);
            return TRUE;
        case IDCANCEL:
            EndDialog(window, 0);
            return TRUE;
        }
        break;
    }
    return FALSE;
}

} // namespace

int RunRingHq(HINSTANCE instance) {
    HqWindow state;
    const std::string error = ReadHqSettings(state.settings);
    if (!error.empty()) {
        HqMessage(nullptr, error, HQ_MESSAGE_CAPTION, MB_ICONERROR);
        return 2;
    }
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_DATE_CLASSES};
    InitCommonControlsEx(&controls);
    DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_RINGHQ), nullptr, HqWindowProc,
                    reinterpret_cast<LPARAM>(&state));
    return 0;
}
