// Test hosts' stand-in for the user: a thread of the host's own process that reads and answers
// Ringtune's windows (message boxes, dialogs) while the code under test runs on the main thread.
#pragma once
#include <windows.h>

#include <string>

// The box's text line "box CAPTION|TEXT" on stdout, then its OK pressed; false when it stayed.
bool AnswerMessageBox(HWND box);
// Prints a line on stdout at once (the script reads it while the host runs).
void PrintLine(const std::string &line);
// The minimal configuration dialog the detection works on: port list 190 ("COM1".."COM8",
// "IP UDP/IP"), check box 500, address field 510. Modeless, owned by nobody.
HWND CreateTestDialog();
