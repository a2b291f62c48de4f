// Measures PRNVIEW32 through its exports, as a report drives it: the memory the document takes
// per list row, a document of half a million rows written to PDF, and how soon the preview of a
// 2,000-page document shows its first page and turns a page. Prints the figures; not a test.
//   engine_bench [ROWS] [LARGE_ROWS] [PREVIEW_PAGES]   (defaults 100000 500000 2000)
// Each figure runs in a process of its own, so its peak working set is its own:
//   engine_bench --one compose|preview COUNT
// Run beside another build of PRNVIEW32.dll (the DLL swapped in the folder) for its figures.
#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#include "prnview.h"

namespace {

constexpr int kRowsPerPage = 44;
constexpr int kPageLabelId = 205, kPageViewId = 211;
constexpr const char *kPreviewTitle = "Engine Bench Preview";

double Now() {
    LARGE_INTEGER count, frequency;
    QueryPerformanceCounter(&count);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(count.QuadPart) / frequency.QuadPart;
}

double PeakWorkingSetMb() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return counters.PeakWorkingSetSize / (1024.0 * 1024.0);
}

// Counts what the document is given to hold as text, to tell it from the engine's own bytes.
struct Composer {
    int32_t doc;
    long long textBytes = 0;

    void Text(float x, float y, int32_t align, const char *text) {
        pvText(doc, x, y, align, text);
        textBytes += static_cast<long long>(std::strlen(text));
    }
    // The frame of a list page, as the call log reports draw it.
    void Frame() {
        static const struct {
            const char *text;
            float x;
        } headings[] = {{"Date", 0.5f},   {"Time", 1.5f}, {"Number", 2.2f}, {"Name", 3.7f},
                        {"Secs", 6.0f},   {"Line", 6.5f}, {"Rings", 7.0f},  {"In/Out", 7.4f},
                        {"Digits", 7.7f}, {"Error", 8.0f}};
        pvRect(doc, 0.5f, 0.5f, 8.0f, 0.8f, 1.0f, 0xFFFFFF, 0);
        pvFont(doc, 0, 12, 0, "Times New Roman");
        Text(4.25f, 0.56f, 1, "Inbound Call Log From 01 Jan 2025 to 31 Dec 2025");
        pvFont(doc, 0, 10, 0xFF0000, "Courier New");
        for (const auto &h : headings)
            Text(h.x, 0.9f, 0, h.text);
        pvLine(doc, 0.5f, 1.1f, 8.0f, 1.1f, 1.0f, 0);
        pvFont(doc, 0, 8, 0, "Times New Roman");
        const char *footer = "Corner Pizza  Page ##pageno## of ##pagecount##";
        pvSpecialText(doc, 0.5f, 10.2f, 0, footer);
        textBytes += static_cast<long long>(std::strlen(footer));
        Text(8.0f, 10.2f, 2, "Printed on 12-09-2026 at 08:15:00");
    }
    // One call of the log: ten columns and the grey rule under them.
    void Row(int row, float y) {
        char date[16], time[16], number[24], name[40], secs[12], line[8], rings[8], digits[12];
        std::snprintf(date, sizeof date, "%02d-%02d-2025", 1 + row / 28 % 12, 1 + row % 28);
        std::snprintf(time, sizeof time, "%02d:%02d %s", 1 + row % 12, row * 7 % 60,
                      row % 2 ? "AM" : "PM");
        std::snprintf(number, sizeof number, "555-%03d-%04d", 100 + row % 900, row % 10000);
        std::snprintf(name, sizeof name, "CALLER %06d", row);
        std::snprintf(secs, sizeof secs, "%d", 20 + row * 37 % 900);
        std::snprintf(line, sizeof line, "%02d", 1 + row % 4);
        std::snprintf(rings, sizeof rings, "%02d", 1 + row % 6);
        std::snprintf(digits, sizeof digits, "%d", row % 1000);
        pvFont(doc, 0, 10, 0, "Courier New");
        Text(0.5f, y, 0, date);
        Text(1.5f, y, 0, time);
        Text(2.2f, y, 0, number);
        Text(3.7f, y, 0, name);
        Text(6.35f, y, 2, secs);
        Text(6.7f, y, 1, line);
        Text(7.2f, y, 1, rings);
        Text(7.5f, y, 1, "I");
        Text(7.8f, y, 2, digits);
        Text(7.95f, y, 1, row % 17 ? "NO" : "YES");
        pvLine(doc, 0.5f, y + 0.16f, 8.0f, y + 0.16f, 1.0f, 0x969696);
    }
    void Rows(int count) {
        Frame();
        for (int row = 0; row < count; ++row) {
            if (row > 0 && row % kRowsPerPage == 0) {
                pvNewPage(doc, 1, 0, 7);
                Frame();
            }
            Row(row, 1.3f + 0.2f * static_cast<float>(row % kRowsPerPage));
            if (pvCheckAbort(doc) != 0)
                return;
        }
    }
};

