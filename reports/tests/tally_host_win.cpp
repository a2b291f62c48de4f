// A stand-in for the back office: a window that calls one Ringtally export with its handle, and
// a thread inside this process that answers the dialogs the report shows (date pickers take
// pointers, which only reach them from inside their own process) and reads every message box.
// What it saw goes to standard output, one line each, for the test script to check. Each
// --print prints from the engine's preview (all pages or FROM-TO), one after the other, and
// then the preview is closed; --cancel-print-at presses Cancel in the job of the --print before
// it as that page goes to the printer. Each --seconds is typed in turn into the callback list's
// dialog, the box after a refused one read; --save names the file in the save dialog, which
// otherwise keeps the name it offers.
//
//   tally_host EXPORT [--range MM-DD-YYYY HH:MM:SS MM-DD-YYYY HH:MM:SS MASK | --cancel-range]
//                     [--number TEXT | --close-number] [--reenter]
//                     [--seconds TEXT]... [--cancel-seconds] [--save PATH | --cancel-save]
//                     [--print all|FROM-TO [--cancel-print-at PAGE]]...
#include "ringhold_harness.h"
#include "reptopt_ids.h"
#include "ringtally.h"
#include "ringtally_ids.h"

#include <commctrl.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace {

const UINT WM_REENTER = WM_APP + 1;
// The engine's preview: its Print button and page label.
const int kPreviewPrint = 209, kPreviewPageLabel = 205;

// One print from the preview: its pages (0 to 0: every page) and the page at which Cancel is
// pressed (0: never).
struct PrintJob {
    int from = 0, to = 0, cancelAt = 0;
};

struct Script {
    void(__stdcall *report)(HWND) = nullptr;
    bool cancelRange = false;
    SYSTEMTIME start{}, end{};
    int mask = 0xFE;
    std::string number;
    bool closeNumber = false;
    bool reenter = false;
    std::vector<std::string> seconds;
    bool cancelSeconds = false;
    std::string save;
    bool cancelSave = false;
    std::vector<PrintJob> prints;
};

Script g_script;
HWND g_host = nullptr;
std::atomic<bool> g_done{false}, g_reentryReturned{false}, g_printingGone{false};
std::atomic<int> g_cancelAt{0};
// The job window's texts, in the order shown; written by the host's thread until the window goes.
std::string g_printingTexts;
HWND g_printingOwner = nullptr;

void Say(const std::string &line) {
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

bool ReadDateTime(const char *date, const char *time, SYSTEMTIME &out) {
    unsigned month, day, year, hour, minute, second;
    if (std::sscanf(date, "%u-%u-%u", &month, &day, &year) != 3 ||
        std::sscanf(time, "%u:%u:%u", &hour, &minute, &second) != 3)
        return false;
    out = SYSTEMTIME{};
    out.wYear = static_cast<WORD>(year);
    out.wMonth = static_cast<WORD>(month);
    out.wDay = static_cast<WORD>(day);
    out.wHour = static_cast<WORD>(hour);
    out.wMinute = static_cast<WORD>(minute);
    out.wSecond = static_cast<WORD>(second);
    return true;
}

bool ReadScript(int argc, char **argv) {
    if (argc < 2)
        return false;
    const std::string name = argv[1];
    if (name == "IBLogRpt")
        g_script.report = IBLogRpt;
    else if (name == "OBLogRpt")
        g_script.report = OBLogRpt;
    else if (name == "CllStsRpt")
        g_script.report = CllStsRpt;
    else if (name == "CllsByNum")
        g_script.report = CllsByNum;
    else if (name == "CallbackRpt")
        g_script.report = CallbackRpt;
    else if (name == "CallLogCsv")
        g_script.report = CallLogCsv;
    else
        return false;
    for (int i = 2; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--range" && i + 5 < argc) {
            if (!ReadDateTime(argv[i + 1], argv[i + 2], g_script.start) ||
                !ReadDateTime(argv[i + 3], argv[i + 4], g_script.end))
                return false;
            g_script.mask = std::atoi(argv[i + 5]);
            i += 5;
        } else if (arg == "--cancel-range") {
            g_script.cancelRange = true;
        } else if (arg == "--number" && i + 1 < argc) {
            g_script.number = argv[++i];
        } else if (arg == "--close-number") {
            g_script.closeNumber = true;
        } else if (arg == "--reenter") {
            g_script.reenter = true;
        } else if (arg == "--seconds" && i + 1 < argc) {
            g_script.seconds.push_back(argv[++i]);
        } else if (arg == "--cancel-seconds") {
            g_script.cancelSeconds = true;
        } else if (arg == "--save" && i + 1 < argc) {
            g_script.save = argv[++i];
        } else if (arg == "--cancel-save") {
            g_script.cancelSave = true;
        } else if (arg == "--print" && i + 1 < argc) {
            PrintJob job;
            const std::string pages = argv[++i];
            if (pages != "all" && std::sscanf(pages.c_str(), "%d-%d", &job.from, &job.to) != 2)
                return false;
            g_script.prints.push_back(job);
        } else if (arg == "--cancel-print-at" && i + 1 < argc && !g_script.prints.empty()) {
            g_script.prints.back().cancelAt = std::atoi(argv[++i]);
        } else {
            return false;
        }
    }
    return true;
}

