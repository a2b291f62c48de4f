// Test support for Ringtune.dll: the program directory, the SetupCID thread and the controls.
#include "setup_call_win.h"

#include "file_names.h"
#include "ringhold_harness.h"

namespace {

const DWORD kBoxWaitMs = 15000;

DWORD WINAPI RunSetupCid(void *) {
    SetupCID(nullptr);
    return 0;
}

void DeleteFilesIn(const std::string &folder) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            DeleteFileA((folder + found.cFileName).c_str());
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

BOOL CALLBACK DismissWindow(HWND window, LPARAM) {
    PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    PostMessageA(window, WM_COMMAND, IDOK, 0);
    PostMessageA(window, WM_COMMAND, 320, 0);
    return TRUE;
}

} // namespace

const ProgramDir &TestProgramDir() {
    static const ProgramDir dir(BuildBinDir());
    return dir;
}

void ClearProgramFiles() {
    DeleteFilesIn(TestProgramDir().Path("DATA\\"));
    DeleteFilesIn(TestProgramDir().Path(CONTROL_DIR));
}

SetupCall::SetupCall() {
    thread_ = CreateThread(nullptr, 0, RunSetupCid, nullptr, 0, &threadId_);
}

SetupCall::~SetupCall() {
    for (int round = 0; round < 100 && !Returned(100); round++)
        EnumThreadWindows(threadId_, DismissWindow, 0);
    CloseHandle(thread_);
}

HWND SetupCall::Dialog() {
    return WaitForBox("Quorl Vezedud Server Setup");
}

bool SetupCall::Returned(DWORD waitMs) {
    return WaitForSingleObject(thread_, waitMs) == WAIT_OBJECT_0;
}

HWND WaitForBox(const char *caption) {
    return FindDialog(GetCurrentProcessId(), caption, kBoxWaitMs);
}

std::vector<std::string> ListLines(HWND dialog, int id) {
    std::vector<std::string> lines;
    const LRESULT count = SendDlgItemMessageA(dialog, id, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; i++) {
        char text[256] = "";
        SendDlgItemMessageA(dialog, id, LB_GETTEXT, (WPARAM)i, (LPARAM)text);
        lines.push_back(text);
    }
    return lines;
}

std::string ComboText(HWND dialog, int id) {
    const LRESULT item = SendDlgItemMessageA(dialog, id, CB_GETCURSEL, 0, 0);
    if (item == CB_ERR)
        return "";
    char text[256] = "";
    SendDlgItemMessageA(dialog, id, CB_GETLBTEXT, (WPARAM)item, (LPARAM)text);
    return text;
}

bool IsChecked(HWND dialog, int id) {
    return SendDlgItemMessageA(dialog, id, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

bool IsEnabled(HWND dialog, int id) {
    return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE;
}

void Press(HWND dialog, int id) {
    SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

void Click(HWND dialog, int id) {
    PostMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

HWND FocusOf(DWORD threadId) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(threadId, &info) ? info.hwndFocus : nullptr;
}
