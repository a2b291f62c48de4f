// The two exclusion lists as the configuration dialog edits them: opened with the dialog, shown
// in its list boxes, and changed by its Add and Delete buttons.
#pragma once
#include <windows.h>

#include <cstdint>
#include <vector>

#include "excl_record.h"

enum class ExclListKind { Log, Show };

// Creates each list file when missing and opens both; a list that fails stays disabled, with a
// warning that has no owner (the dialog is not open yet).
void OpenExclLists();
// Shows the numbers of the list in its list box, in key order.
void FillExclList(ExclListKind list, HWND dialog);
// Asks for a number and a note and inserts them into the list.
void AddExclEntry(ExclListKind list, HWND dialog);
// Inserts the entry and shows its line: the record manager's status (KF_DUPLICATE when the
// number is in the list already). Add and the CSV import both go through here.
int32_t StoreExclEntry(ExclListKind list, HWND dialog, const ExclRecord &record);
// Deletes the entry of the selected line, without asking.
void DeleteExclEntry(ExclListKind list, HWND dialog);

// The list whose list box has this control identifier; false for any other control.
bool ExclListOfBox(int controlId, ExclListKind &list);
// False for a list that could not be created or opened: it stays disabled.
bool IsExclListInUse(ExclListKind list);
// Appends every entry of the list in key order; false when the list cannot be read to its end.
bool ReadExclEntries(ExclListKind list, std::vector<ExclRecord> &records);
