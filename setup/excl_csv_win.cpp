// Import and export of an exclusion list as CSV: the menu, the open and save dialogs, the file
// read and written whole, and the progress window of a long import.
#include "excl_csv_win.h"

#include <commctrl.h>
#include <commdlg.h>
#include <windowsx.h>

#include <string>
#include <vector>

#include "call_busy_win.h"
#include "excl_csv.h"
#include "excl_editor_win.h"
#include "keyfile.h"
#include "replace_file_win.h"
#include "ringtune_message_win.h"
#include "ringtune_resources.h"
#include "ringtune_state_win.h"

namespace {

const char kBoxCaption[] = "Exclusion List";
const wchar_t kCsvFilter[] = L"CSV files (*.csv)\0*.csv\0All files (*.*)\0*.*\0";
// Far more than any list a station could use; a bigger file is taken for the wrong file.
const LONGLONG kLargestImport = 64LL << 20;
// Shorter imports end before a progress window would be seen.
const DWORD kProgressAfterMs = 500;

void SayError(HWND dialog, const char *text) {
    TuneMessage(dialog, text, kBoxCaption, MB_ICONEXCLAMATION);
}

const wchar_t *DefaultFileName(ExclListKind list) {
    return list == ExclListKind::Log ? L"Numbers Not Logged.csv" : L"Numbers Not Shown.csv";
}

// The open dialog when `save` is false; `initial` is the name the dialog offers.
bool AskCsvPath(HWND dialog, bool save, const wchar_t *initial, std::wstring &path) {
    wchar_t chosen[MAX_PATH];
    lstrcpynW(chosen, initial, MAX_PATH);
    OPENFILENAMEW request{};
    request.lStructSize = sizeof request;
    request.hwndOwner = dialog;
    request.lpstrFilter = kCsvFilter;
    request.lpstrFile = chosen;
    request.nMaxFile = MAX_PATH;
    request.lpstrTitle = save ? L"Export to CSV" : L"Import from CSV";
    request.lpstrDefExt = L"csv";
    request.Flags = OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR |
                    (save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST);
    if (!(save ? GetSaveFileNameW(&request) : GetOpenFileNameW(&request)))
        return false;
    path = chosen;
    return true;
}

bool ReadFileBytes(const std::wstring &path, std::string &bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    LARGE_INTEGER size{};
    bool read = GetFileSizeEx(file, &size) && size.QuadPart <= kLargestImport;
    if (read) {
        bytes.resize(static_cast<size_t>(size.QuadPart));
        DWORD got = 0;
        read = bytes.empty() || (ReadFile(file, &bytes[0], DWORD(bytes.size()), &got, nullptr) &&
                                 got == bytes.size());
    }
    CloseHandle(file);
    return read;
}

INT_PTR CALLBACK ImportProgressProc(HWND, UINT message, WPARAM, LPARAM) {
    return message == WM_INITDIALOG;
}

// A bar over the import's entries, shown once the import has run for a while (each entry is a
// write of its own, some milliseconds). Messages are handled between entries, so the dialog
// keeps painting; the busy mark keeps its commands from running meanwhile.
class ImportProgress {
  public:
    ImportProgress(HWND dialog, size_t total)
        : dialog_(dialog), total_(total), start_(GetTickCount()) {}
    ~ImportProgress() {
        if (window_)
            DestroyWindow(window_);
    }
    ImportProgress(const ImportProgress &) = delete;
    ImportProgress &operator=(const ImportProgress &) = delete;

    void Step() {
        ++done_;
        if (!window_ && done_ < total_ && GetTickCount() - start_ >= kProgressAfterMs)
            Open();
        if (window_)
            SendDlgItemMessageA(window_, IDC_EXCL_PROGRESS_BAR, PBM_SETPOS, (WPARAM)done_, 0);
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }

  private:
    void Open() {
        window_ =
            CreateDialogParamA(g_ringtune.module, "EXCLPROGRESS", dialog_, ImportProgressProc, 0);
        SendDlgItemMessageA(window_, IDC_EXCL_PROGRESS_BAR, PBM_SETRANGE32, 0, (LPARAM)total_);
        ShowWindow(window_, SW_SHOW);
    }

