// Ringhold's About box: version, server state and the units it works with.
#pragma once
#include <windows.h>

// Runs the modal About box owned by `owner`; when one is already open, brings it to the front.
void OpenAboutBox(HWND owner);
