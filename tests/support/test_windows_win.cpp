// Finding, reading and answering the dialogs and message boxes of a process under test.
#include "test_windows.h"

#include <cstring>

namespace {

const DWORD kPressWaitMs = 60000;

struct WindowSearch {
    DWORD processId;
    const char *className;
    const char *caption;
    bool visibleOnly;
    HWND found;
};

bool IsWanted(HWND window, const WindowSearch &s) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char text[256] = "";
    if (owner != s.processId || !GetClassNameA(window, text, sizeof text) ||
        std::strcmp(text, s.className) != 0)
        return false;
    if (s.visibleOnly && !IsWindowVisible(window))
        return false;
    if (!s.caption)
        return !s.visibleOnly || GetDlgItem(window, 0xFFFF) != nullptr;
    GetWindowTextA(window, text, sizeof text);
    return std::strcmp(text, s.caption) == 0;
}

// A plain function, not a lambda: i686 callbacks must be stdcall.
BOOL CALLBACK MatchWindow(HWND window, LPARAM param) {
    WindowSearch &s = *reinterpret_cast<WindowSearch *>(param);
    if (!IsWanted(window, s))
        return TRUE;
    s.found = window;
    return FALSE;
}

HWND Search(WindowSearch search) {
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

} // namespace

bool WaitUntil(const std::function<bool()> &condition, DWORD waitMs) {
    DWORD start = GetTickCount();
    for (;;) {
        if (condition())
            return true;
        if (GetTickCount() - start >= waitMs)
            return false;
        Sleep(50);
    }
}

HWND FindProcessWindow(DWORD processId, const char *className, const char *caption) {
    return Search({processId, className, caption, false, nullptr});
}

HWND FindDialog(DWORD processId, const char *caption, DWORD waitMs) {
    HWND dialog = nullptr;
    WaitUntil(
        [&] {
            dialog = Search({processId, "#32770", caption, true, nullptr});
            return dialog != nullptr;
        },
        waitMs);
    return dialog;
}

namespace {

BOOL CALLBACK NoteVisibleDialog(HWND window, LPARAM found) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    char cls[32] = "";
    GetClassNameA(window, cls, sizeof cls);
    if (pid == GetCurrentProcessId() && IsWindowVisible(window) && std::strcmp(cls, "#32770") == 0)
        reinterpret_cast<std::set<HWND> *>(found)->insert(window);
    return TRUE;
}

} // namespace

std::set<HWND> VisibleDialogsOfThisProcess() {
    std::set<HWND> found;
    EnumWindows(NoteVisibleDialog, reinterpret_cast<LPARAM>(&found));
    return found;
}

HWND FindMessageBox(DWORD processId, const char *caption, DWORD waitMs) {
    return FindDialog(processId, caption, waitMs);
}

std::string ItemText(HWND dialog, int id) {
    char text[1024] = "";
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

std::string MessageBoxText(HWND box) {
    return ItemText(box, 0xFFFF);
}

bool WaitForWindowGone(HWND window, DWORD waitMs) {
    return WaitUntil([&] { return !IsWindow(window); }, waitMs);
}

bool PressButton(HWND box, int id) {
    PostMessageA(box, WM_COMMAND, id, 0);
    return WaitForWindowGone(box, kPressWaitMs);
}

void AnswerPrintDialog(HWND dialog, int from, int to) {
    // The dialog's own item numbers: the "Pages" option and its two fields.
    const int pagesOption = 0x422, fromField = 0x480, toField = 0x481;
    if (from > 0) {
        SendDlgItemMessageA(dialog, pagesOption, BM_CLICK, 0, 0);
        SetDlgItemInt(dialog, fromField, from, FALSE);
        SetDlgItemInt(dialog, toField, to, FALSE);
    }
    PostMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
}

std::vector<std::string> FileNamesMatching(const std::string &pattern) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do
        names.push_back(found.cFileName);
    while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}
