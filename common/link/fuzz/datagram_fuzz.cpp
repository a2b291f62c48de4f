// Fuzzes datagram handling: the report inside a datagram, the option word of a reply, and the
// fields cut from the report.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "udp_link.h"
#include "unit_message.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const std::string datagram(reinterpret_cast<const char *>(data), size);
    const std::string report = ReportFromDatagram(datagram);
    if (datagram.find("^^<U>") != std::string::npos && datagram.size() > 21) {
        if (report != datagram.substr(21)) {
            std::abort();
        }
    } else if (!report.empty()) {
        std::abort();
    }
    const std::string word = OptionReplyWord(datagram);
    if (word.find(' ') != std::string::npos || word.size() > size) {
        std::abort();
    }
    for (int32_t column = -1; column <= 82; ++column) {
        const std::string field = GetField(column, report);
        if (field.size() > 80 || (column != COL_NAME && field.find(' ') != std::string::npos)) {
            std::abort();
        }
    }
    return 0;
}
