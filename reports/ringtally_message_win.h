// Ringtally's one way to show a message box: owned by the calling window, never system-modal.
#pragma once
#include <windows.h>

void TallyMessage(HWND owner, const char *text, const char *caption, UINT icon);
