// The configuration dialog's procedure and the moves of the settings between its controls and
// the configuration record.
#include "setup_dialog_win.h"

#include <commctrl.h>

#include <string>

#include "cid_config_file.h"
#include "dotted_address.h"
#include "excl_csv_win.h"
#include "excl_editor_win.h"
#include "pantry_font.h"
#include "purge_log_win.h"
#include "ringtune_message_win.h"
#include "ringtune_resources.h"
#include "ringtune_state_win.h"
#include "setup_values.h"
#include "unit_detection_win.h"

namespace {

// What restricted mode disables: every setting, the unit search and Save. The lists, Purge,
// About and Cancel stay usable.
const int kSettingControls[] = {IDC_LINE_COUNT,
                                IDC_PORT,
                                IDC_DETECT,
                                2000,
                                2001,
                                2002,
                                IDC_FILTER_IP,
                                IDC_UNIT_IP,
                                IDC_REFRESH_START,
                                IDC_REFRESH_END,
                                IDC_EXCL_SHOW,
                                1000,
                                1001,
                                1002,
                                1003,
                                IDC_RAW_OUTPUT,
                                IDC_NO_LOG_WITHHELD,
                                IDC_EXCL_LOG,
                                IDC_SAVE};

// What the model rules enable before a model other than the first takes some away again.
const int kModelDependentControls[] = {IDC_REFRESH_START,
                                       IDC_REFRESH_END,
                                       IDC_EXCL_SHOW,
                                       IDC_SHOW_LIST,
                                       IDC_SHOW_ADD,
                                       IDC_SHOW_DELETE,
                                       1000,
                                       1001,
                                       1002,
                                       1003,
                                       IDC_RAW_OUTPUT,
                                       IDC_NO_LOG_WITHHELD,
                                       IDC_EXCL_LOG,
                                       IDC_LOG_LIST,
                                       IDC_LOG_ADD,
                                       IDC_LOG_DELETE,
                                       IDC_PURGE};

// Only end-of-call work needs the first model: full logging and refresh at the end.
const int kFirstModelOnlyControls[] = {IDC_LEVEL_FULL_IN, IDC_LEVEL_LAST, IDC_REFRESH_END};

const COLORREF kGroupCaption = RGB(0, 0, 255);

void EnableControl(HWND dialog, int id, bool enable) {
    EnableWindow(GetDlgItem(dialog, id), enable ? TRUE : FALSE);
}

void FillList(HWND dialog, int id, const std::vector<std::string> &items) {
    for (const std::string &item : items)
        SendDlgItemMessageA(dialog, id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
}

std::string SelectedItem(HWND dialog, int id) {
    const LRESULT item = SendDlgItemMessageA(dialog, id, CB_GETCURSEL, 0, 0);
    if (item == CB_ERR)
        return "";
    const LRESULT length = SendDlgItemMessageA(dialog, id, CB_GETLBTEXTLEN, (WPARAM)item, 0);
    if (length == CB_ERR)
        return "";
    std::string text((size_t)length + 1, '\0');
    SendDlgItemMessageA(dialog, id, CB_GETLBTEXT, (WPARAM)item, reinterpret_cast<LPARAM>(&text[0]));
    text.resize((size_t)length);
    return text;
}

void SelectItem(HWND dialog, int id, const std::string &text) {
    LRESULT item = CB_ERR;
    if (!text.empty())
        item = SendDlgItemMessageA(dialog, id, CB_FINDSTRINGEXACT, (WPARAM)-1,
                                   reinterpret_cast<LPARAM>(text.c_str()));
    SendDlgItemMessageA(dialog, id, CB_SETCURSEL, (WPARAM)item, 0);
}

// The offset from `first` of the checked option of the group, or -1.
int CheckedOption(HWND dialog, int first, int last) {
    for (int id = first; id <= last; id++)
        if (IsDlgButtonChecked(dialog, id) == BST_CHECKED)
            return id - first;
    return -1;
}

void CheckOption(HWND dialog, int first, int last, int offset) {
    for (int id = first; id <= last; id++)
        CheckDlgButton(dialog, id, id - first == offset ? BST_CHECKED : BST_UNCHECKED);
}

bool Checked(HWND dialog, int id) {
    return IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}

void Check(HWND dialog, int id, bool on) {
    CheckDlgButton(dialog, id, on ? BST_CHECKED : BST_UNCHECKED);
}

std::string ControlText(HWND dialog, int id) {
    char text[64] = "";
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

SetupValues ReadDialogValues(HWND dialog) {
    SetupValues v;
    v.lineItem = SelectedItem(dialog, IDC_LINE_COUNT);
    v.portItem = SelectedItem(dialog, IDC_PORT);
    v.model = CheckedOption(dialog, IDC_MODEL_FIRST, IDC_MODEL_LAST);
    v.refresh = CheckedOption(dialog, IDC_REFRESH_START, IDC_REFRESH_END);
    v.level = CheckedOption(dialog, IDC_LEVEL_FIRST, IDC_LEVEL_LAST);
    v.rawOutput = Checked(dialog, IDC_RAW_OUTPUT);
    v.noLogWithheld = Checked(dialog, IDC_NO_LOG_WITHHELD);
    v.exclLog = Checked(dialog, IDC_EXCL_LOG);
    v.exclShow = Checked(dialog, IDC_EXCL_SHOW);
    v.filterIp = Checked(dialog, IDC_FILTER_IP);
    v.ipText = ControlText(dialog, IDC_UNIT_IP);
    return v;
}

void ShowDialogValues(HWND dialog, const SetupValues &v) {
    CheckOption(dialog, IDC_MODEL_FIRST, IDC_MODEL_LAST, v.model);
    SelectItem(dialog, IDC_PORT, v.portItem);
    CheckOption(dialog, IDC_LEVEL_FIRST, IDC_LEVEL_LAST, v.level);
    CheckOption(dialog, IDC_REFRESH_START, IDC_REFRESH_END, v.refresh);
    SelectItem(dialog, IDC_LINE_COUNT, v.lineItem);
    Check(dialog, IDC_RAW_OUTPUT, v.rawOutput);
    Check(dialog, IDC_EXCL_SHOW, v.exclShow);
    Check(dialog, IDC_EXCL_LOG, v.exclLog);
    Check(dialog, IDC_NO_LOG_WITHHELD, v.noLogWithheld);
    Check(dialog, IDC_FILTER_IP, v.filterIp);
    uint8_t octets[4];
    ReadDottedAddress(v.ipText, octets);
    SendDlgItemMessageA(dialog, IDC_UNIT_IP, IPM_SETADDRESS, 0,
                        (LPARAM)MAKEIPADDRESS(octets[0], octets[1], octets[2], octets[3]));
}

void DisableSettings(HWND dialog) {
    for (int id : kSettingControls)
        EnableControl(dialog, id, false);
}

void InitSetupDialog(HWND dialog) {
    SetupCallState &call = g_ringtune.call;
    call.dialog = dialog;
    FillList(dialog, IDC_LINE_COUNT, LineCountItems());
    FillList(dialog, IDC_PORT, PortItems());
    if (call.comboFont) {
        SendDlgItemMessageA(dialog, IDC_LINE_COUNT, WM_SETFONT, (WPARAM)call.comboFont, FALSE);
        SendDlgItemMessageA(dialog, IDC_PORT, WM_SETFONT, (WPARAM)call.comboFont, FALSE);
    }
    LoadDialogFromConfig(dialog);
    ApplyModelRules(dialog);
    FillExclList(ExclListKind::Log, dialog);
    FillExclList(ExclListKind::Show, dialog);
    WatchExclListKeys(dialog);
    if (call.restricted)
        DisableSettings(dialog);
    SetFocus(GetDlgItem(dialog, IDC_LINE_COUNT));
}

INT_PTR ColourGroupCaption(HWND control, HDC dc) {
    const int id = GetDlgCtrlID(control);
    if (id != IDC_GROUP_UNIT && id != IDC_GROUP_LOGGING && id != IDC_GROUP_STATION)
        return FALSE;
    SetTextColor(dc, kGroupCaption);
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    return (INT_PTR)GetSysColorBrush(COLOR_BTNFACE);
}

void RememberFocus(bool active) {
    SetupCallState &call = g_ringtune.call;
    if (!active) {
        call.savedFocus = GetFocus();
    } else if (call.savedFocus) {
        SetFocus(call.savedFocus);
        call.savedFocus = nullptr;
    }
}

// Enter (IDOK) does nothing: Save is no default button, so a stray Enter cannot write the file.
// Escape (IDCANCEL) cancels like the Cancel button.
void OnCommand(HWND dialog, int id, int code) {
    switch (id) {
    case IDC_LOG_ADD:
        AddExclEntry(ExclListKind::Log, dialog);
        break;
    case IDC_LOG_DELETE:
        DeleteExclEntry(ExclListKind::Log, dialog);
        break;
    case IDC_SHOW_ADD:
        AddExclEntry(ExclListKind::Show, dialog);
        break;
    case IDC_SHOW_DELETE:
        DeleteExclEntry(ExclListKind::Show, dialog);
        break;
    case IDC_PURGE:
        PurgeLogDialog(dialog);
        break;
    case IDC_DETECT:
        DetectUnit(dialog);
        break;
    case IDC_ABOUT:
        ShowAboutBox(dialog);
        break;
    case IDC_SAVE:
        if ((code == 0 || code == 1) && SaveDialogToConfig(dialog))
            EndDialog(dialog, 0);
        break;
    case IDC_CANCEL:
    case IDCANCEL:
        EndDialog(dialog, 0);
        break;
    case 2000:
    case 2001:
    case 2002:
        ApplyModelRules(dialog);
        break;
    }
}

} // namespace

void ShowSetupDialog(HWND owner, int32_t restricted) {
    SetupCallState &call = g_ringtune.call;
    call.restricted = restricted;
    call.comboFont = MakeFontEx("MS Sans Serif", 10, 400, 0, 0, 0);
    DialogBoxParamA(g_ringtune.module, "SETUPDIALOG", owner, SetupDialogProc, 0);
    call.dialog = nullptr;
    if (call.comboFont)
        DeleteObject(call.comboFont);
    call.comboFont = nullptr;
}

void LoadDialogFromConfig(HWND dialog) {
    ShowDialogValues(dialog, SetupValuesFromConfig(g_ringtune.config));
    if (g_ringtune.config.UnitModel != 0) {
        for (int id : kFirstModelOnlyControls)
            EnableControl(dialog, id, false);
    }
}

void ApplyModelRules(HWND dialog) {
    const bool other = !Checked(dialog, IDC_MODEL_FIRST);
    g_ringtune.call.otherModel = other ? 1 : 0;
    for (int id : kModelDependentControls)
        EnableControl(dialog, id, true);
    if (!other)
        return;
    for (int id : kFirstModelOnlyControls)
        EnableControl(dialog, id, false);
    SetupValues v;
    v.level = CheckedOption(dialog, IDC_LEVEL_FIRST, IDC_LEVEL_LAST);
    v.refresh = CheckedOption(dialog, IDC_REFRESH_START, IDC_REFRESH_END);
    ApplyOtherModelSelections(v);
    CheckOption(dialog, IDC_LEVEL_FIRST, IDC_LEVEL_LAST, v.level);
    CheckOption(dialog, IDC_REFRESH_START, IDC_REFRESH_END, v.refresh);
}

// A restricted dialog has Save disabled; the check here keeps a server's file unwritten even if
// a command reaches Save some other way.
bool SaveDialogToConfig(HWND dialog) {
    if (g_ringtune.call.restricted)
        return true;
    CidConfig chosen = g_ringtune.config;
    SetupValuesToConfig(ReadDialogValues(dialog), chosen);
    if (!WriteCidConfig(g_ringtune.programDir, chosen)) {
        TuneMessage(dialog, "ERROR: Saving Configuration!", "Quorl Vezedud Server Setup",
                    MB_ICONEXCLAMATION);
        return false;
    }
    g_ringtune.config = chosen;
    return true;
}

INT_PTR CALLBACK SetupDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        InitSetupDialog(dialog);
        return FALSE; // the focus is set: on the line count list
    case WM_CTLCOLORSTATIC:
        return ColourGroupCaption(reinterpret_cast<HWND>(lParam), reinterpret_cast<HDC>(wParam));
    case WM_NCACTIVATE:
        RememberFocus(wParam != 0);
        break;
    case WM_COMMAND:
        // A search, query or purge in progress dispatches messages while it waits; commands
        // that arrive then must not start a second one, save or close the dialog under it.
        if (!g_ringtune.call.busy)
            OnCommand(dialog, LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    case WM_CONTEXTMENU:
        if (g_ringtune.call.busy)
            return TRUE;
        return ShowExclListMenu(dialog, reinterpret_cast<HWND>(wParam), lParam);
    }
    return FALSE;
}
