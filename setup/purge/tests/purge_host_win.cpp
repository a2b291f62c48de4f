// Runs the log purge dialog for the Wine test scripts, typing and clicking as a user would,
// and prepares and audits call logs:
//   purge_host purge DIR TEXT...        one "&Go" per TEXT typed into the days field
//   purge_host open DIR HOLDMS          the dialog only, kept open for a picture
//   purge_host progress HOLDMS          the progress window alone, for a picture
//   purge_host seed DIR OLD NEW         OLD records 40 to 400 days old, NEW 0 to 29 days old
//   purge_host audit DIR DAYSBACK       what is left at or before the cut-off, and the names
// DIR is a program directory ending in a backslash.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "box_watcher_win.h"
#include "ringhold_harness.h"
#include "call_log.h"
#include "file_names.h"
#include "keyfile.h"
#include "pantry.h"
#include "purge_log_win.h"
#include "ringtune_state_win.h"

namespace {

int32_t TodayDay() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    char date[16];
    std::snprintf(date, sizeof date, "%02u-%02u-%04u", now.wMonth, now.wDay, now.wYear);
    return DateToDays(date);
}

std::string EnabledState(HWND purge) {
    std::string state;
    for (int id : {200, 210, 140}) {
        state +=
            " " + std::to_string(id) + "=" + (IsWindowEnabled(GetDlgItem(purge, id)) ? "1" : "0");
    }
    return state;
}

// One "&Go": boxes are answered until one that ends the run; during a long run the controls
// are checked and the close box, Escape and "&Cancel" are tried.
void RunOnce(HWND purge, const std::string &days) {
    SetDlgItemTextA(purge, 140, days.c_str());
    PostMessageA(GetDlgItem(purge, 210), BM_CLICK, 0, 0);
    bool triedClose = false;
    for (;;) {
        if (!triedClose && FindDialog(GetCurrentProcessId(), "Purging Log Files", 0)) {
            triedClose = true;
            PrintLine("during run" + EnabledState(purge));
            PostMessageA(purge, WM_SYSCOMMAND, SC_CLOSE, 0);
            PostMessageA(purge, WM_COMMAND, IDCANCEL, 0);
            PostMessageA(purge, WM_COMMAND, 200, 0);
        }
        HWND box = FindDialog(GetCurrentProcessId(), nullptr, 20);
        if (!box) {
            continue;
        }
        char caption[64] = "";
        GetWindowTextA(box, caption, sizeof caption);
        AnswerMessageBox(box);
        const std::string c = caption;
        if (c != "KF_Get Error!" && c != "KF_Delete Error!") {
            break;
        }
    }
    // The controls come back one after another once the last box is answered.
    for (int i = 0; i < 1500 && EnabledState(purge).find("=0") != std::string::npos; ++i) {
        Sleep(20);
    }
    PrintLine("after run" + EnabledState(purge) + (IsWindow(purge) ? " open" : " closed"));
}

void DriveDialog(std::vector<std::string> texts, DWORD holdMs) {
    HWND purge = FindDialog(GetCurrentProcessId(), "Purge Log Entries", 30000);
    if (!purge) {
        PrintLine("purge dialog missing");
        return;
    }
    for (const std::string &days : texts) {
        RunOnce(purge, days);
    }
    Sleep(holdMs);
    PostMessageA(GetDlgItem(purge, 200), BM_CLICK, 0, 0);
}

int Seed(const std::string &dir, int oldCount, int newCount) {
    if (!FileExists(dir + CALL_LOG_FILE) && !CreateCallLog(dir)) {
        return 1;
    }
    const int32_t handle = OpenCallLog(dir);
    const int32_t today = TodayDay();
    for (int i = 0; i < oldCount + newCount; ++i) {
        CallLogRecord record{};
        record.Day = i < oldCount ? today - 40 - (i * 7919) % 361 : today - i % 30;
        record.Seconds = (i % 1440) * 60;
        std::snprintf(record.Name, sizeof record.Name, "SEED%06d", i);
        std::memset(record.Number, ' ', sizeof record.Number);
        record.Direction = 'I';
        record.Status = LOG_STATUS_AT_START;
        if (InsertCallLog(handle, record) != 0) {
            return 1;
        }
    }
    kf_CloseAll();
    PrintLine("seeded");
    return 0;
}

// "old N" records at or before the cut-off, "seed N" seeded records left, and each other
// name with how often it is in the log.
int Audit(const std::string &dir, int daysBack) {
    const int32_t mode = KF_MODE_READ;
    int32_t handle = kf_Open((dir + CALL_LOG_FILE).c_str(), &mode);
    const int32_t cutoff = TodayDay() - daysBack;
    int old = 0, seeded = 0;
    std::map<std::string, int> names;
    CallLogRecord record{};
    const int32_t length = sizeof record, keyNumber = 1, noKey = 0;
    for (int32_t op = KF_GET_FIRST;
         kf(&op, &handle, &record, &length, nullptr, &noKey, &keyNumber) == KF_OK;
         op = KF_GET_NEXT) {
        old += record.Day <= cutoff;
        const std::string name(record.Name);
        if (name.compare(0, 4, "SEED") == 0) {
            ++seeded;
        } else {
            ++names[name];
        }
    }
    kf_Close(&handle);
    PrintLine("old " + std::to_string(old));
    PrintLine("seed " + std::to_string(seeded));
    for (const auto &n : names) {
        PrintLine("name " + n.first + " " + std::to_string(n.second));
    }
    return 0;
}

} // namespace

int main(int argc, char **argv) {
    const std::string mode = argc > 2 ? argv[1] : "";
    g_ringtune.module = GetModuleHandleA(nullptr);
    if (mode == "progress") {
        HWND owner = CreateTestDialog();
        HWND progress = CreatePurgeProgress(owner);
        ShowWindow(progress, SW_SHOW);
        ShowPurgeProgress(progress, 1234);
        const DWORD start = GetTickCount();
        while (GetTickCount() - start < DWORD(std::atoi(argv[2]))) {
            MSG msg;
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
                DispatchMessageA(&msg);
            }
            Sleep(10);
        }
        DestroyWindow(progress);
        return 0;
    }
    if (argc < 3) {
        PrintLine("usage: see the head of purge_host_win.cpp");
        return 2;
    }
    const std::string dir = argv[2];
    g_ringtune.programDir = dir;
    if (mode == "seed" && argc == 5) {
        return Seed(dir, std::atoi(argv[3]), std::atoi(argv[4]));
    }
    if (mode == "audit" && argc == 4) {
        return Audit(dir, std::atoi(argv[3]));
    }
    if ((mode == "purge" && argc >= 4) || (mode == "open" && argc == 4)) {
        HWND owner = CreateTestDialog();
        std::vector<std::string> texts;
        if (mode == "purge") {
            texts.assign(argv + 3, argv + argc);
        }
        std::thread drive(DriveDialog, texts, mode == "open" ? std::atoi(argv[3]) : 0);
        PurgeLogDialog(owner);
        drive.join();
        PrintLine("busy " + std::to_string(g_ringtune.call.busy));
        return 0;
    }
    PrintLine("usage: see the head of purge_host_win.cpp");
    return 2;
}
