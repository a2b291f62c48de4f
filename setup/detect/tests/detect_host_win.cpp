// Runs unit detection and the unit information query against a minimal configuration dialog,
// answering the boxes they show, for the Wine test scripts:
//   detect_host detect MODEL LOCALPORT UNITPORT TIMEOUTMS [FILTERIP]
//   detect_host info MODEL PORTITEM LOCALPORT UNITPORT TIMEOUTMS [FILTERIP]
//   detect_host about MODEL PORTITEM [HOLDMS]   (the real About box; HOLDMS keeps it for a picture)
// MODEL 0 is "Quorl Vezedud 2, 4, 8", 1 another model. Prints "box CAPTION|TEXT", "about TEXT",
// "info TEXT" and the dialog's state afterwards.
#include <windows.h>

#include <cstdlib>
#include <string>
#include <thread>

#include "box_watcher_win.h"
#include "test_windows.h"
#include "ringtune_state_win.h"
#include "unit_detection_win.h"

namespace {

void PrintDialogState(HWND dialog) {
    char item[32] = "", address[32] = "";
    GetDlgItemTextA(dialog, 190, item, sizeof item);
    GetDlgItemTextA(dialog, 510, address, sizeof address);
    PrintLine(std::string("port ") + item);
    PrintLine("filter " + std::to_string(IsDlgButtonChecked(dialog, 500)));
    PrintLine(std::string("address ") + address);
    PrintLine("portsel " + std::to_string(g_ringtune.config.PortSel));
}

void SetUpDialog(HWND dialog, const char *portItem, const char *filterIp) {
    if (portItem) {
        SendDlgItemMessageA(dialog, 190, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                            reinterpret_cast<LPARAM>(portItem));
    }
    if (filterIp) {
        CheckDlgButton(dialog, 500, BST_CHECKED);
        SetDlgItemTextA(dialog, 510, filterIp);
    }
}

UnitUdpSettings Udp(char **args) {
    UnitUdpSettings udp;
    udp.localPort = static_cast<uint16_t>(std::atoi(args[0]));
    udp.unitPort = static_cast<uint16_t>(std::atoi(args[1]));
    udp.timeoutMs = static_cast<uint32_t>(std::atoi(args[2]));
    return udp;
}

// Answers every message box until the main thread is done.
void AnswerBoxes(const bool &done) {
    while (!done) {
        if (HWND box = FindDialog(GetCurrentProcessId(), nullptr, 50)) {
            AnswerMessageBox(box);
        }
    }
}

void AnswerAboutBox(DWORD holdMs) {
    HWND box = FindDialog(GetCurrentProcessId(), "About  (4.10.00)", 30000);
    if (!box) {
        PrintLine("about box missing");
        return;
    }
    char info[512] = "";
    GetDlgItemTextA(box, 250, info, sizeof info);
    PrintLine(std::string("about ") + info);
    Sleep(holdMs);
    PostMessageA(GetDlgItem(box, 260), BM_CLICK, 0, 0);
}

} // namespace

int main(int argc, char **argv) {
    const std::string mode = argc > 2 ? argv[1] : "";
    const bool detect = mode == "detect" && argc >= 6;
    const bool info = mode == "info" && argc >= 7;
    const bool about = mode == "about" && argc >= 4;
    if (!detect && !info && !about) {
        PrintLine("usage: see the head of detect_host_win.cpp");
        return 2;
    }
    g_ringtune.module = GetModuleHandleA(nullptr);
    g_ringtune.call.otherModel = std::atoi(argv[2]);
    HWND dialog = CreateTestDialog();
    g_ringtune.call.dialog = dialog;
    bool done = false;
    if (about) {
        SetUpDialog(dialog, argv[3], nullptr);
        std::thread answer(AnswerAboutBox, argc > 4 ? std::atoi(argv[4]) : 0);
        ShowAboutBox(dialog);
        answer.join();
    } else if (info) {
        SetUpDialog(dialog, argv[3], argc > 7 ? argv[7] : nullptr);
        PrintLine("info " + QueryUnitInfo(dialog, Udp(argv + 4)));
    } else {
        SetUpDialog(dialog, nullptr, argc > 6 ? argv[6] : nullptr);
        std::thread answer(AnswerBoxes, std::cref(done));
        DetectUnit(dialog, Udp(argv + 3));
        done = true;
        answer.join();
        PrintDialogState(dialog);
    }
    PrintLine("busy " + std::to_string(g_ringtune.call.busy));
    DestroyWindow(dialog);
    return 0;
}
