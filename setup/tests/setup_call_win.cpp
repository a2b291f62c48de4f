// Test support for Ringtune.dll: the program directory, the SetupCID thread and the controls.
#include "setup_call_win.h"

#include "file_names.h"
#include "ringhold_harness.h"

namespace {

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

HWND WaitForBox(const char *caption, DWORD waitMs) {
    return FindDialog(GetCurrentProcessId(), caption, waitMs);
}

namespace {

struct OwnedSearch {
    HWND owner;
    HWND found;
};

BOOL CALLBACK MatchOwnedBox(HWND window, LPARAM param) {
    OwnedSearch &s = *reinterpret_cast<OwnedSearch *>(param);
    if (GetWindow(window, GW_OWNER) != s.owner || !IsWindowVisible(window) ||
        !GetDlgItem(window, 0xFFFF))
        return TRUE;
    s.found = window;
    return FALSE;
}

} // namespace

HWND WaitForBoxOwnedBy(HWND owner) {
    OwnedSearch search{owner, nullptr};
    WaitUntil(
        [&] {
            EnumWindows(MatchOwnedBox, reinterpret_cast<LPARAM>(&search));
            return search.found != nullptr;
        },
        kBoxWaitMs);
    return search.found;
}

// The icon control is 20 on Windows and 0x440 under Wine; the standard icons are shared, so the
// box shows the very handle this process loads.
bool ShowsIcon(HWND box, LPCSTR icon) {
    const LRESULT wanted = reinterpret_cast<LRESULT>(LoadIconA(nullptr, icon));
    for (int id : {20, 0x440}) {
        HWND control = GetDlgItem(box, id);
        if (control && SendMessageA(control, STM_GETICON, 0, 0) == wanted)
            return true;
    }
    return false;
}

bool HoldUnshared(ChildProcess &holder, const std::string &path) {
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, sizeof self);
    const std::string command =
        std::string("\"") + self + "\" " + kHoldUnshared + " \"" + path + "\"";
    if (!holder.Start(command, TestProgramDir().Dir))
        return false;
    return WaitUntil(
        [&] {
            HANDLE file =
                CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, 0, nullptr);
            if (file != INVALID_HANDLE_VALUE)
                CloseHandle(file);
            return file == INVALID_HANDLE_VALUE && GetLastError() == ERROR_SHARING_VIOLATION;
        },
        kBoxWaitMs);
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

namespace {

BOOL CALLBACK MatchVisibleMenu(HWND window, LPARAM param) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    char name[16] = "";
    GetClassNameA(window, name, sizeof name);
    if (process != GetCurrentProcessId() || std::string(name) != "#32768" ||
        !IsWindowVisible(window))
        return TRUE;
    *reinterpret_cast<HWND *>(param) = window;
    return FALSE;
}

void PostKey(HWND window, UINT key) {
    PostMessageA(window, WM_KEYDOWN, key, 1);
    PostMessageA(window, WM_KEYUP, key, 0xC0000001);
}

} // namespace

// A right click is the button's release inside the box; the context-menu key's release
// (VK_APPS) asks for the menu at the keyboard's place.
HWND OpenContextMenu(HWND dialog, int listId, bool byKeyboard) {
    HWND box = GetDlgItem(dialog, listId);
    if (byKeyboard) {
        PostKey(box, VK_APPS);
    } else {
        PostMessageA(box, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(10, 10));
        PostMessageA(box, WM_RBUTTONUP, 0, MAKELPARAM(10, 10));
    }
    HWND menu = nullptr;
    WaitUntil(
        [&] {
            EnumWindows(MatchVisibleMenu, reinterpret_cast<LPARAM>(&menu));
            return menu != nullptr;
        },
        kBoxWaitMs);
    return menu;
}

std::vector<std::string> MenuItems(HWND menu) {
    std::vector<std::string> items;
    HMENU handle = reinterpret_cast<HMENU>(SendMessageA(menu, MN_GETHMENU, 0, 0));
    for (int i = 0; handle && i < GetMenuItemCount(handle); i++) {
        char text[128] = "";
        GetMenuStringA(handle, i, text, sizeof text, MF_BYPOSITION);
        items.push_back(text);
    }
    return items;
}

void ChooseMenuItem(HWND menu, int index) {
    for (int i = 0; i <= index; i++)
        PostKey(menu, VK_DOWN);
    PostKey(menu, VK_RETURN);
}

// The file name field is a combo box (cmb13) in newer dialogs and an edit (edt1) in older ones.
HWND AnswerFileDialog(const char *caption, const std::string &path) {
    HWND dialog = WaitForBox(caption);
    if (!dialog)
        return nullptr;
    for (int field : {0x47c, 0x480})
        if (GetDlgItem(dialog, field))
            SetDlgItemTextA(dialog, field, path.c_str());
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    return dialog;
}
