// Starting a real Ringhold for tests, and finding and reading the windows it shows.
#include "ringhold_test_process_win.h"

#include <cstdio>

#include "cid_config.h"
#include "file_names.h"
#include "shell_control.h"

namespace {

bool WriteFileBytes(const std::string &path, const void *data, size_t size) {
    FILE *file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    const bool written = std::fwrite(data, 1, size, file) == size;
    return std::fclose(file) == 0 && written;
}

bool CopyBuild(const std::string &from, const std::string &to) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((from + "*.dll").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do
            CopyFileA((from + found.cFileName).c_str(), (to + found.cFileName).c_str(), FALSE);
        while (FindNextFileA(search, &found));
        FindClose(search);
    }
    return CopyFileA((from + "Ringhold.exe").c_str(), (to + "Ringhold.exe").c_str(), FALSE);
}

struct DialogSearch {
    DWORD ProcessId;
    const char *Caption;
    HWND Found;
};

BOOL CALLBACK MatchDialog(HWND window, LPARAM param) {
    auto *search = reinterpret_cast<DialogSearch *>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char className[64] = {}, caption[256] = {};
    GetClassNameA(window, className, sizeof className);
    GetWindowTextA(window, caption, sizeof caption);
    // Visible only once WM_INITDIALOG has filled it in.
    if (owner == search->ProcessId && !lstrcmpA(className, "#32770") &&
        !lstrcmpA(caption, search->Caption) && IsWindowVisible(window)) {
        search->Found = window;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK MatchMainWindow(HWND window, LPARAM param) {
    auto *search = reinterpret_cast<DialogSearch *>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char className[64] = {};
    GetClassNameA(window, className, sizeof className);
    if (owner == search->ProcessId && !lstrcmpA(className, RINGHOLD_WINDOW_CLASS)) {
        search->Found = window;
        return FALSE;
    }
    return TRUE;
}

} // namespace

RingholdProcess::RingholdProcess(const RingholdSetup &setup) {
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    static int serial = 0;
    Dir = std::string(temp) + "ringhold-" + std::to_string(GetCurrentProcessId()) + "-" +
          std::to_string(++serial) + "\\";
    CreateDirectoryA(Dir.c_str(), nullptr);
    ExePath = Dir + "Ringhold.exe";
    CreateDirectoryA((Dir + "DATA").c_str(), nullptr);
    CreateDirectoryA((Dir + "CONTROL").c_str(), nullptr);
    if (!CopyBuild(BuildBinDir(), Dir))
        std::fprintf(stderr, "cannot copy the build to %s: error %lu\n", Dir.c_str(),
                     GetLastError());
    if (setup.Configured) {
        CidConfig config{};
        config.PortSel = PORT_UDP;
        config.UnitModel = 1;
        config.FirstLine = 1;
        config.LastLine = 4;
        WriteFileBytes(Dir + CONFIG_FILE, &config, sizeof config);
        const std::string ini =
            "[" INI_SECTION "]\r\nIPTimeOut=1\r\nUDPPort=" + std::to_string(FreeUdpPort()) + "\r\n";
        WriteFileBytes(Dir + INI_FILE, ini.data(), ini.size());
    }
}

RingholdProcess::~RingholdProcess() {
    if (Process) {
        if (WaitForSingleObject(Process, 0) == WAIT_TIMEOUT) {
            TerminateProcess(Process, 1);
            WaitForSingleObject(Process, 5000);
        }
        CloseHandle(Process);
    }
    RemoveTree(Dir);
}

bool RingholdProcess::Start() {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    std::string commandLine = "\"" + ExePath + "\"";
    if (!CreateProcessA(ExePath.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                        Dir.c_str(), &startup, &info)) {
        std::fprintf(stderr, "cannot start %s: error %lu\n", ExePath.c_str(), GetLastError());
        return false;
    }
    CloseHandle(info.hThread);
    Process = info.hProcess;
    ProcessId = info.dwProcessId;
    return WaitUntil(
        [&] {
            DialogSearch search{ProcessId, nullptr, nullptr};
            EnumWindows(MatchMainWindow, reinterpret_cast<LPARAM>(&search));
            Window = search.Found;
            return Window != nullptr;
        },
        START_WAIT_MS);
}

bool RingholdProcess::WaitForEnd(DWORD waitMs) {
    return WaitForSingleObject(Process, waitMs) == WAIT_OBJECT_0;
}

DWORD RingholdProcess::ExitCode() {
    DWORD code = 0;
    GetExitCodeProcess(Process, &code);
    return code;
}

HWND FindDialog(DWORD processId, const char *caption, DWORD waitMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        DialogSearch search{processId, caption, nullptr};
        EnumWindows(MatchDialog, reinterpret_cast<LPARAM>(&search));
        if (search.Found || GetTickCount() - start >= waitMs)
            return search.Found;
        Sleep(100);
    }
}

bool WaitForWindowGone(HWND window, DWORD waitMs) {
    const DWORD start = GetTickCount();
    while (IsWindow(window)) {
        if (GetTickCount() - start >= waitMs)
            return false;
        Sleep(100);
    }
    return true;
}

std::string ItemText(HWND dialog, int id) {
    char text[1024] = {};
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

bool WaitForState(HWND window, LRESULT wanted, DWORD waitMs) {
    const DWORD start = GetTickCount();
    while (AskRingholdState(window, 1000) != wanted) {
        if (GetTickCount() - start >= waitMs)
            return false;
        Sleep(200);
    }
    return true;
}