std::string TempFile(const char *name) {
    char dir[MAX_PATH];
    GetTempPathA(sizeof dir, dir);
    return std::string(dir) + name;
}

long long FileSize(const std::string &path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        return -1;
    return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// Composes `rows` rows unattended and writes the PDF: "rows textBytes composeS modelPeakMb
// writeS peakMb pdfBytes result".
void ComposeAndWrite(int rows) {
    const std::string path = TempFile("engine_bench.pdf");
    Composer c{pvStartDoc(0, "Engine Bench", path.c_str(), 0, 1, 0, 7, 0)};
    if (c.doc < 1) {
        std::printf("error %d\n", c.doc);
        return;
    }
    double start = Now();
    c.Rows(rows);
    double composed = Now();
    const double modelPeak = PeakWorkingSetMb();
    const int32_t result = pvEndDoc(c.doc, PV_END_FINISHED);
    double written = Now();
    std::printf("%d %lld %.3f %.1f %.3f %.1f %lld %d\n", rows, c.textBytes, composed - start,
                modelPeak, written - composed, PeakWorkingSetMb(), FileSize(path), result);
    DeleteFileA(path.c_str());
}

// Waits, polling closely, until `done` holds; false after 60 s.
template <class Done> bool AwaitQuickly(Done done) {
    const double deadline = Now() + 60;
    while (!done()) {
        if (Now() > deadline)
            return false;
        Sleep(1);
    }
    return true;
}

std::string LabelOf(HWND preview) {
    char text[64] = "";
    GetDlgItemTextA(preview, kPageLabelId, text, sizeof text);
    return text;
}

// How long hiding a top-level window takes here, as pvEndDoc hides the progress window before
// the preview opens.
double HidingTime() {
    HWND window = CreateWindowExA(0, "Static", "Bench Hidden", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 60,
                                  60, 300, 200, nullptr, nullptr, nullptr, nullptr);
    UpdateWindow(window);
    const double at = Now();
    ShowWindow(window, SW_HIDE);
    const double took = Now() - at;
    DestroyWindow(window);
    return took;
}

// Until the preview shows `label` and its page view has painted.
bool AwaitPage(HWND preview, const std::string &label) {
    if (!AwaitQuickly([&] { return LabelOf(preview) == label; }))
        return false;
    RedrawWindow(GetDlgItem(preview, kPageViewId), nullptr, nullptr, RDW_UPDATENOW);
    return true;
}

// Composes `pages` pages for the preview and times it from pvEndDoc: "pages composeS hiddenS
// firstS turnMeanS turnMaxS lastS peakMb", hiddenS what hiding a window takes here.
void TimePreview(int pages) {
    HWND owner = CreateWindowExA(0, "Static", "Bench Back Office", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                 40, 40, 400, 300, nullptr, nullptr, nullptr, nullptr);
    SetActiveWindow(owner);
    Composer c{pvStartDoc(0, kPreviewTitle, "", 0, 1, 0, 7, 0)};
    if (c.doc < 1) {
        std::printf("error %d\n", c.doc);
        return;
    }
    double start = Now();
    c.Rows(pages * kRowsPerPage);
    const double composed = Now();
    const HWND progress = FindWindowA("#32770", kPreviewTitle);
    std::atomic<double> ended{0};
    const double hidden = HidingTime();
    double first = -1, turnSum = 0, turnMax = 0, last = -1;
    const int turns = 10;
    std::thread driver([&] {
        while (ended.load() == 0)
            Sleep(1);
        // The progress window bears the same caption: the preview is the other one.
        HWND preview = nullptr;
        if (!AwaitQuickly([&] {
                preview = FindWindowA("#32770", kPreviewTitle);
                return preview && preview != progress && IsWindowVisible(preview);
            }))
            return;
        const std::string of = " of " + std::to_string(pages);
        if (AwaitPage(preview, "Page 1" + of))
            first = Now() - ended.load();
        for (int turn = 0; turn < turns; ++turn) {
            const double at = Now();
            PostMessageA(preview, WM_KEYDOWN, VK_NEXT, 0);
            if (!AwaitPage(preview, "Page " + std::to_string(turn + 2) + of))
                break;
            turnSum += Now() - at;
            turnMax = std::max(turnMax, Now() - at);
        }
        const double at = Now();
        PostMessageA(preview, WM_KEYDOWN, VK_END, 0);
        if (AwaitPage(preview, "Page " + std::to_string(pages) + of))
            last = Now() - at;
        PostMessageA(preview, WM_KEYDOWN, VK_ESCAPE, 0);
    });
    ended = Now();
    pvEndDoc(c.doc, PV_END_FINISHED);
    driver.join();
    DestroyWindow(owner);
    std::printf("%d %.3f %.3f %.3f %.4f %.4f %.4f %.1f\n", pages, composed - start, hidden, first,
                turnSum / turns, turnMax, last, PeakWorkingSetMb());
}

// Runs this program with `args` in a process of its own and returns what it printed.
std::string RunOne(const std::string &args) {
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, sizeof self);
    const std::string out = TempFile("engine_bench.out");
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE file = CreateFileA(out.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                              0, nullptr);
    STARTUPINFOA si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = file;
    si.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION pi{};
    std::string command = "\"" + std::string(self) + "\" --one " + args;
    if (CreateProcessA(nullptr, &command[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si,
                       &pi)) {
        WaitForSingleObject(pi.hProcess, INFINITE);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
    }
    CloseHandle(file);
    std::string text;
    if (FILE *f = std::fopen(out.c_str(), "r")) {
        char line[256];
        while (std::fgets(line, sizeof line, f))
            text += line;
        std::fclose(f);
    }
    DeleteFileA(out.c_str());
    return text;
}

struct Composed {
    int rows = 0;
    long long textBytes = 0, pdfBytes = 0;
    double composeS = 0, modelPeakMb = 0, writeS = 0, peakMb = 0;
    int result = 0;
};

Composed RunCompose(int rows) {
    Composed c;
    const std::string out = RunOne("compose " + std::to_string(rows));
    if (std::sscanf(out.c_str(), "%d %lld %lf %lf %lf %lf %lld %d", &c.rows, &c.textBytes,
                    &c.composeS, &c.modelPeakMb, &c.writeS, &c.peakMb, &c.pdfBytes, &c.result) != 8)
        std::printf("  compose %d failed: %s\n", rows, out.c_str());
    return c;
}

void ReportMemory(int rows) {
    const Composed none = RunCompose(0), many = RunCompose(rows);
    const double grown = (many.modelPeakMb - none.modelPeakMb) * 1024 * 1024;
    std::printf("document memory: %d rows of 10 texts and a rule, %d a page\n", rows, kRowsPerPage);
    std::printf("  peak working set: %.1f MB with no rows, %.1f MB with %d (composed in %.2f s)\n",
                none.modelPeakMb, many.modelPeakMb, rows, many.composeS);
    std::printf("  text given: %.1f bytes a row; beyond it the document takes %.0f bytes a row\n",
                static_cast<double>(many.textBytes) / rows, (grown - many.textBytes) / rows);
    std::printf("  PDF: %.2f s, %.1f MB for %d pages, peak working set %.1f MB, pvEndDoc %d\n",
                many.writeS, many.pdfBytes / 1048576.0, (rows + kRowsPerPage - 1) / kRowsPerPage,
                many.peakMb, many.result);
}

void ReportLargePdf(int rows) {
    const Composed c = RunCompose(rows);
    std::printf("large PDF: %d rows, %d pages\n", rows, (rows + kRowsPerPage - 1) / kRowsPerPage);
    std::printf("  composed in %.2f s, written in %.2f s, %.1f MB; peak working set %.1f MB "
                "(%.1f MB before writing); pvEndDoc %d\n",
                c.composeS, c.writeS, c.pdfBytes / 1048576.0, c.peakMb, c.modelPeakMb, c.result);
}

void ReportPreview(int pages) {
    const std::string out = RunOne("preview " + std::to_string(pages));
    int shown = 0;
    double composeS, hiddenS, firstS, turnMeanS, turnMaxS, lastS, peakMb;
    if (std::sscanf(out.c_str(), "%d %lf %lf %lf %lf %lf %lf %lf", &shown, &composeS, &hiddenS,
                    &firstS, &turnMeanS, &turnMaxS, &lastS, &peakMb) != 8) {
        std::printf("preview failed: %s\n", out.c_str());
        return;
    }
    std::printf("preview: %d pages composed in %.2f s, peak working set %.1f MB\n", shown, composeS,
                peakMb);
    // Under Xvfb with no window manager Wine's X11 driver waits 2 s for one to confirm that
    // the progress window is hidden; a desktop with a window manager, and Windows, answer at once.
    std::printf("  first page shown %.0f ms after pvEndDoc; hiding a window takes %.0f ms here, "
                "so %.0f ms without the progress window's hiding\n",
                firstS * 1000, hiddenS * 1000, (firstS - hiddenS) * 1000);
    std::printf("  next page %.1f ms on average, %.1f ms at most (10 turns); to the last page "
                "%.1f ms\n",
                turnMeanS * 1000, turnMaxS * 1000, lastS * 1000);
}

} // namespace

int main(int argc, char **argv) {
    if (argc == 4 && std::strcmp(argv[1], "--one") == 0) {
        const int count = std::atoi(argv[3]);
        if (std::strcmp(argv[2], "compose") == 0)
            ComposeAndWrite(count);
        else if (std::strcmp(argv[2], "preview") == 0)
            TimePreview(count);
        return 0;
    }
    const int rows = argc > 1 ? std::atoi(argv[1]) : 100000;
    const int large = argc > 2 ? std::atoi(argv[2]) : 500000;
    const int pages = argc > 3 ? std::atoi(argv[3]) : 2000;
    if (rows > 0)
        ReportMemory(rows);
    if (large > 0)
        ReportLargePdf(large);
    if (pages > 0)
        ReportPreview(pages);
    return 0;
}
