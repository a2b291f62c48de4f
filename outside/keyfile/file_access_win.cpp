// File-system calls of the record manager on Windows: names arrive in the ANSI code page.
#include "file_access.h"
#include <windows.h>

#include <vector>

NewFileResult CreateNewFile(const char *path) {
    HANDLE file =
        CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        return error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS ? NewFileResult::Exists
                                                                           : NewFileResult::Failed;
    }
    CloseHandle(file);
    return NewFileResult::Created;
}

void RemoveFile(const char *path) {
    DeleteFileA(path);
}

std::string PathForSqlite(const char *path) {
    const int wide = MultiByteToWideChar(CP_ACP, 0, path, -1, nullptr, 0);
    if (wide <= 0)
        return std::string();
    // A vector, not a wide string: the module then carries no wide-string code at all.
    std::vector<wchar_t> w(static_cast<size_t>(wide));
    MultiByteToWideChar(CP_ACP, 0, path, -1, w.data(), wide);
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, w.data(), -1, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0)
        return std::string();
    std::string utf8(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.data(), -1, &utf8[0], bytes, nullptr, nullptr);
    utf8.resize(static_cast<size_t>(bytes) - 1);
    return utf8;
}
