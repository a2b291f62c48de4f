// Exclusion list entries to and from CSV rows.
#include "excl_csv.h"

#include "csv.h"
#include "excl_list.h"
#include "keyfile.h"
#include "record_text.h"

namespace {

// Beyond 15 digits the editor's line cannot show the number.
const size_t kMostDigits = 15;

size_t DigitCount(const std::string &text) {
    size_t digits = 0;
    for (char c : text)
        digits += c >= '0' && c <= '9';
    return digits;
}

std::string Trimmed(const std::string &text) {
    const size_t begin = text.find_first_not_of(" \t");
    if (begin == std::string::npos)
        return "";
    return text.substr(begin, text.find_last_not_of(" \t") - begin + 1);
}

std::string Lowered(std::string text) {
    for (char &c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

bool IsBlankRow(const CsvRow &row) {
    for (const std::string &field : row.fields)
        if (!Trimmed(field).empty())
            return false;
    return true;
}

bool IsHeader(const CsvRow &row) {
    return Lowered(Trimmed(row.fields[0])) == "number";
}

bool IsUsableNumber(const std::string &number) {
    const size_t digits = DigitCount(number);
    return digits > 0 && digits <= kMostDigits;
}

std::string Decimal(long long value) {
    return ZeroPadded(value, 1);
}

} // namespace

void ExclUnreadable::Add(int line) {
    ++count;
    if (firstLines.size() < 3)
        firstLines.push_back(line);
}

std::string ExclListCsv(const std::vector<ExclRecord> &records) {
    std::string text = CsvByteOrderMark() + CsvLine({"Number", "Note"});
    for (const ExclRecord &record : records)
        text += CsvLine({GetTextPadded(record.Number), GetTextNul(record.Note)});
    return text;
}

ExclCsvRead ReadExclListCsv(const std::string &fileBytes) {
    ExclCsvRead read;
    bool first = true;
    for (const CsvRow &row : ParseCsv(CsvTextToCp1252(fileBytes))) {
        if (!row.unterminated && IsBlankRow(row))
            continue;
        const bool header = first && !row.unterminated && IsHeader(row);
        first = false;
        if (header)
            continue;
        if (row.unterminated || !IsUsableNumber(row.fields[0])) {
            read.unreadable.Add(row.line);
            continue;
        }
        const std::string note = row.fields.size() > 1 ? CsvUnguard(row.fields[1]) : "";
        // The note ends at a NUL byte, as the record holds it, not with bytes hidden behind.
        read.records.push_back(MakeExclRecord(row.fields[0], note.substr(0, note.find('\0'))));
    }
    return read;
}

int32_t ImportExclRecords(const ExclCsvRead &read,
                          const std::function<int32_t(const ExclRecord &)> &insert,
                          ExclImportCount &count) {
    count.unreadable = read.unreadable;
    for (const ExclRecord &record : read.records) {
        const int32_t status = insert(record);
        if (status == KF_OK)
            ++count.added;
        else if (status == KF_DUPLICATE)
            ++count.present;
        else
            return status;
    }
    return KF_OK;
}

std::string ExclImportSummary(const ExclImportCount &count) {
    std::string text = Decimal(count.added) + " added, " + Decimal(count.present) +
                       " already in the list, " + Decimal(count.unreadable.count) + " unreadable";
    if (count.unreadable.count == 0)
        return text;
    text += "\n(first unreadable lines: ";
    for (size_t i = 0; i < count.unreadable.firstLines.size(); i++)
        text += (i ? ", " : "") + Decimal(count.unreadable.firstLines[i]);
    return text + ")";
}
