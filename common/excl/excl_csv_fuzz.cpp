// Feeds arbitrary files to the exclusion list import: every entry it takes has 1 to 15 digits as
// its key and a note with zeros after its end, the unreadable lines come in file order, and an
// export of the entries reads back as the same entries.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "excl_csv.h"

namespace {

void Require(bool holds) {
    if (!holds)
        std::abort();
}

void RequireSoundRecord(const ExclRecord &record) {
    const std::string key(record.Number, sizeof record.Number);
    const size_t digits = key.find_first_not_of("0123456789");
    Require(digits >= 1 && digits <= 15 && key.find_first_not_of(' ', digits) == std::string::npos);
    const size_t end = strnlen(record.Note, sizeof record.Note);
    Require(end < sizeof record.Note);
    for (size_t i = end; i < sizeof record.Note; ++i)
        Require(record.Note[i] == 0);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const ExclCsvRead read =
        ReadExclListCsv(std::string(reinterpret_cast<const char *>(data), size));
    for (const ExclRecord &record : read.records)
        RequireSoundRecord(record);
    const std::vector<int> &lines = read.unreadable.firstLines;
    Require(lines.size() <= 3 && lines.size() <= size_t(read.unreadable.count));
    for (size_t i = 0; i < lines.size(); ++i)
        Require(lines[i] >= 1 && (i == 0 || lines[i] > lines[i - 1]));

    const ExclCsvRead back = ReadExclListCsv(ExclListCsv(read.records));
    Require(back.unreadable.count == 0 && back.records.size() == read.records.size());
    for (size_t i = 0; i < read.records.size(); ++i)
        Require(std::memcmp(&back.records[i], &read.records[i], sizeof(ExclRecord)) == 0);
    return 0;
}
