// Common-controls start-up through a library loaded for the moment, and Ringhold's two exports.
#include "ringhold_exports_win.h"

#include <commctrl.h>

#include "file_version_win.h"
#include "shell_text.h"

void InitCommonControlsLibrary(DWORD classMask) {
    HMODULE library = LoadLibraryA("COMCTL32.DLL");
    if (library == nullptr)
        return;
    using InitEx = BOOL(WINAPI *)(const INITCOMMONCONTROLSEX *);
    using InitAll = void(WINAPI *)();
    if (auto initEx = reinterpret_cast<InitEx>(
            reinterpret_cast<void *>(GetProcAddress(library, "InitCommonControlsEx")))) {
        INITCOMMONCONTROLSEX init{sizeof init, classMask};
        initEx(&init);
    } else if (auto initAll = reinterpret_cast<InitAll>(
                   reinterpret_cast<void *>(GetProcAddress(library, "InitCommonControls")))) {
        initAll();
    }
    FreeLibrary(library);
}

double __stdcall INITCOMCTL32(int32_t classMask) {
    InitCommonControlsLibrary(classMask == 0 ? 0xFF : (DWORD)classMask);
    return GETSYSFILEVER("COMCTL32.DLL");
}

double __stdcall GETSYSFILEVER(const char *fileName) {
    char folder[MAX_PATH];
    const UINT length = GetSystemDirectoryA(folder, sizeof folder);
    if (fileName == nullptr || length == 0 || length >= sizeof folder)
        return 0;
    FileVersion version;
    if (ReadFileVersion(SystemFilePath(folder, fileName), version) != VersionFound::Found)
        return 0;
    return FileVersionNumber(version);
}
