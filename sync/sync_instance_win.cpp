// The mutex's name comes from the program directory, so syncs of two POS installs on one
// computer do not exclude each other, whatever case the path is written in.
#include "sync_instance_win.h"

#include <cctype>
#include <cstdint>

namespace {

std::string MutexName(const std::string &programDir) {
    uint64_t hash = 14695981039346656037ULL; // FNV-1a
    for (char c : programDir) {
        hash ^= static_cast<unsigned char>(std::tolower(static_cast<unsigned char>(c)));
        hash *= 1099511628211ULL;
    }
    static const char digits[] = "0123456789abcdef";
    std::string name = "Local\\Ringsync-";
    for (int shift = 60; shift >= 0; shift -= 4)
        name += digits[(hash >> shift) & 15];
    return name;
}

} // namespace

SyncInstance::SyncInstance(const std::string &programDir) {
    mutex_ = CreateMutexA(nullptr, TRUE, MutexName(programDir).c_str());
    held_ = mutex_ != nullptr && GetLastError() != ERROR_ALREADY_EXISTS;
}

SyncInstance::~SyncInstance() {
    if (mutex_) {
        if (held_)
            ReleaseMutex(mutex_);
        CloseHandle(mutex_);
    }
}
