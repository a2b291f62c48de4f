// Ringtune's one way to show a message box. Its boxes are never system-modal; each names its
// owner (nullptr for none), caption and icon.
#pragma once
#include <windows.h>

int TuneMessage(HWND owner, const char *text, const char *caption, UINT icon, UINT buttons = MB_OK);
