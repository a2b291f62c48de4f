// RingHQ's window run inside a test program, with a thread that answers what it shows (the date
// pickers take pointers, which only reach them from inside their own process): it lists the
// sites, chooses one, presses a report's button, answers the range dialog and reads every box.
// What it saw goes to standard output, one line each.
//
//   hq_host [stats|compare SITE MM-DD-YYYY HH:MM:SS MM-DD-YYYY HH:MM:SS MASK]
#include "hq_ids.h"
#include "hq_window_win.h"
#include "reptopt_ids.h"
#include "test_windows.h"

#include <commctrl.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <set>
#include <string>
#include <thread>

namespace {

struct Script {
    int button = 0; // none: list the sites and close
    std::string site;
    SYSTEMTIME start{}, end{};
    int mask = 0xFE;
};

Script g_script;
std::atomic<bool> g_done{false};

void Say(const std::string &line) {
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

bool ReadMoment(const char *date, const char *time, SYSTEMTIME &out) {
    unsigned m = 0, d = 0, y = 0, hh = 0, mm = 0, ss = 0;
    if (std::sscanf(date, "%u-%u-%u", &m, &d, &y) != 3 ||
        std::sscanf(time, "%u:%u:%u", &hh, &mm, &ss) != 3)
        return false;
    out = SYSTEMTIME{static_cast<WORD>(y),
                     static_cast<WORD>(m),
                     0,
                     static_cast<WORD>(d),
                     static_cast<WORD>(hh),
                     static_cast<WORD>(mm),
                     static_cast<WORD>(ss),
                     0};
    return true;
}

bool ReadScript(int argc, char **argv) {
    if (argc == 1)
        return true;
    if (argc != 8)
        return false;
    const std::string action = argv[1];
    g_script.button = action == "stats"     ? IDC_CALL_STATS
                      : action == "compare" ? IDC_SITE_COMPARISON
                                            : 0;
    g_script.site = argv[2];
    g_script.mask = std::atoi(argv[7]);
    return g_script.button != 0 && ReadMoment(argv[3], argv[4], g_script.start) &&
           ReadMoment(argv[5], argv[6], g_script.end);
}

std::string Caption(HWND window) {
    char text[256] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

std::string Owned(HWND dialog, HWND owner) {
    return owner && GetWindow(dialog, GW_OWNER) == owner ? "|owned" : "";
}

void AnswerRange(HWND dialog, HWND main) {
    Say("range: " + Caption(dialog) + Owned(dialog, main));
    SYSTEMTIME start = g_script.start, end = g_script.end;
    for (int id : {IDC_START_DATE, IDC_START_TIME})
        SendDlgItemMessageA(dialog, id, DTM_SETSYSTEMTIME, GDT_VALID,
                            reinterpret_cast<LPARAM>(&start));
    for (int id : {IDC_END_DATE, IDC_END_TIME})
        SendDlgItemMessageA(dialog, id, DTM_SETSYSTEMTIME, GDT_VALID,
                            reinterpret_cast<LPARAM>(&end));
    for (int day = 1; day <= 7; ++day)
        SendDlgItemMessageA(dialog, IDC_SUNDAY + day - 1, BM_SETCHECK,
                            (g_script.mask & (1 << day)) ? BST_CHECKED : BST_UNCHECKED, 0);
    SendDlgItemMessageA(dialog, IDOK, BM_CLICK, 0, 0);
}

// Answers the dialogs and boxes that appear until `finished` holds.
void AnswerUntil(HWND main, std::set<HWND> &handled, const std::function<bool()> &finished) {
    while (!finished()) {
        const std::set<HWND> found = VisibleDialogsOfThisProcess();
        for (HWND dialog : found) {
            if (dialog == main || GetDlgItem(dialog, IDC_SITES) || handled.count(dialog))
                continue;
            handled.insert(dialog);
            if (Caption(dialog).rfind("Select Range", 0) == 0) {
                AnswerRange(dialog, main);
            } else {
                Say("box: " + Caption(dialog) + "|" + MessageBoxText(dialog) + Owned(dialog, main));
                PostMessageA(dialog, WM_COMMAND, IDOK, 0);
            }
        }
        Sleep(50);
    }
}

void ListSites(HWND main) {
    HWND list = GetDlgItem(main, IDC_SITES);
    std::string line = "sites:";
    const LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        char text[64] = "";
        if (SendMessageA(list, LB_GETTEXTLEN, i, 0) < static_cast<LRESULT>(sizeof text))
            SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
        line += (i ? "|" : " ") + std::string(text);
    }
    Say(line);
}

void Drive() {
    std::set<HWND> handled;
    HWND main = nullptr;
    // A box may come before the window (bad settings) or instead of its sites (no database).
    AnswerUntil(nullptr, handled, [&] {
        // A message box has the same caption as the window: the window has the site list.
        const std::set<HWND> found = VisibleDialogsOfThisProcess();
        for (HWND window : found)
            if (GetDlgItem(window, IDC_SITES))
                main = window;
        return g_done || main != nullptr;
    });
    if (g_done)
        return;
    HWND list = GetDlgItem(main, IDC_SITES);
    // The sites come after the window shows; a failure to read them ends in a box instead.
    const DWORD deadline = GetTickCount() + 20000;
    AnswerUntil(main, handled, [&] {
        return SendMessageA(list, LB_GETCOUNT, 0, 0) > 1 || !handled.empty() ||
               GetTickCount() > deadline;
    });
    ListSites(main);
    if (g_script.button != 0) {
        const LRESULT index = SendMessageA(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                           reinterpret_cast<LPARAM>(g_script.site.c_str()));
        Say(index == LB_ERR ? "no such site" : "chose: " + g_script.site);
        SendMessageA(list, LB_SETCURSEL, index == LB_ERR ? 0 : index, 0);
        HWND button = GetDlgItem(main, g_script.button);
        PostMessageA(main, WM_COMMAND, MAKEWPARAM(g_script.button, BN_CLICKED),
                     reinterpret_cast<LPARAM>(button));
        // The buttons are disabled while the report runs; the range dialog shows only then.
        WaitUntil([&] { return !IsWindowEnabled(button); }, 20000);
        AnswerUntil(main, handled, [&] { return IsWindowEnabled(button) != FALSE; });
    }
    PostMessageA(main, WM_COMMAND, IDCANCEL, 0);
}

} // namespace

int main(int argc, char **argv) {
    if (!ReadScript(argc, argv)) {
        std::fprintf(stderr, "usage: hq_host [stats|compare SITE MM-DD-YYYY HH:MM:SS MM-DD-YYYY "
                             "HH:MM:SS MASK]\n");
        return 2;
    }
    std::thread driver(Drive);
    const int result = RunRingHq(GetModuleHandleA(nullptr));
    g_done = true;
    driver.join();
    Say("exit=" + std::to_string(result));
    return result;
}
