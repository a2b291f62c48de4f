// The exclusion list boxes' context menu: a list imported from or exported to a CSV file.
#pragma once
#include <windows.h>

// Lets the context-menu key open the menu of both list boxes under Wine as well, whose default
// window procedure knows only Shift+F10 and the right button.
void WatchExclListKeys(HWND dialog);
// Shows the menu for a WM_CONTEXTMENU from `control` at `where` (screen coordinates, or -1, -1
// from the keyboard) and does what is chosen. False when the control is no exclusion list box.
bool ShowExclListMenu(HWND dialog, HWND control, LPARAM where);
