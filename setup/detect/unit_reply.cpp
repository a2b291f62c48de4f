// The identify reply's fields and the About box's unit information line.
#include "unit_reply.h"

#include <cstdio>
#include <cstring>

#include "dotted_address.h"

namespace {

// The bytes after the first occurrence of `tag`, up to the first `endMark` or the end of the
// datagram; false when the tag is missing.
bool TaggedField(const char *data, size_t length, const char *tag, char endMark,
                 std::string &field) {
    const std::string bytes(data, length);
    const size_t at = bytes.find(tag);
    if (at == std::string::npos) {
        return false;
    }
    const size_t start = at + std::strlen(tag);
    const size_t end = bytes.find(endMark, start);
    field = bytes.substr(start, end == std::string::npos ? std::string::npos : end - start);
    return true;
}

std::string SerialNumberText(const std::string &field) {
    std::string text;
    for (size_t i = 0; i < field.size(); ++i) {
        char hex[3];
        std::snprintf(hex, sizeof hex, "%02X", static_cast<unsigned char>(field[i]));
        text += hex;
        if (i == 0 || i == 1 || i == 4) {
            text += '-';
        }
    }
    return text;
}

// Big-endian; of a longer field only the last four bytes count.
uint32_t PortNumber(const std::string &field) {
    uint32_t port = 0;
    const size_t from = field.size() > 4 ? field.size() - 4 : 0;
    for (size_t i = from; i < field.size(); ++i) {
        port = (port << 8) | static_cast<unsigned char>(field[i]);
    }
    return port;
}

} // namespace

const char kNotAvailableText[] = "Not Available for LITE or POS Units in Serial Mode.";

std::string FormatUnitIdReply(const char *data, size_t length) {
    if (std::string(data, length).find("^^<U>") == std::string::npos) {
        return "";
    }
    std::string field;
    uint8_t octets[4] = {0, 0, 0, 0};
    if (TaggedField(data, length, "<I>", '<', field)) {
        std::memcpy(octets, field.data(), field.size() < 4 ? field.size() : 4);
    }
    std::string port;
    if (TaggedField(data, length, "<T>", '<', field)) {
        port = std::to_string(PortNumber(field));
    }
    std::string serial;
    if (TaggedField(data, length, "<S>", '$', field)) {
        serial = SerialNumberText(field);
    }
    return "IP " + FormatDottedAddress(octets) + ":" + port + "  Serial# " + serial;
}

bool HasUnitTag(const std::string &datagram) {
    return datagram.find("<U>") != std::string::npos;
}

UnitInfoLink ChooseUnitInfoLink(bool otherModel, int32_t portNumber) {
    if (portNumber == 0) {
        return UnitInfoLink::Network;
    }
    return otherModel ? UnitInfoLink::NotAvailable : UnitInfoLink::Serial;
}

std::string SerialInfoText(int32_t portNumber, bool opened, const std::string &line) {
    if (!opened) {
        return "Port Error Opening COM" + std::to_string(portNumber);
    }
    return line.size() < 30 ? "Error Retriving Data" : line;
}

std::string NetworkInfoText(bool otherModel, NetworkOutcome outcome, const std::string &reply) {
    switch (outcome) {
    case NetworkOutcome::NoSocket:
        return "Cannot Start IP Session!";
    case NetworkOutcome::NotFound:
        return "No Unit Found";
    case NetworkOutcome::Found:
        break;
    }
    if (otherModel) {
        return FormatUnitIdReply(reply);
    }
    // The text behind the 21-character header.
    return reply.size() > 21 ? reply.substr(21) : "";
}

const char *UnitInfoCommand(bool otherModel) {
    return otherModel ? "^^IdX" : "^^Id-V";
}
