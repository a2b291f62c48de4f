// RingHQ's one way to show a message box: owned by its window, text in UTF-8.
#pragma once
#include <windows.h>

#include <string>

#define HQ_MESSAGE_CAPTION "RingHQ"

// `icon` is MB_ICONERROR, MB_ICONINFORMATION or 0.
void HqMessage(HWND owner, const std::string &text, const std::string &caption, UINT icon);