    HWND dialog_;
    HWND window_ = nullptr;
    size_t total_;
    size_t done_ = 0;
    DWORD start_;
};

// Entries go in one by one through Add's own path, so the list box and the list file agree
// even when a write fails part way; what went in before the failure stays in.
void ImportExclCsv(ExclListKind list, HWND dialog) {
    std::wstring path;
    if (!AskCsvPath(dialog, false, L"", path))
        return;
    std::string bytes;
    if (!ReadFileBytes(path, bytes)) {
        SayError(dialog, "ERROR: Reading CSV File!");
        return;
    }
    const ExclCsvRead read = ReadExclListCsv(bytes);
    ExclImportCount count;
    int32_t status;
    {
        CallBusy busy;
        ImportProgress progress(dialog, read.records.size());
        status = ImportExclRecords(
            read,
            [&](const ExclRecord &record) {
                progress.Step();
                return StoreExclEntry(list, dialog, record);
            },
            count);
    }
    std::string text = ExclImportSummary(count);
    if (status != KF_OK)
        text = "ERROR: Writing Exclude File, Import Stopped!\n" + text;
    TuneMessage(dialog, text.c_str(), kBoxCaption,
                status == KF_OK ? MB_ICONINFORMATION : MB_ICONEXCLAMATION);
}

void ExportExclCsv(ExclListKind list, HWND dialog) {
    std::wstring path;
    if (!AskCsvPath(dialog, true, DefaultFileName(list), path))
        return;
    std::vector<ExclRecord> records;
    if (!ReadExclEntries(list, records))
        SayError(dialog, "ERROR: Reading Exclude File!");
    else if (!ReplaceFileWith(path, ExclListCsv(records)))
        SayError(dialog, "ERROR: Writing CSV File!");
}

// The keyboard gives -1, -1: the menu opens at the list box's top left corner.
POINT MenuPlace(HWND control, LPARAM where) {
    POINT place{GET_X_LPARAM(where), GET_Y_LPARAM(where)};
    if (place.x == -1 && place.y == -1) {
        RECT box;
        GetWindowRect(control, &box);
        place = {box.left + 8, box.top + 8};
    }
    return place;
}

// Both key messages are taken so that Windows, which makes the menu message from the release
// itself, does not open a second menu.
LRESULT CALLBACK ListKeyProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                             DWORD_PTR) {
    if ((message == WM_KEYDOWN || message == WM_KEYUP) && wParam == VK_APPS) {
        if (message == WM_KEYUP)
            SendMessageA(GetParent(box), WM_CONTEXTMENU, (WPARAM)box, MAKELPARAM(-1, -1));
        return 0;
    }
    if (message == WM_NCDESTROY)
        RemoveWindowSubclass(box, ListKeyProc, 0);
    return DefSubclassProc(box, message, wParam, lParam);
}

} // namespace

void WatchExclListKeys(HWND dialog) {
    for (int box : {IDC_LOG_LIST, IDC_SHOW_LIST})
        SetWindowSubclass(GetDlgItem(dialog, box), ListKeyProc, 0, 0);
}

bool ShowExclListMenu(HWND dialog, HWND control, LPARAM where) {
    ExclListKind list;
    if (!control || !ExclListOfBox(GetDlgCtrlID(control), list))
        return false;
    HMENU menu = LoadMenuA(g_ringtune.module, "EXCLCSVMENU");
    if (!menu)
        return true;
    HMENU items = GetSubMenu(menu, 0);
    const UINT state = IsExclListInUse(list) ? MF_ENABLED : MF_GRAYED;
    EnableMenuItem(items, IDM_EXCL_IMPORT, MF_BYCOMMAND | state);
    EnableMenuItem(items, IDM_EXCL_EXPORT, MF_BYCOMMAND | state);
    const POINT place = MenuPlace(control, where);
    const int chosen = TrackPopupMenu(items, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY,
                                      place.x, place.y, 0, dialog, nullptr);
    DestroyMenu(menu);
    if (chosen == IDM_EXCL_IMPORT)
        ImportExclCsv(list, dialog);
    else if (chosen == IDM_EXCL_EXPORT)
        ExportExclCsv(list, dialog);
    return true;
}
