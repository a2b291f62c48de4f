// The exclusion lists as CSV files: the file an export writes, and the entries an import takes
// from a file a spreadsheet or another list wrote.
#pragma once
#include "excl_record.h"
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// The whole file: the byte-order mark, "Number,Note" and a row per entry, its stored digits and
// its note.
std::string ExclListCsv(const std::vector<ExclRecord> &records);

struct ExclUnreadable {
    int32_t count = 0;
    std::vector<int> firstLines; // at most three

    void Add(int line);
};

struct ExclCsvRead {
    std::vector<ExclRecord> records; // in the file's order, duplicates kept
    ExclUnreadable unreadable;
};

// The entries of a CSV file, each as the Add dialog makes it from a number and a note. The
// "Number,Note" header and blank rows are passed over; a row is unreadable when its number has
// no digit (such an entry would hide every withheld caller) or more than 15, or when a quote in
// it is never closed.
ExclCsvRead ReadExclListCsv(const std::string &fileBytes);

struct ExclImportCount {
    int32_t added = 0;
    int32_t present = 0; // already in the list, or earlier in the same file
    ExclUnreadable unreadable;
};

// Hands each record to `insert`, which returns the record manager's status, and counts the
// outcomes. Any status but KF_OK or KF_DUPLICATE stops the import and is returned.
int32_t ImportExclRecords(const ExclCsvRead &read,
                          const std::function<int32_t(const ExclRecord &)> &insert,
                          ExclImportCount &count);

// "N added, M already in the list, K unreadable", and when K is not 0 a second line naming the
// first unreadable lines.
std::string ExclImportSummary(const ExclImportCount &count);
