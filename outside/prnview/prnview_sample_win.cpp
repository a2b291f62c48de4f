// A sample call log of three pages composed through PRNVIEW32.dll from a stand-in back-office
// window, slowly enough to watch the progress bar: for looking at the engine's windows
// (scripts/prnview-screenshots) without a call log.
#include <windows.h>

#include <cstdio>

#include "prnview.h"

namespace {

void Heading(int32_t doc) {
    pvRect(doc, 0.5f, 0.5f, 8.0f, 0.8f, 1.0f, 0xFFFFFF, 0);
    pvFont(doc, 0, 12, 0, "Times New Roman");
    pvText(doc, 4.25f, 0.56f, 1, "Inbound Call Log From 01 Dec 2026 to 07 Dec 2026");
    pvFont(doc, 0, 10, 0xFF0000, "Courier New");
    const struct {
        const char *text;
        float x;
    } columns[] = {{"Date", 0.5f}, {"Time", 1.5f}, {"Number", 2.2f}, {"Name", 3.7f},
                   {"Secs", 6.0f}, {"Line", 6.5f}, {"Rings", 7.0f}};
    for (const auto &c : columns)
        pvText(doc, c.x, 0.9f, 0, c.text);
    pvText(doc, 8.0f, 0.9f, 2, "Error");
    pvLine(doc, 0.5f, 1.1f, 8.0f, 1.1f, 1.0f, 0);
    pvFont(doc, 0, 8, 0, "Times New Roman");
    pvSpecialText(doc, 0.5f, 10.2f, 0, "Corner Pizza  Page ##pageno## of ##pagecount##");
    pvText(doc, 8.0f, 10.2f, 2, "Printed on 12-08-2026 at 09:15:00");
}

void Row(int32_t doc, int row, float y) {
    static const char *const names[] = {"SMITH JOHN", "GARCIA MARIA", "OUT-OF-AREA", "LEE ANNA",
                                        "PRIVATE"};
    char date[16], time[16], number[16], secs[8], line[8], rings[8];
    std::snprintf(date, sizeof date, "12-%02d-2026", 1 + row / 20);
    std::snprintf(time, sizeof time, "%02d:%02d %s", 11 + row % 2, (row * 7) % 60,
                  row % 2 ? "AM" : "PM");
    std::snprintf(number, sizeof number, "555-%03d-%04d", 100 + row % 37, 1000 + row * 13);
    std::snprintf(secs, sizeof secs, "%d", 20 + (row * 37) % 400);
    std::snprintf(line, sizeof line, "%02d", 1 + row % 4);
    std::snprintf(rings, sizeof rings, "%02d", row % 6);
    pvFont(doc, 0, 10, 0, "Courier New");
    pvText(doc, 0.5f, y, 0, date);
    pvText(doc, 1.5f, y, 0, time);
    pvText(doc, 2.2f, y, 0, number);
    pvText(doc, 3.7f, y, 0, names[row % 5]);
    pvText(doc, 6.35f, y, 2, secs);
    pvText(doc, 6.7f, y, 1, line);
    pvText(doc, 7.2f, y, 1, rings);
    pvText(doc, 7.75f, y, 1, row % 9 == 0 ? "YES" : "NO");
    pvLine(doc, 0.5f, y + 0.16f, 8.0f, y + 0.16f, 1.0f, 0x969696);
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    HWND office = CreateWindowExA(0, "Static", "Back Office", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20,
                                  20, 500, 300, nullptr, nullptr, nullptr, nullptr);
    SetForegroundWindow(office);
    int32_t doc = pvStartDoc(0, "Inbound Call Log Report - 12-08-2026", "", 0, 1, 0, 7, 4169);
    if (doc < 1)
        return 1;
    Heading(doc);
    const int rows = 110;
    int onPage = 0;
    bool stopped = false;
    for (int row = 0; row < rows && !stopped; ++row) {
        if (onPage == 44) {
            pvNewPage(doc, 1, 0, 7);
            Heading(doc);
            onPage = 0;
        }
        Row(doc, row, 1.3f + 0.2f * static_cast<float>(onPage++));
        pvSetProgress(doc, 100 * (row + 1) / rows);
        Sleep(60);
        stopped = pvCheckAbort(doc) != 0;
    }
    pvEndDoc(doc, stopped ? PV_END_STOPPED : PV_END_FINISHED);
    DestroyWindow(office);
    return 0;
}
