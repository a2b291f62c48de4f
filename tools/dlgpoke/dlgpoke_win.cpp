// dlgpoke: presses a button or sets a field's text in a visible top-level window of any program,
// found by its caption, the way a user's click or typing would reach it. For scripts that show
// dialogs (screenshots) where no test program drives them.
//
//   dlgpoke CAPTION ID          presses button ID (BM_CLICK, posted)
//   dlgpoke CAPTION ID TEXT     sets the text of control ID
// Waits up to 15 s for the window. Exit 0 done, 2 usage, 3 no such window or control.
#include <windows.h>

#include <cstdlib>
#include <cstring>

namespace {

struct Search {
    const char *caption;
    HWND found;
};

BOOL CALLBACK MatchCaption(HWND window, LPARAM param) {
    auto *search = reinterpret_cast<Search *>(param);
    char text[256] = "";
    GetWindowTextA(window, text, sizeof text);
    if (IsWindowVisible(window) && std::strcmp(text, search->caption) == 0) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND WaitForWindow(const char *caption) {
    for (int tries = 0; tries < 150; tries++) {
        Search search{caption, nullptr};
        EnumWindows(MatchCaption, reinterpret_cast<LPARAM>(&search));
        if (search.found)
            return search.found;
        Sleep(100);
    }
    return nullptr;
}

} // namespace

int main(int argc, char **argv) {
    if (argc != 3 && argc != 4)
        return 2;
    HWND window = WaitForWindow(argv[1]);
    HWND control = window ? GetDlgItem(window, std::atoi(argv[2])) : nullptr;
    if (!control)
        return 3;
    if (argc == 4)
        SendMessageA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(argv[3]));
    else
        PostMessageA(control, BM_CLICK, 0, 0);
    return 0;
}
