// Pantry's file test on Windows.
#include <windows.h>

#include "pantry.h"

extern "C" int32_t PANTRY_CALL Exist(const char *path) {
    if (path == nullptr)
        return 0;
    const DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY) ? 1
                                                                                             : 0;
}
