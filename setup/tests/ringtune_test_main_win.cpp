// The test program of Ringtune.dll. Ringtune takes its program directory from the executable
// of its process, so the program first copies itself with the DLLs into a fresh program
// directory and runs the tests there, in the copy. Started with kHoldUnshared and a path, it is
// the other program that holds a file open without sharing until it is killed.
#include <gtest/gtest.h>

#include <cstdlib>

#include "ringhold_harness.h"
#include "setup_call_win.h"

namespace {

const char kInProgramDir[] = "RINGTUNE_TEST_IN_PROGRAM_DIR";

// The copy writes its results to this program's output.
int RunChild(std::string commandLine, const std::string &workDir) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION child{};
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr,
                        workDir.c_str(), &startup, &child))
        return 1;
    WaitForSingleObject(child.hProcess, INFINITE);
    DWORD code = 1;
    GetExitCodeProcess(child.hProcess, &code);
    CloseHandle(child.hThread);
    CloseHandle(child.hProcess);
    return (int)code;
}

int RunCopyInProgramDir(int argc, char **argv) {
    ProgramDir dir; // Ringhold.exe, KEYFILE.dll, Pantry.dll
    const std::string bin = BuildBinDir();
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, sizeof self);
    const std::string name = std::string(self).substr(bin.size());
    for (const std::string &file :
         {std::string("Ringtune.dll"), std::string("BackOffice.exe"), name})
        CopyFileA((bin + file).c_str(), dir.Path(file).c_str(), FALSE);
    SetEnvironmentVariableA(kInProgramDir, "1");
    std::string commandLine = "\"" + dir.Path(name) + "\"";
    for (int i = 1; i < argc; i++)
        commandLine += std::string(" \"") + argv[i] + "\"";
    return RunChild(commandLine, dir.Dir);
}

int HoldUnshared(const char *path) {
    HANDLE file = CreateFileA(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 1;
    Sleep(INFINITE);
    return 0;
}

} // namespace

int main(int argc, char **argv) {
    if (argc == 3 && std::string(argv[1]) == kHoldUnshared)
        return HoldUnshared(argv[2]);
    if (!std::getenv(kInProgramDir))
        return RunCopyInProgramDir(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
