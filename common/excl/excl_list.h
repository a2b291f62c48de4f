// The exclusion lists DATA\QuorlExclLog.CID and DATA\QuorlExclShow.CID: their creation, the
// keys both programs build, the server's lookups and the editor's record and display form.
#pragma once
#include "excl_record.h"
#include <cstdint>
#include <string>
#include <vector>

// The definition given to kf_Create: one unique key over the 16-byte number.
std::vector<uint8_t> ExclListDefinition();
// Creates the empty list programDir + listFile: 1 when the record manager succeeded, else 0.
// Nothing is created when the program directory is not known.
int32_t CreateExclList(const std::string &programDir, const std::string &listFile);
// The record manager's handle (1 or more) of the list opened for update, or a value below 1.
int32_t OpenExclList(const std::string &programDir, const std::string &listFile);

// The number field as the editor shows it: AAA-BBB-CCCC for ten digits, with " x" and at most
// five more digits for longer numbers, the digits alone for shorter ones.
std::string FormatExclPhone(const std::string &numberField);
// The digits of the text, left-aligned in 16 characters (space-padded, further digits dropped).
std::string ExclKeyFromDigits(const std::string &text);
// The server's display key: the digits of the report's raw number field, so a withheld number
// gives 16 spaces.
std::string DisplayExclKey(const std::string &numberField);
// The server's log key: the call log record's number, blanks and NULs trimmed at both ends,
// padded or cut to 16, so a withheld number gives its word.
std::string LogExclKey(const char (&number)[20]);

// Whether the open list holds the 16-character key; a list not in use (handle 0) holds nothing.
bool IsExcluded(int32_t handle, const std::string &key16);

// The record the editor stores for what the user typed: the digits of the number as the key,
// the note cut to 47 characters, every other byte zero.
ExclRecord MakeExclRecord(const std::string &numberText, const std::string &noteText);
// Inserts the record; the record manager's status (KF_DUPLICATE when the number is present).
int32_t InsertExclRecord(int32_t handle, const ExclRecord &record);
