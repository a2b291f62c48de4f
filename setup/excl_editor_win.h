// The two exclusion lists as the configuration dialog edits them: opened with the dialog, shown
// in its list boxes, and changed by its Add and Delete buttons.
#pragma once
#include <windows.h>

enum class ExclListKind { Log, Show };

// Creates each list file when missing and opens both; a list that fails stays disabled, with a
// warning that has no owner (the dialog is not open yet).
void OpenExclLists();
// Shows the numbers of the list in its list box, in key order.
void FillExclList(ExclListKind list, HWND dialog);
// Asks for a number and a note and inserts them into the list.
void AddExclEntry(ExclListKind list, HWND dialog);
// Deletes the entry of the selected line, without asking.
void DeleteExclEntry(ExclListKind list, HWND dialog);