std::string Caption(HWND window) {
    char text[256] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

// The box's icon, if any: Windows numbers the icon control 20, Wine 0x440.
bool HasIcon(HWND box) {
    for (int id : {20, 0x440}) {
        HWND icon = GetDlgItem(box, id);
        if (icon && IsWindowVisible(icon) && SendMessageA(icon, STM_GETICON, 0, 0) != 0)
            return true;
    }
    return false;
}

void AnswerRange(HWND dialog) {
    Say("range: " + Caption(dialog) + (GetWindow(dialog, GW_OWNER) == g_host ? "|owned" : ""));
    if (g_script.reenter) {
        PostMessageA(g_host, WM_REENTER, 0, 0);
        WaitUntil([] { return g_reentryReturned.load(); }, 20000);
    }
    if (g_script.cancelRange) {
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        return;
    }
    SYSTEMTIME start = g_script.start, end = g_script.end;
    SendDlgItemMessageA(dialog, IDC_START_DATE, DTM_SETSYSTEMTIME, GDT_VALID,
                        reinterpret_cast<LPARAM>(&start));
    SendDlgItemMessageA(dialog, IDC_START_TIME, DTM_SETSYSTEMTIME, GDT_VALID,
                        reinterpret_cast<LPARAM>(&start));
    SendDlgItemMessageA(dialog, IDC_END_DATE, DTM_SETSYSTEMTIME, GDT_VALID,
                        reinterpret_cast<LPARAM>(&end));
    SendDlgItemMessageA(dialog, IDC_END_TIME, DTM_SETSYSTEMTIME, GDT_VALID,
                        reinterpret_cast<LPARAM>(&end));
    for (int day = 1; day <= 7; ++day)
        SendDlgItemMessageA(dialog, IDC_SUNDAY + day - 1, BM_SETCHECK,
                            (g_script.mask & (1 << day)) ? BST_CHECKED : BST_UNCHECKED, 0);
    SendDlgItemMessageA(dialog, IDOK, BM_CLICK, 0, 0);
}

// Typed and confirmed with Enter, which the default button answers.
void AnswerNumber(HWND dialog) {
    const LRESULT defId = SendMessageA(dialog, DM_GETDEFID, 0, 0);
    Say("number: " + Caption(dialog) + "|default " + std::to_string(LOWORD(defId)) +
        (GetWindow(dialog, GW_OWNER) == g_host ? "|owned" : ""));
    if (g_script.closeNumber) {
        PostMessageA(dialog, WM_CLOSE, 0, 0);
        return;
    }
    HWND edit = GetDlgItem(dialog, IDC_PHONE_NUMBER);
    SetWindowTextA(edit, g_script.number.c_str());
    PostMessageA(edit, WM_KEYDOWN, VK_RETURN, 0);
    PostMessageA(edit, WM_KEYUP, VK_RETURN, 0);
}

// Seen on the host's own thread as the print job's window shows each page: the texts it
// showed, and Cancel pressed at the page the script names, which is then the next thing the
// job's own message loop handles.
LRESULT CALLBACK WatchPrinting(int code, WPARAM wParam, LPARAM lParam) {
    const auto *call = reinterpret_cast<const CWPRETSTRUCT *>(lParam);
    HWND dialog = GetParent(call->hwnd);
    if (code == HC_ACTION && call->message == WM_SETTEXT && dialog &&
        Caption(dialog) == "Printing") {
        const std::string text = Caption(call->hwnd);
        g_printingTexts += (g_printingTexts.empty() ? "" : "|") + text;
        g_printingOwner = GetWindow(dialog, GW_OWNER);
        if (g_cancelAt > 0 &&
            text.rfind("Printing page " + std::to_string(g_cancelAt) + " ", 0) == 0)
            PostMessageA(GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0);
    } else if (code == HC_ACTION && call->message == WM_DESTROY &&
               Caption(call->hwnd) == "Printing") {
        g_printingGone = true;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

bool IsPreview(HWND dialog) {
    return FindWindowExA(dialog, nullptr, "PrnviewPage", nullptr) != nullptr;
}

// The engine's window while the pages are composed, which goes by itself.
bool IsProgressWindow(HWND dialog) {
    return FindWindowExA(dialog, nullptr, PROGRESS_CLASSA, nullptr) != nullptr;
}

// Print, the print dialog answered and the job followed to its end; false when it went wrong.
bool PrintOnce(HWND preview, const PrintJob &job) {
    g_printingTexts.clear();
    g_printingGone = false;
    g_cancelAt = job.cancelAt;
    PostMessageA(GetDlgItem(preview, kPreviewPrint), BM_CLICK, 0, 0);
    HWND dialog = FindDialog(GetCurrentProcessId(), "Print", 20000);
    if (!dialog) {
        Say("print: no dialog");
        return false;
    }
    Say("print: pages " + ItemText(dialog, 0x480) + "-" + ItemText(dialog, 0x481) +
        (GetWindow(dialog, GW_OWNER) == preview ? "|owned" : ""));
    AnswerPrintDialog(dialog, job.from, job.to);
    if (!WaitUntil([] { return g_printingGone.load(); }, 120000)) {
        Say("printing: did not end");
        return false;
    }
    Say("printing: " + g_printingTexts + (g_printingOwner == preview ? "|owned" : ""));
    return WaitUntil([&] { return IsWindowEnabled(preview) != FALSE; }, 20000);
}

// Every print the script asks for, and then the preview closed.
void PrintFromPreview(HWND preview) {
    Say("preview: " + Caption(preview) + "|" + ItemText(preview, kPreviewPageLabel));
    for (const PrintJob &job : g_script.prints)
        if (!PrintOnce(preview, job))
            return;
    PostMessageA(preview, WM_KEYDOWN, VK_ESCAPE, 0);
}

// Whose window owns it: the host's, or another named by its caption.
std::string Ownership(HWND window) {
    const HWND owner = GetWindow(window, GW_OWNER);
    if (owner == g_host)
        return "|owned";
    return owner ? "|owned by " + Caption(owner) : "|not owned";
}

void ReadBox(HWND box) {
    Say("box: " + Caption(box) + "|" + MessageBoxText(box) + "|" +
        (HasIcon(box) ? "icon" : "noicon") + Ownership(box));
    PressButton(box, IDOK);
}

struct OwnedSearch {
    HWND owner;
    HWND found;
};

BOOL CALLBACK NoteOwned(HWND window, LPARAM search) {
    auto *s = reinterpret_cast<OwnedSearch *>(search);
    char cls[32] = "";
    GetClassNameA(window, cls, sizeof cls);
    if (GetWindow(window, GW_OWNER) == s->owner && IsWindowVisible(window) &&
        std::strcmp(cls, "#32770") == 0)
        s->found = window;
    return s->found == nullptr;
}

// A box the dialog owns, which shares its caption.
HWND BoxOwnedBy(HWND dialog) {
    OwnedSearch search{dialog, nullptr};
    EnumWindows(NoteOwned, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Each value typed and OK pressed; a refused one's box is read before the next value.
void AnswerSeconds(HWND dialog) {
    Say("seconds: " + Caption(dialog) + "|" + ItemText(dialog, IDC_SHORT_SECONDS) + "|default " +
        std::to_string(LOWORD(SendMessageA(dialog, DM_GETDEFID, 0, 0))) + Ownership(dialog));
    for (size_t i = 0; i < g_script.seconds.size(); ++i) {
        SetDlgItemTextA(dialog, IDC_SHORT_SECONDS, g_script.seconds[i].c_str());
        PostMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
        if (i + 1 == g_script.seconds.size() && !g_script.cancelSeconds)
            return;
        HWND box = nullptr;
        if (!WaitUntil([&] { return (box = BoxOwnedBy(dialog)) != nullptr; }, 20000)) {
            Say("seconds: no box");
            return;
        }
        ReadBox(box);
        WaitUntil([&] { return !IsWindow(box); }, 20000);
        Say(std::string("seconds: ") + (IsWindowVisible(dialog) ? "dialog stays" : "dialog gone"));
    }
    if (g_script.cancelSeconds)
        PostMessageA(GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0);
}

// The common save dialog: its file name box (0x47C) holds the name offered, which is kept
// unless the script names another.
void AnswerSave(HWND dialog) {
    Say("save: " + Caption(dialog) + "|" + ItemText(dialog, 0x47C) + Ownership(dialog));
    if (g_script.cancelSave) {
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        return;
    }
    if (!g_script.save.empty())
        SetDlgItemTextA(dialog, 0x47C, g_script.save.c_str());
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
}

void DriveDialogs() {
    std::set<HWND> handled;
    while (!g_done) {
        const std::set<HWND> found = VisibleDialogsOfThisProcess();
        for (HWND dialog : found) {
            if (handled.count(dialog))
                continue;
            handled.insert(dialog);
            const std::string caption = Caption(dialog);
            if (caption.rfind("Select Range", 0) == 0)
                AnswerRange(dialog);
            else if (caption == "Enter Number to report on")
                AnswerNumber(dialog);
            else if (caption == "Callback List" && GetDlgItem(dialog, IDC_SHORT_SECONDS))
                AnswerSeconds(dialog);
            else if (caption == "Export Call Log (CSV)" && !IsProgressWindow(dialog))
                AnswerSave(dialog);
            else if (IsProgressWindow(dialog))
                Say("progress: " + caption +
                    (GetWindow(dialog, GW_OWNER) == g_host ? "|owned" : ""));
            else if (!g_script.prints.empty() && IsPreview(dialog))
                PrintFromPreview(dialog);
            else
                ReadBox(dialog);
        }
        Sleep(50);
    }
}

LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_REENTER) {
        g_script.report(window);
        Say("reentry returned");
        g_reentryReturned = true;
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

} // namespace

int main(int argc, char **argv) {
    if (!ReadScript(argc, argv)) {
        std::fprintf(stderr, "usage: tally_host EXPORT [--range D T D T MASK | --cancel-range] "
                             "[--number TEXT | --close-number] [--reenter] [--seconds TEXT]... "
                             "[--cancel-seconds] [--save PATH | --cancel-save] "
                             "[--print all|FROM-TO [--cancel-print-at PAGE]]...\n");
        return 2;
    }
    WNDCLASSA wc{};
    wc.lpfnWndProc = HostProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "TallyHost";
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    RegisterClassA(&wc);
    g_host = CreateWindowA("TallyHost", "Back Office", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40,
                           480, 320, nullptr, nullptr, wc.hInstance, nullptr);
    HHOOK watch = !g_script.prints.empty() ? SetWindowsHookExA(WH_CALLWNDPROCRET, WatchPrinting,
                                                               nullptr, GetCurrentThreadId())
                                           : nullptr;
    std::thread driver(DriveDialogs);
    g_script.report(g_host);
    if (watch)
        UnhookWindowsHookEx(watch);
    Say("done");
    g_done = true;
    driver.join();
    DestroyWindow(g_host);
    return 0;
}
