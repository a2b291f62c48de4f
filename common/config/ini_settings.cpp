// Turning the INI texts into the time-out and port the links use.
#include "ini_settings.h"
#include "unit/unit_message.h"

int32_t IpTimeoutMsFromText(const std::string &text) {
    int32_t seconds = ReadLeadingNumber(text);
    if (seconds < 1 || seconds > 5)
        seconds = 1;
    return seconds * 1000;
}

uint16_t UdpPortFromText(const std::string &text) {
    int32_t port = ReadLeadingNumber(text);
    if (port <= 0 || port > 65535)
        return 3520;
    return static_cast<uint16_t>(port);
}
