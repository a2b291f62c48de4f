// The number dialog of the calls-by-number report.
#pragma once
#include <windows.h>

#include <string>

// The typed number; empty when the dialog was closed without "Ok".
std::string AskPhoneNum(HWND owner);
