// Reading the "CIDServer" keys of POSOvena.INI with the profile API.
#include "file_names.h"
#include "ini_settings.h"
#include <windows.h>

namespace {

// The value as the profile API gives it in a 21-byte buffer (at most 20 characters).
std::string ReadIniText(const std::string &iniPath, const char *key, const char *fallback) {
    char buffer[21] = {};
    GetPrivateProfileStringA(INI_SECTION, key, fallback, buffer, sizeof buffer, iniPath.c_str());
    return buffer;
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
