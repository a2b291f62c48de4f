// Whole-file replacement through a temporary file beside the target and a rename.
#include "replace_file_win.h"

#include <windows.h>

namespace {

std::wstring FolderOf(const std::wstring &path) {
    const size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? L"." : path.substr(0, slash + 1);
}

// The bytes on disk before the rename: a power cut after it must not leave an empty file.
bool WriteAndFlush(const std::wstring &path, const std::string &bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    bool written = true;
    for (size_t done = 0; written && done < bytes.size();) {
        const DWORD chunk =
            bytes.size() - done > (1u << 20) ? (1u << 20) : DWORD(bytes.size() - done);
        DWORD wrote = 0;
        written = WriteFile(file, bytes.data() + done, chunk, &wrote, nullptr) && wrote == chunk;
        done += wrote;
    }
    written = written && FlushFileBuffers(file);
    return CloseHandle(file) && written;
}

} // namespace

bool ReplaceFileWith(const std::wstring &path, const std::string &bytes) {
    wchar_t temporary[MAX_PATH];
    if (!GetTempFileNameW(FolderOf(path).c_str(), L"csv", 0, temporary))
        return false;
    if (WriteAndFlush(temporary, bytes) &&
        MoveFileExW(temporary, path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    DeleteFileW(temporary);
    return false;
}
