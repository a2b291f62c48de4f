// Ringhold's one way to show a message box: text, caption, icon, owner and modality as given.
#pragma once
#include <windows.h>

int ServerMessage(HWND owner, const char *text, const char *caption, UINT icon, bool systemModal,
                  UINT buttons = MB_OK);
