// Feeds arbitrary answers to the calls-by-number question: the kept number is always 20
// characters, its heading text is a phone number or a withheld word, and a logged call of
// exactly the typed digits (with or without a leading 1) is always one of the report's calls.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "log_rows.h"
#include "record_text.h"
#include "report_text.h"

namespace {

void Require(bool holds) {
    if (!holds)
        std::abort();
}

bool IsWithheldWord(const std::string &text) {
    return text == "OUT-OF-AREA" || text == "PRIVATE";
}

// Up to ten digits as AAA-BBB-CCCC (fewer stay plain), then " x" and up to five more.
bool IsPhoneText(const std::string &text) {
    if (text.size() > 19 || text.find_first_not_of("0123456789- x") != std::string::npos)
        return false;
    const size_t x = text.find(" x");
    return x == std::string::npos || (x == 12 && text.size() > 14);
}

CallLogRecord CallFrom(const std::string &number) {
    CallLogRecord record;
    std::memset(&record, 0, sizeof record);
    PutTextPadded(record.Number, number);
    return record;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const std::string answer(reinterpret_cast<const char *>(data), size);
    std::string wanted;
    const bool asked = WantedNumber(answer, wanted);
    Require(wanted.size() == 20);
    if (!asked)
        return 0;
    const std::string heading = FmtPhone(TrimBlanks(wanted));
    Require(IsWithheldWord(heading) || IsPhoneText(heading));
    const std::string digits = DigitsOnly(wanted);
    if (!digits.empty()) {
        Require(NumberMatches(CallFrom(digits), wanted));
        if (digits.size() < sizeof(CallLogRecord::Number))
            Require(NumberMatches(CallFrom("1" + digits), wanted));
    }
    return 0;
}
