// For tests of Ringtune.dll: SetupCID run on a thread of the test program, so that the test's
// own thread can drive the real dialog with messages that carry pointers.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "ringhold_harness.h"

extern "C" __declspec(dllimport) int32_t __stdcall SetupCID(HWND owner);

// The program directory the test runs in: the folder of this program, as Ringtune takes it.
const ProgramDir &TestProgramDir();
// Deletes every file below DATA\ and CONTROL\.
void ClearProgramFiles();

// One SetupCID call on a thread of its own.
class SetupCall {
  public:
    SetupCall();
    ~SetupCall(); // answers whatever is still open with Cancel or OK until the call returns
    SetupCall(const SetupCall &) = delete;
    SetupCall &operator=(const SetupCall &) = delete;

    // The configuration dialog once it is shown, or nullptr.
    HWND Dialog();
    // True when SetupCID has returned within `waitMs`.
    bool Returned(DWORD waitMs);
    DWORD ThreadId() const { return threadId_; }

  private:
    HANDLE thread_ = nullptr;
    DWORD threadId_ = 0;
};

// How long a box is given to show after what opens it.
const DWORD kBoxWaitMs = 15000;
// A visible dialog or message box of this process with the caption, or nullptr.
HWND WaitForBox(const char *caption, DWORD waitMs = kBoxWaitMs);
// A visible message box owned by `owner`, or nullptr.
HWND WaitForBoxOwnedBy(HWND owner);
// True when the box shows this standard icon (IDI_EXCLAMATION, ...).
bool ShowsIcon(HWND box, LPCSTR icon);

// The argument that makes the test program hold a file open without sharing.
const char kHoldUnshared[] = "--hold-unshared";
// Starts a copy of the test program that holds the file so, and waits until it does.
bool HoldUnshared(ChildProcess &holder, const std::string &path);

// The texts of the lines of a list box.
std::vector<std::string> ListLines(HWND dialog, int id);
// The selected item of a combo box, "" when none.
std::string ComboText(HWND dialog, int id);
bool IsChecked(HWND dialog, int id);
bool IsEnabled(HWND dialog, int id);
// A button press as the user's click produces it, done when this returns (options, check boxes).
void Press(HWND dialog, int id);
// The same press posted, for buttons that open a modal box or end the dialog.
void Click(HWND dialog, int id);
// The focused window of the thread that shows the dialog.
HWND FocusOf(DWORD threadId);

// The context menu of a list box opened by a right click on it, or by the context-menu key;
// the visible menu window, or nullptr.
HWND OpenContextMenu(HWND dialog, int listId, bool byKeyboard);
// The texts of the items of an open menu, "&" marks included.
std::vector<std::string> MenuItems(HWND menu);
// Chooses the item (counted from 0) as the keyboard does: arrow down to it, then Enter.
void ChooseMenuItem(HWND menu, int index);
// Types the path into the open or save dialog with this caption and presses its OK button
// without waiting; the dialog, or nullptr when none came.
HWND AnswerFileDialog(const char *caption, const std::string &path);
