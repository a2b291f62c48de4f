// The two settings of section "CIDServer" in POSOvena.INI that the server and Ringtune read
// (the UDP receive time-out and the UDP port), and the profile reading the outside libraries share.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

struct IniSettings {
    int32_t IpTimeoutMs; // 1000 to 5000
    uint16_t UdpPort;    // never 0
};

// Whole seconds from the leading number of the text; outside 1 to 5 it is 1.
int32_t IpTimeoutMsFromText(const std::string &text);
// The leading number of the text; 0, and any number that is no port (above 65535), give 3520
// rather than another port cut from it.
uint16_t UdpPortFromText(const std::string &text);

// The text of `key` in `section` of the INI file at `iniPath` as the profile API gives it in a
// buffer of `size` bytes (so at most size - 1 characters), `fallback` when the file or key is
// missing.
std::string ReadProfileText(const std::string &iniPath, const char *section, const char *key,
                            const char *fallback, size_t size);

// Reads both keys with the same 21-byte buffer and defaults as always; an empty program
// directory gives the defaults without looking anywhere else for the file.
IniSettings ReadIniSettings(const std::string &programDir);
