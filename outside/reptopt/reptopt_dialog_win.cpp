// The range dialog's procedure: a thin layer between the controls and the portable range math.
#include "reptopt_dialog_win.h"
#include "reptopt_ids.h"

#include <commctrl.h>

namespace {

struct DialogArgs {
    const char *Title;
    ReportRange Range;
};

// Pickers stay within the years Pantry can number, so every choice gives a valid day number.
void LimitDatePicker(HWND picker) {
    SYSTEMTIME limits[2] = {};
    limits[0].wYear = 1900, limits[0].wMonth = 1, limits[0].wDay = 1;
    limits[1].wYear = 9999, limits[1].wMonth = 12, limits[1].wDay = 31;
    SendMessageA(picker, DTM_SETRANGE, GDTR_MIN | GDTR_MAX, reinterpret_cast<LPARAM>(limits));
    SendMessageA(picker, DTM_SETFORMATA, 0, reinterpret_cast<LPARAM>("MM'-'dd'-'yyyy"));
}

void ShowSecondsIn(HWND picker) {
    SendMessageA(picker, DTM_SETFORMATA, 0, reinterpret_cast<LPARAM>("HH':'mm':'ss"));
}

void PutPicker(HWND dialog, int id, int32_t day, int32_t seconds) {
    const CivilDate date = CivilDateOf(day);
    SYSTEMTIME time = {};
    time.wYear = static_cast<WORD>(date.Year);
    time.wMonth = static_cast<WORD>(date.Month);
    time.wDay = static_cast<WORD>(date.Day);
    time.wHour = static_cast<WORD>(seconds / 3600);
    time.wMinute = static_cast<WORD>(seconds / 60 % 60);
    time.wSecond = static_cast<WORD>(seconds % 60);
    SendDlgItemMessageA(dialog, id, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&time));
}

SYSTEMTIME GetPicker(HWND dialog, int id) {
    SYSTEMTIME time = {};
    SendDlgItemMessageA(dialog, id, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&time));
    return time;
}

int32_t DayOfPicker(HWND dialog, int id) {
    const SYSTEMTIME time = GetPicker(dialog, id);
    return DayNumberOf(CivilDate{time.wYear, time.wMonth, time.wDay});
}

int32_t SecondsOfPicker(HWND dialog, int id) {
    const SYSTEMTIME time = GetPicker(dialog, id);
    return time.wHour * 3600 + time.wMinute * 60 + time.wSecond;
}

// Each time picker shows the same day as its date picker; only its time is read back.
void ShowRange(HWND dialog, const ReportRange &range) {
    PutPicker(dialog, IDC_START_DATE, range.StartDate, 0);
    PutPicker(dialog, IDC_START_TIME, range.StartDate, range.StartTime);
    PutPicker(dialog, IDC_END_DATE, range.EndDate, 0);
    PutPicker(dialog, IDC_END_TIME, range.EndDate, range.EndTime);
    for (int32_t weekday = 1; weekday <= 7; ++weekday)
        CheckDlgButton(dialog, IDC_SUNDAY + weekday - 1,
                       DayIsInMask(range.DayMask, weekday) ? BST_CHECKED : BST_UNCHECKED);
}

ReportRange ReadRange(HWND dialog) {
    bool checked[7];
    for (int i = 0; i < 7; ++i)
        checked[i] = IsDlgButtonChecked(dialog, IDC_SUNDAY + i) == BST_CHECKED;
    return ReportRange{DayOfPicker(dialog, IDC_START_DATE), DayOfPicker(dialog, IDC_END_DATE),
                       SecondsOfPicker(dialog, IDC_START_TIME),
                       SecondsOfPicker(dialog, IDC_END_TIME), DayMaskOf(checked)};
}

int32_t Today() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return DayNumberOf(CivilDate{now.wYear, now.wMonth, now.wDay});
}

void ApplyQuickRange(HWND dialog, QuickRange which) {
    ShowRange(dialog, QuickRangeOf(which, Today(), ReadRange(dialog)));
}

void InitDialog(HWND dialog, const DialogArgs &args) {
    if (args.Title != nullptr)
        SetWindowTextA(dialog, args.Title);
    LimitDatePicker(GetDlgItem(dialog, IDC_START_DATE));
    LimitDatePicker(GetDlgItem(dialog, IDC_END_DATE));
    ShowSecondsIn(GetDlgItem(dialog, IDC_START_TIME));
    ShowSecondsIn(GetDlgItem(dialog, IDC_END_TIME));
    ShowRange(dialog, args.Range);
}

INT_PTR CALLBACK ReportOptionsProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        InitDialog(dialog, *reinterpret_cast<DialogArgs *>(lParam));
        return TRUE;
    case WM_COMMAND: {
        auto *args = reinterpret_cast<DialogArgs *>(GetWindowLongPtrA(dialog, DWLP_USER));
        const int id = LOWORD(wParam);
        if (args == nullptr) // a control's notice while the dialog is still being created
            return FALSE;
        if (id == IDOK) {
            args->Range = ReadRange(dialog);
            EndDialog(dialog, IDOK);
        } else if (id == IDCANCEL) {
            EndDialog(dialog, IDCANCEL);
        } else if (id >= IDC_TODAY && id <= IDC_LAST_MONTH && HIWORD(wParam) == BN_CLICKED) {
            ApplyQuickRange(dialog, static_cast<QuickRange>(id - IDC_TODAY));
        } else {
            return FALSE;
        }
        return TRUE;
    }
    }
    return FALSE;
}

} // namespace

bool RunReportOptionsDialog(HINSTANCE module, HWND owner, const char *title, ReportRange &range) {
    DialogArgs args{title, DefaultRange(Today())};
    const INT_PTR result = DialogBoxParamA(module, MAKEINTRESOURCEA(IDD_REPORT_OPTIONS), owner,
                                           ReportOptionsProc, reinterpret_cast<LPARAM>(&args));
    if (result != IDOK)
        return false;
    range = args.Range;
    return true;
}
