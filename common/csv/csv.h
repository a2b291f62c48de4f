// CSV files as spreadsheets read and write them: rows of Windows-1252 fields written as UTF-8
// with a byte-order mark, and files of either encoding read back into Windows-1252 fields.
#pragma once
#include <string>
#include <vector>

// The three bytes a UTF-8 file starts with, so spreadsheets do not take it for the local code page.
std::string CsvByteOrderMark();
// The field as it goes between commas: a leading "'" when a spreadsheet would take it for a
// formula, quoted when it holds a comma, quote or line break. Still Windows-1252.
std::string CsvField(const std::string &text);
// One row in UTF-8, fields converted from Windows-1252, ended by CR LF.
std::string CsvLine(const std::vector<std::string> &fields);
// The field without the "'" that CsvField put before a formula's first character.
std::string CsvUnguard(const std::string &field);

std::string Utf8FromCp1252(const std::string &text);
// Characters outside Windows-1252 and bytes that are no UTF-8 become "?".
std::string Cp1252FromUtf8(const std::string &text);
bool IsValidUtf8(const std::string &bytes);
// A file's bytes as Windows-1252 text: UTF-8 when it starts with the byte-order mark or is valid
// UTF-8 throughout, otherwise taken as Windows-1252 already. The mark itself is dropped.
std::string CsvTextToCp1252(const std::string &fileBytes);

struct CsvRow {
    int line = 0; // where the row starts, counting from 1
    std::vector<std::string> fields;
    // A quote opened and never closed: the row is unreadable and reading goes on at the next
    // line, so one stray quote cannot swallow the rest of the file.
    bool unterminated = false;
};
// The rows of the text; line ends are CR LF, LF or CR, and empty lines give no row. Quoted
// fields may hold commas, doubled quotes and line breaks.
std::vector<CsvRow> ParseCsv(const std::string &text);
