// Test support for the windows a test meets: waiting for a condition, finding a process's dialogs
// and message boxes, reading their items and pressing their buttons, listing a folder's files.
// Needs nothing but user32, so the outside libraries' tests use it too.
#pragma once
#include <windows.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

// Polls `condition` every 50 ms until it holds or `waitMs` have passed; true when it held.
bool WaitUntil(const std::function<bool()> &condition, DWORD waitMs);

// A top-level window of the process with this class, and this caption unless it is nullptr.
HWND FindProcessWindow(DWORD processId, const char *className, const char *caption);
// A visible dialog (#32770) of the process with this caption within `waitMs`, nullptr if none
// came. Visible means its WM_INITDIALOG has run, so its items are filled in. With no caption:
// any message box of the process.
HWND FindDialog(DWORD processId, const char *caption, DWORD waitMs);

// Every visible dialog and message box this process shows now, of any thread.
std::set<HWND> VisibleDialogsOfThisProcess();
// A message box of the process with this caption, as FindDialog finds it.
HWND FindMessageBox(DWORD processId, const char *caption, DWORD waitMs);
// The text of a dialog item.
std::string ItemText(HWND dialog, int id);
// The message text of a message box.
std::string MessageBoxText(HWND box);
// True when the window has gone within `waitMs`.
bool WaitForWindowGone(HWND window, DWORD waitMs);
// Presses IDOK, IDYES or IDNO and waits for the box to go; false when it stayed.
bool PressButton(HWND box, int id);
// Answers a print dialog (the common one) with the printer it offers: pages `from` to `to`,
// or every page when `from` is 0.
void AnswerPrintDialog(HWND dialog, int from, int to);
// The names of the files matching a pattern such as "C:\folder\*.pdf", in the order the
// file system lists them.
std::vector<std::string> FileNamesMatching(const std::string &pattern);
