// Prints every record of a program directory's call log in key 1 order, one tab-separated line
// each, for the soak's audit (tests/soak/soak.py) to compare with what the server was sent:
//   call_log_dump DIR   -> "today DAY", then per record: day, seconds, line, direction, number,
//                          name, duration, rings, status, extra digits, "clean" or "dirty"
// DIR is a program directory ending in a backslash.
#include <cstdio>
#include <cstring>
#include <string>

#include "pantry.h"
#include "ringhold_harness.h"

namespace {

// Every byte after a text's NUL, and the reserved bytes, are zero in a record written whole.
bool PaddingClean(const CallLogRecord &record) {
    auto zeroAfterText = [](const char *text, size_t size) {
        const size_t used = strnlen(text, size);
        for (size_t i = used; i < size; ++i) {
            if (text[i] != '\0') {
                return false;
            }
        }
        return used < size;
    };
    for (uint8_t b : record.Reserved) {
        if (b != 0) {
            return false;
        }
    }
    return zeroAfterText(record.ExtraDigits, sizeof record.ExtraDigits) &&
           zeroAfterText(record.Name, sizeof record.Name);
}

std::string TodayText() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    char date[16];
    std::snprintf(date, sizeof date, "%02u-%02u-%04u", now.wMonth, now.wDay, now.wYear);
    return date;
}

} // namespace

int main(int argc, char **argv) {
    if (argc != 2) {
        std::printf("usage: call_log_dump DIR\n");
        return 2;
    }
    ProgramDir dir{std::string(argv[1])};
    std::printf("today %d\n", static_cast<int>(DateToDays(TodayText().c_str())));
    for (const CallLogRecord &r : ReadCallLog(dir)) {
        std::printf("%d\t%d\t%d\t%c\t%.20s\t%.32s\t%d\t%d\t%u\t%.32s\t%s\n",
                    static_cast<int>(r.Day), static_cast<int>(r.Seconds), r.Line, r.Direction,
                    r.Number, r.Name, static_cast<int>(r.Duration), r.Rings,
                    static_cast<unsigned>(r.Status), r.ExtraDigits,
                    PaddingClean(r) ? "clean" : "dirty");
    }
    return 0;
}
