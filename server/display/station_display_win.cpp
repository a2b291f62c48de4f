// Writing station display records and holding the line lock files, on Windows files.
#include <windows.h>

#include "station_display.h"

#include "file_names.h"
#include "record_text.h"

namespace {

// Writes rec for lines from first (at least 1) to last in one opening of the file, shared so
// that the order stations can read it meanwhile.
bool WriteRecords(const std::string &programDir, int32_t first, int32_t last,
                  const StationDisplayRecord &rec) {
    if (programDir.empty())
        return false;
    if (first < 1)
        first = 1;
    if (last < first)
        return true;
    HANDLE file = CreateFileA((programDir + DISPLAY_FILE).c_str(), GENERIC_READ | GENERIC_WRITE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    bool written = true;
    for (int64_t line = first; line <= last && written; ++line) {
        LARGE_INTEGER offset;
        offset.QuadPart = (line - 1) * static_cast<int64_t>(sizeof rec);
        DWORD count = 0;
        written = SetFilePointerEx(file, offset, nullptr, FILE_BEGIN) &&
                  WriteFile(file, &rec, sizeof rec, &count, nullptr) && count == sizeof rec;
    }
    CloseHandle(file);
    return written;
}

void ReleaseLine(LineLocks &locks, size_t index) {
    if (locks.Handles[index] == nullptr)
        return;
    CloseHandle(locks.Handles[index]);
    locks.Handles[index] = nullptr;
    const int32_t line = locks.First + static_cast<int32_t>(index);
    DeleteFileA((locks.ProgramDir + LineLockFileName(line)).c_str());
}

} // namespace

bool WriteDisplayRecord(const std::string &programDir, int32_t line,
                        const StationDisplayRecord &rec) {
    return line >= 1 && WriteRecords(programDir, line, line, rec);
}

bool ShowWaitingForCall(const std::string &programDir, int32_t first, int32_t last) {
    return WriteRecords(programDir, first, last, WaitingRecord());
}

void ShowServerOffline(const std::string &programDir, int32_t first, int32_t last) {
    SYSTEMTIME now;
    GetLocalTime(&now);
    WriteRecords(programDir, first, last,
                 OfflineRecord(ClockText(now.wHour, now.wMinute, now.wSecond)));
}

int32_t LockLines(LineLocks &locks, const std::string &programDir, int32_t first, int32_t last) {
    UnlockLines(locks);
    if (programDir.empty())
        return 1;
    locks.First = first;
    locks.Last = last;
    locks.ProgramDir = programDir;
    locks.Handles.assign(last >= first ? static_cast<size_t>(int64_t{last} - first + 1) : 0,
                         nullptr);
    for (size_t i = 0; i < locks.Handles.size(); ++i) {
        const std::string name = programDir + LineLockFileName(first + static_cast<int32_t>(i));
        // A file left by a server that ended without cleaning up deletes; one that another
        // server holds open does not, and that line is taken.
        const bool stale = DeleteFileA(name.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND;
        HANDLE file = stale ? CreateFileA(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                          OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr)
                            : INVALID_HANDLE_VALUE;
        if (file == INVALID_HANDLE_VALUE) {
            UnlockLines(locks);
            return 1;
        }
        locks.Handles[i] = file;
    }
    return 0;
}

void UnlockLines(LineLocks &locks) {
    for (size_t i = 0; i < locks.Handles.size(); ++i)
        ReleaseLine(locks, i);
    locks.Handles.clear();
    locks.First = locks.Last = 0;
}
