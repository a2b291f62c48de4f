// Command handling of the simulated unit, shared by its serial and UDP links.
#include "unit_commands.h"

#include <cctype>
#include <cstdio>

namespace {

void SetOption(std::string &options, char letter) {
    const int upper = std::toupper(static_cast<unsigned char>(letter));
    for (char &held : options) {
        if (std::toupper(static_cast<unsigned char>(held)) == upper) {
            held = letter;
            return;
        }
    }
    options.push_back(letter);
}

std::string IdentifyReply(UnitState &unit) {
    const char port[2] = {static_cast<char>(unit.port >> 8), static_cast<char>(unit.port & 0xff)};
    return DatagramHeader(unit) + "<I>" + std::string(reinterpret_cast<const char *>(unit.ip), 4) +
           "<S>" + unit.serialNumber + "$<T>" + std::string(port, 2) + "<E>";
}

} // namespace

std::string Printable(const std::string &text) {
    std::string out;
    for (const char c : text) {
        const unsigned char code = static_cast<unsigned char>(c);
        if (code < 32 || code >= 127 || c == '\\') {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", code);
            out += escaped;
        } else {
            out += c;
        }
    }
    return out;
}

std::string StatusText(const UnitState &unit) {
    return "UNITSIM-8 " + unit.options + " LINES 08 FW 1.00 SIM";
}

std::string DatagramHeader(UnitState &unit) {
    char header[32];
    std::snprintf(header, sizeof header, "^^<U>SIM%08lu-0001",
                  static_cast<unsigned long>(++unit.sequence % 100000000));
    return header;
}

std::string AnswerSerialByte(UnitState &unit, char byte, std::string &logLine) {
    if (byte == 'V') {
        logLine = "V";
        return unit.silent ? "" : StatusText(unit) + "\r\n";
    }
    if (byte == '@') {
        logLine = "@";
        return unit.silent ? "" : std::string(1, unit.probeAnswer);
    }
    if (std::isalpha(static_cast<unsigned char>(byte))) {
        logLine = std::string("option ") + byte;
        SetOption(unit.options, byte);
        return "";
    }
    logLine = "ignored " + Printable(std::string(1, byte));
    return "";
}

std::string AnswerDatagram(UnitState &unit, const std::string &datagram, std::string &logLine) {
    if (datagram == "^^IdX") {
        logLine = "IdX";
        return unit.silent ? "" : IdentifyReply(unit);
    }
    if (datagram == "^^Id-V") {
        logLine = "V";
        return unit.silent ? "" : DatagramHeader(unit) + StatusText(unit);
    }
    if (datagram.size() == 6 && datagram.compare(0, 5, "^^Id-") == 0 &&
        std::isalpha(static_cast<unsigned char>(datagram[5]))) {
        logLine = std::string("option ") + datagram[5];
        SetOption(unit.options, datagram[5]);
        return "";
    }
    logLine = "ignored " + Printable(datagram);
    return "";
}
