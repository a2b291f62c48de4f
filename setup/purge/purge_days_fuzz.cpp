// Feeds arbitrary text to the purge's days-back reader and checks: the number is never negative,
// an accepted one always leaves a cut-off day after day 0, and a plain number reads back as itself.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "purge_scan.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const std::string text(reinterpret_cast<const char *>(data), size);
    const int32_t days = DaysBackFromText(text);
    if (days < 0)
        std::abort();
    if (DaysBackFromText(std::to_string(days)) != days ||
        DaysBackFromText("  " + std::to_string(days) + " " + text) != days)
        std::abort();
    for (const int32_t today : {1, 31, 32, 740000, INT32_MAX}) {
        if (CheckDaysBack(days, today) == DaysBackCheck::Accepted &&
            (days <= 30 || today - days < 1))
            std::abort();
    }
    return 0;
}
