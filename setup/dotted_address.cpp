// Dotted-decimal unit addresses for the configuration dialog and the unit query.
#include "dotted_address.h"

#include <algorithm>
#include <cctype>
#include <cstring>

std::string FormatDottedAddress(const uint8_t octets[4]) {
    std::string text;
    for (int i = 0; i < 4; i++) {
        if (i > 0)
            text += '.';
        text += std::to_string(octets[i]);
    }
    return text;
}

// Leading spaces, then leading digits, as a number; the value only matters modulo 256, so
// wrapping an overlong run of digits changes nothing.
static uint8_t ReadOctet(const std::string &part) {
    size_t i = 0;
    while (i < part.size() && part[i] == ' ')
        i++;
    uint32_t value = 0;
    for (; i < part.size() && std::isdigit(static_cast<unsigned char>(part[i])); i++)
        value = (value * 10 + static_cast<uint32_t>(part[i] - '0')) & 0xFFFF;
    return static_cast<uint8_t>(value);
}

void ReadDottedAddress(const std::string &text, uint8_t octets[4]) {
    std::memset(octets, 0, 4);
    if (std::count(text.begin(), text.end(), '.') != 3)
        return;
    size_t start = 0;
    for (int i = 0; i < 4; i++) {
        size_t dot = text.find('.', start);
        octets[i] = ReadOctet(text.substr(start, dot - start));
        start = dot + 1;
    }
}
