// Runs "Ringsync.exe /check" of a program directory as a technician would, takes the text of the
// box it shows, presses OK and writes the text and the exit code to a file for the test script.
//   check_probe PROGRAM_DIR\Ringsync.exe OUTPUT_FILE
#include "ringhold_harness.h"
#include "test_windows.h"

#include <fstream>

int main(int argc, char **argv) {
    if (argc != 3)
        return 2;
    const std::string exe = argv[1];
    ChildProcess sync;
    if (!sync.Start("\"" + exe + "\" /check", exe.substr(0, exe.find_last_of('\\') + 1)))
        return 1;
    HWND box = FindMessageBox(sync.Id(), "Caller ID Sync", START_WAIT_MS);
    const std::string text = box ? MessageBoxText(box) : "(no message box)";
    if (box)
        PressButton(box, IDOK);
    const bool ended = sync.WaitForExit(START_WAIT_MS);
    std::ofstream out(argv[2], std::ios::binary);
    out << "exit=" << (ended ? static_cast<int>(sync.ExitCode()) : -1) << "\n" << text << "\n";
    return box && ended ? 0 : 1;
}
