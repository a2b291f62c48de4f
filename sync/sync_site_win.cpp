// The site's files as the sync reads and writes them.
#include "sync_site_win.h"

#include "file_names.h"
#include "ini_settings.h"
#include "pantry.h"
#include "record_text.h"

#include <windows.h>

#include <algorithm>
#include <bcrypt.h>

namespace {

// The profile API gives this for a key that is not there; no INI value holds it.
const char ABSENT[] = "\x7f<absent>\x7f";

void ReadKey(const std::string &iniPath, const char *key, std::string &text, bool &present) {
    text = ReadProfileText(iniPath, SYNC_INI_SECTION, key, ABSENT, 2048);
    present = text != ABSENT;
    if (!present)
        text.clear();
}

std::string ReadSmallFile(const std::string &path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return "";
    char buffer[256];
    DWORD got = 0;
    std::string text;
    if (ReadFile(file, buffer, sizeof buffer, &got, nullptr))
        text.assign(buffer, got);
    CloseHandle(file);
    return text;
}

// Written beside the final name, then put in its place, so a reader never sees half a file.
bool ReplaceFile(const std::string &path, const std::string &bytes) {
    const std::string temporary = path + ".new";
    HANDLE file = CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const bool ok =
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
        written == bytes.size() && FlushFileBuffers(file);
    CloseHandle(file);
    if (ok && MoveFileExA(temporary.c_str(), path.c_str(),
                          MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    DeleteFileA(temporary.c_str());
    return false;
}

bool IsInstallationId(const std::string &id) {
    return id.size() == 32 && id.find_first_not_of("0123456789abcdef") == std::string::npos;
}

} // namespace

std::string ReadSyncSettings(const std::string &programDir, SyncSettings &settings) {
    const std::string iniPath = programDir + INI_FILE;
    SyncSettingsText text;
    ReadKey(iniPath, "Connection", text.Connection, text.HasConnection);
    ReadKey(iniPath, "Site", text.Site, text.HasSite);
    ReadKey(iniPath, "Interval", text.Interval, text.HasInterval);
    return ParseSyncSettings(text, settings);
}

std::string ExistingInstallationId(const std::string &programDir) {
    std::string id = ReadSmallFile(programDir + SYNC_INSTALLATION_FILE);
    id.erase(std::remove_if(id.begin(), id.end(), [](char c) { return c == '\r' || c == '\n'; }),
             id.end());
    return IsInstallationId(id) ? id : "";
}

bool InstallationId(const std::string &programDir, std::string &id, std::string &error) {
    id = ExistingInstallationId(programDir);
    if (!id.empty())
        return true;
    uint8_t random[16];
    if (BCryptGenRandom(nullptr, random, sizeof random, BCRYPT_USE_SYSTEM_PREFERRED_RNG) != 0) {
        error = "cannot make an installation id for this site";
        return false;
    }
    static const char digits[] = "0123456789abcdef";
    std::string made;
    for (uint8_t b : random) {
        made += digits[b >> 4];
        made += digits[b & 15];
    }
    if (!ReplaceFile(programDir + SYNC_INSTALLATION_FILE, made + "\r\n")) {
        error = "cannot write " SYNC_INSTALLATION_FILE;
        return false;
    }
    id = made;
    return true;
}

ClockReading LocalClockReading() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    ClockReading c;
    c.Year = now.wYear;
    c.Month = now.wMonth;
    c.Day = now.wDay;
    c.Hour = now.wHour;
    c.Minute = now.wMinute;
    c.Second = now.wSecond;
    return c;
}

int32_t TodayDayNumber() {
    return DateToDays(DateText(LocalClockReading()).c_str());
}

bool WriteStatusFile(const std::string &programDir, const PassStatus &status) {
    return ReplaceFile(programDir + SYNC_STATUS_FILE, StatusFileText(status));
}
