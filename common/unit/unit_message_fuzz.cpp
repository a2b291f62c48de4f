// Feeds arbitrary datagrams and call reports through every reader of the unit's texts: none may
// read past its input, overflow, or give a day 0 or a time outside the day.
#include "unit_message.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const std::string datagram(reinterpret_cast<const char *>(data), size);
    const std::string report = ReportFromDatagram(datagram);
    const std::string &text = report.empty() ? datagram : report;
    for (int32_t column = 0; column <= 81; ++column)
        if (GetField(column, text).size() > 80)
            std::abort();
    ClassifyNumber(GetField(COL_NUMBER, text));
    ReadLeadingNumber(text);
    const CivilDate today{2026, 12, 31};
    UnitDateToText(GetField(COL_DATE, text), today);
    if (UnitDateToDays(GetField(COL_DATE, text), today) <= 0)
        std::abort();
    const int32_t seconds =
        UnitTimeToSeconds(GetField(COL_TIME, text), GetField(COL_MERIDIEM, text), 12345);
    if (seconds < 0 || seconds >= 86400)
        std::abort();
    return 0;
}
