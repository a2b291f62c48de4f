// Reading POSOvena.INI with the profile API: the "CIDServer" keys and any other text.
#include "file_names.h"
#include "ini_settings.h"
#include <windows.h>

#include <vector>

std::string ReadProfileText(const std::string &iniPath, const char *section, const char *key,
                            const char *fallback, size_t size) {
    std::vector<char> buffer(size + 1);
    GetPrivateProfileStringA(section, key, fallback, buffer.data(), static_cast<DWORD>(size),
                             iniPath.c_str());
    return buffer.data();
}

namespace {

// The value as the profile API gives it in a 21-byte buffer (at most 20 characters).
std::string ReadIniText(const std::string &iniPath, const char *key, const char *fallback) {
    return ReadProfileText(iniPath, INI_SECTION, key, fallback, 21);
}

} // namespace

IniSettings ReadIniSettings(const std::string &programDir) {
    const char timeoutDefault[] = "1", portDefault[] = "3520";
    std::string timeout = timeoutDefault, port = portDefault;
    if (!programDir.empty()) {
        // Built from the whole program directory: a deep install folder must not lose the name.
        std::string iniPath = programDir + INI_FILE;
        timeout = ReadIniText(iniPath, "IPTimeOut", timeoutDefault);
        port = ReadIniText(iniPath, "UDPPort", portDefault);
    }
    return IniSettings{IpTimeoutMsFromText(timeout), UdpPortFromText(port)};
}
