// Feeds arbitrary datagrams to the identify reply's reader: it may not read past the datagram,
// and what it shows must be the fixed line with only the characters each field can hold.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "unit_reply.h"

namespace {

void Require(bool holds) {
    if (!holds)
        std::abort();
}

bool OnlyOf(const std::string &text, const char *allowed) {
    return text.find_first_not_of(allowed) == std::string::npos;
}

// "a.b.c.d", each octet 0 to 255.
bool IsDottedAddress(const std::string &text) {
    int parts = 0;
    size_t from = 0;
    for (;;) {
        const size_t dot = text.find('.', from);
        const std::string part = text.substr(from, dot == std::string::npos ? dot : dot - from);
        if (part.empty() || part.size() > 3 || !OnlyOf(part, "0123456789") || std::stoi(part) > 255)
            return false;
        ++parts;
        if (dot == std::string::npos)
            return parts == 4;
        from = dot + 1;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const char *bytes = reinterpret_cast<const char *>(data);
    const std::string datagram(bytes, size);
    const std::string shown = FormatUnitIdReply(bytes, size);
    Require(NetworkInfoText(true, NetworkOutcome::Found, datagram) == shown);
    if (datagram.find("^^<U>") == std::string::npos) {
        Require(shown.empty());
        return 0;
    }
    const std::string serialMark = "  Serial# ";
    const size_t colon = shown.find(':');
    const size_t serialAt = shown.find(serialMark);
    Require(shown.compare(0, 3, "IP ") == 0 && colon != std::string::npos &&
            serialAt != std::string::npos && colon < serialAt);
    Require(IsDottedAddress(shown.substr(3, colon - 3)));
    // The port is four bytes at most: 10 digits, never more than 2^32 - 1.
    const std::string port = shown.substr(colon + 1, serialAt - colon - 1);
    Require(port.size() <= 10 && OnlyOf(port, "0123456789") &&
            (port.empty() || std::stoull(port) <= 0xFFFFFFFFull));
    // Two hex digits a byte, dashes after the first, second and fifth.
    const std::string serial = shown.substr(serialAt + serialMark.size());
    Require(OnlyOf(serial, "0123456789ABCDEF-") && serial.size() <= 3 * size);
    return 0;
}
