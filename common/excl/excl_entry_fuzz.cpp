// Feeds arbitrary number and note texts to the exclusion editor's record: the key holds only
// digits, left-aligned and space-padded; the note is cut to 47 characters with zeros after; and
// the number the editor shows keys back to the stored key.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "excl_list.h"

namespace {

void Require(bool holds) {
    if (!holds)
        std::abort();
}

} // namespace

// The first byte says where the number text ends and the note text begins.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size == 0)
        return 0;
    const std::string rest(reinterpret_cast<const char *>(data) + 1, size - 1);
    const size_t split = data[0] < rest.size() ? data[0] : rest.size();
    const std::string number = rest.substr(0, split), note = rest.substr(split);

    const ExclRecord record = MakeExclRecord(number, note);
    const std::string key(record.Number, sizeof record.Number);
    const size_t digits = key.find_first_not_of("0123456789");
    Require(digits == std::string::npos || key.find_first_not_of(' ', digits) == std::string::npos);

    const size_t kept = note.size() < sizeof record.Note - 1 ? note.size() : sizeof record.Note - 1;
    Require(std::memcmp(record.Note, note.data(), kept) == 0);
    for (size_t i = kept; i < sizeof record.Note; ++i)
        Require(record.Note[i] == 0);

    const std::string shown = FormatExclPhone(key);
    Require(shown.size() <= 19 && shown.find_first_not_of("0123456789- x") == std::string::npos);
    // Beyond 15 digits the editor's line shows only the first 15.
    const size_t keyDigits = digits == std::string::npos ? key.size() : digits;
    if (keyDigits <= 15)
        Require(ExclKeyFromDigits(shown) == key);
    return 0;
}
