// The seconds dialog of the callback list.
#pragma once
#include <windows.h>

#include <cstdint>

// False when the person cancelled; otherwise `seconds` holds the accepted value.
bool AskShortSeconds(HWND owner, int32_t &seconds);
