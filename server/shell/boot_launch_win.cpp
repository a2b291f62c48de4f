// The autostart value under HKCU\Software\Microsoft\Windows\CurrentVersion\Run.
#include "boot_launch_win.h"

#include <windows.h>

#include "prog_dir.h"
#include "server_message.h"
#include "shell_text.h"
#include "tray_win.h"

namespace {

const char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char kValueName[] = "Halden_Ringhold";

HKEY OpenRunKey() {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kRunKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return nullptr;
    return key;
}

} // namespace

int32_t IsBootLaunchSet() {
    HKEY key = OpenRunKey();
    if (key == nullptr)
        return 0;
    char data[300];
    DWORD size = sizeof data;
    const LONG result =
        RegQueryValueExA(key, kValueName, nullptr, nullptr, reinterpret_cast<BYTE *>(data), &size);
    RegCloseKey(key);
    // A path longer than the buffer still means the value is there.
    return result == ERROR_SUCCESS || result == ERROR_MORE_DATA ? 1 : 0;
}

void SetBootLaunch(int32_t flag) {
    HKEY key = OpenRunKey();
    if (key == nullptr) {
        ServerMessage(g_Tray.Window, "Error Opening System Registry!", "Registry Error!",
                      MB_ICONERROR, false);
        return;
    }
    if (flag != 0) {
        const std::string command = BootLaunchCommand(ProgramFileOfModule());
        RegSetValueExA(key, kValueName, 0, REG_SZ, reinterpret_cast<const BYTE *>(command.c_str()),
                       (DWORD)command.size() + 1);
    } else {
        RegDeleteValueA(key, kValueName);
    }
    RegCloseKey(key);
}
