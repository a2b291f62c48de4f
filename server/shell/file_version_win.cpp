// Version resources through the version API, and the program's own path without a length limit.
#include "file_version_win.h"

#include <vector>
#include <windows.h>

VersionFound ReadFileVersion(const std::string &path, FileVersion &version) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
    if (size == 0)
        return VersionFound::NoResource;
    std::vector<char> data(size);
    if (!GetFileVersionInfoA(path.c_str(), 0, size, data.data()))
        return VersionFound::NoResource;
    void *fixed = nullptr;
    UINT fixedSize = 0;
    if (!VerQueryValueA(data.data(), "\\", &fixed, &fixedSize) || fixed == nullptr ||
        fixedSize < sizeof(VS_FIXEDFILEINFO))
        return VersionFound::NoFixedPart;
    const auto *info = static_cast<const VS_FIXEDFILEINFO *>(fixed);
    version.Major = HIWORD(info->dwFileVersionMS);
    version.Minor = LOWORD(info->dwFileVersionMS);
    version.Release = HIWORD(info->dwFileVersionLS);
    version.Build = LOWORD(info->dwFileVersionLS);
    return VersionFound::Found;
}

