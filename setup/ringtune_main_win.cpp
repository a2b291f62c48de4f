// Ringtune.dll's entry points: the library's load, and SetupCID, which the back office calls to
// let the user set the caller-ID server up.
#include <windows.h>
#include <commctrl.h>

#include <cstdint>

#include "cid_config_file.h"
#include "excl_editor_win.h"
#include "file_names.h"
#include "keyfile.h"
#include "prog_dir.h"
#include "ringtune_message_win.h"
#include "ringtune_state_win.h"
#include "setup_dialog_win.h"

extern "C" __declspec(dllexport) int32_t __stdcall SetupCID(HWND owner);

namespace {

// The IP address field needs the internet classes, which a host may never have registered.
void RegisterCommonControls() {
    INITCOMMONCONTROLSEX init{sizeof init, ICC_WIN95_CLASSES | ICC_INTERNET_CLASSES};
    InitCommonControlsEx(&init);
}

// A lock file that cannot be deleted is held open by a running server: the dialog only shows
// the settings. Otherwise this call holds the lock file, so no server starts under the dialog.
void TakeServerLock() {
    SetupCallState &call = g_ringtune.call;
    const std::string path = g_ringtune.programDir + LOCK_FILE;
    if (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) {
        SetLastError(0);
        if (!DeleteFileA(path.c_str())) {
            call.restricted = 1;
            return;
        }
    }
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        // A server that started between the deletion and this open holds the file now; any
        // other failure leaves the dialog unrestricted, with nothing keeping a server out.
        if (GetLastError() == ERROR_SHARING_VIOLATION)
            call.restricted = 1;
        return;
    }
    const int32_t zero = 0;
    DWORD written = 0;
    WriteFile(file, &zero, sizeof zero, &written, nullptr);
    call.lockFile = file;
}

void ReleaseServerLock() {
    SetupCallState &call = g_ringtune.call;
    if (call.lockFile != INVALID_HANDLE_VALUE)
        CloseHandle(call.lockFile);
    call.lockFile = INVALID_HANDLE_VALUE;
}

} // namespace

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        g_ringtune.module = instance;
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

// A second call while one is in progress (a host clicked again while a warning without owner
// was up) returns at once rather than opening a second dialog over the same files.
extern "C" int32_t __stdcall SetupCID(HWND owner) {
    if (g_ringtune.inCall)
        return 0;
    g_ringtune.inCall = true;
    g_ringtune.call = SetupCallState{};
    g_ringtune.call.owner = owner;
    RegisterCommonControls();

    g_ringtune.programDir = ProgramDirOfModule();
    ReadCidConfig(g_ringtune.programDir, g_ringtune.config);
    OpenExclLists();
    TakeServerLock();
    if (g_ringtune.call.restricted)
        TuneMessage(owner, "Running Editor in Restricted Access Mode\r\rServer is Running!",
                    "Server Running", MB_ICONEXCLAMATION);
    ShowSetupDialog(owner, g_ringtune.call.restricted);
    kf_CloseAll();
    ReleaseServerLock();

    g_ringtune.inCall = false;
    return 0;
}
