// The two settings of section "CIDServer" in POSOvena.INI that the server and Ringtune read:
// the UDP receive time-out and the UDP port.
#pragma once
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

// Reads both keys with the same 21-byte buffer and defaults as always; an empty program
// directory gives the defaults without looking anywhere else for the file.
IniSettings ReadIniSettings(const std::string &programDir);
