// The CSV export's file and progress window.
#include "csv_file_win.h"

#include "call_log_csv.h"
#include "replace_file_win.h"
#include "ringtally_ids.h"
#include "ringtally_state_win.h"

#include <commctrl.h>
#include <commdlg.h>

namespace {

const wchar_t kCsvFilter[] = L"CSV files (*.csv)\0*.csv\0All files (*.*)\0*.*\0";
const int kMostCopies = 1000;

std::wstring Widened(const std::string &text) {
    return std::wstring(text.begin(), text.end()); // the default name is plain ASCII
}

// Read through Windows, not the C runtime's copy taken when the DLL loaded.
std::wstring CsvSetting() {
    wchar_t value[MAX_PATH];
    const DWORD n = GetEnvironmentVariableW(L"RINGTALLY_CSV", value, MAX_PATH);
    return n > 0 && n < MAX_PATH ? std::wstring(value, n) : std::wstring();
}

bool IsFolder(const std::wstring &path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return path.back() == L'\\' ||
           (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY));
}

// The default name in the folder, or with " (2)" and on when that name is taken.
std::wstring FiledPath(std::wstring folder, const std::string &date) {
    if (folder.back() != L'\\')
        folder += L'\\';
    for (int copy = 1; copy < kMostCopies; ++copy) {
        const std::wstring path = folder + Widened(CallLogCsvName(date, copy));
        if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES)
            return path;
    }
    return L"";
}

bool AskSavePath(HWND owner, const std::string &defaultName, std::wstring &path) {
    wchar_t chosen[MAX_PATH];
    lstrcpynW(chosen, Widened(defaultName).c_str(), MAX_PATH);
    OPENFILENAMEW request{};
    request.lStructSize = sizeof request;
    request.hwndOwner = owner;
    request.lpstrFilter = kCsvFilter;
    request.lpstrFile = chosen;
    request.nMaxFile = MAX_PATH;
    request.lpstrTitle = L"Export Call Log (CSV)";
    request.lpstrDefExt = L"csv";
    request.Flags =
        OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_OVERWRITEPROMPT;
    if (!GetSaveFileNameW(&request))
        return false;
    path = chosen;
    return true;
}

INT_PTR CALLBACK CsvProgressProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        return TRUE;
    }
    if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) {
        *reinterpret_cast<bool *>(GetWindowLongPtrA(dialog, DWLP_USER)) = true;
        return TRUE;
    }
    return FALSE;
}

} // namespace

CsvFile::~CsvFile() {
    CloseProgress();
}

bool CsvFile::Choose(const std::string &today) {
    const std::wstring setting = CsvSetting();
    if (setting.empty())
        return AskSavePath(owner_, CallLogCsvName(today), path_);
    path_ = IsFolder(setting) ? FiledPath(setting, today) : setting;
    return true;
}

// Like a modal dialog's owner, the calling window takes no input while the scan runs.
void CsvFile::OpenProgress() {
    opened_ = true;
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    progress_ = CreateDialogParamA(g_ringtally.module, MAKEINTRESOURCEA(IDD_CSV_PROGRESS), owner_,
                                   CsvProgressProc, reinterpret_cast<LPARAM>(&cancelled_));
    if (progress_ && owner_)
        EnableWindow(owner_, FALSE);
}

void CsvFile::CloseProgress() {
    if (!progress_)
        return;
    if (owner_)
        EnableWindow(owner_, TRUE);
    DestroyWindow(progress_);
    progress_ = nullptr;
}

void CsvFile::Show(int32_t percent) {
    if (!opened_)
        OpenProgress();
    SendDlgItemMessageA(progress_, IDC_CSV_BAR, PBM_SETPOS, static_cast<WPARAM>(percent), 0);
}

bool CsvFile::Stopped() {
    if (!opened_)
        OpenProgress();
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (!progress_ || !IsDialogMessageA(progress_, &message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    return cancelled_;
}

void CsvFile::ScanDone() {
    CloseProgress();
}

bool CsvFile::Write(const std::string &bytes) {
    return !path_.empty() && ReplaceFileWith(path_, bytes);
}
