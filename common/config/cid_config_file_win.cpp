// Win32 access to DATA\QuorlCID.CFG. Every open shares reading and writing so that Ringtune and
// the server never lock each other out, and the file is closed again before returning.
#include "cid_config_file.h"
#include "file_names.h"
#include <cstring>
#include <windows.h>

namespace {

HANDLE OpenConfigFile(const std::string &programDir, DWORD disposition) {
    std::string path = programDir + CONFIG_FILE;
    return CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                       FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, disposition,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

// Up to the record's size from offset 0; false when the read itself fails.
bool ReadRecordBytes(HANDLE file, uint8_t (&bytes)[sizeof(CidConfig)], DWORD &count) {
    count = 0;
    return ReadFile(file, bytes, sizeof bytes, &count, nullptr) != 0;
}

} // namespace

bool ReadCidConfig(const std::string &programDir, CidConfig &cfg) {
    if (programDir.empty())
        return false;
    bool loaded = false;
    HANDLE file = OpenConfigFile(programDir, OPEN_ALWAYS);
    if (file != INVALID_HANDLE_VALUE) {
        uint8_t bytes[sizeof(CidConfig)];
        DWORD count;
        if (ReadRecordBytes(file, bytes, count)) {
            LoadCidConfigBytes(bytes, count, cfg);
            loaded = true;
        }
        CloseHandle(file);
    }
    LimitCidConfigLines(cfg);
    return loaded;
}

bool WriteCidConfig(const std::string &programDir, const CidConfig &cfg) {
    if (programDir.empty())
        return false;
    HANDLE file = OpenConfigFile(programDir, OPEN_ALWAYS);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    bool ok = WriteFile(file, &cfg, sizeof cfg, &written, nullptr) && written == sizeof cfg;
    CloseHandle(file);
    return ok;
}

ServerConfigStatus ReadServerConfig(const std::string &programDir, CidConfig &cfg) {
    std::memset(&cfg, 0, sizeof cfg);
    if (programDir.empty())
        return ServerConfigStatus::Missing;
    HANDLE file = OpenConfigFile(programDir, OPEN_EXISTING);
    if (file == INVALID_HANDLE_VALUE) {
        DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND
                   ? ServerConfigStatus::Missing
                   : ServerConfigStatus::Unusable;
    }
    uint8_t bytes[sizeof(CidConfig)];
    DWORD count;
    if (!ReadRecordBytes(file, bytes, count))
        count = 0;
    CloseHandle(file);
    std::memcpy(&cfg, bytes, count);
    return JudgeServerConfig(count, cfg);
}
