// The configuration dialog: built from its resource, loaded from the configuration record,
// and saved back to it.
#pragma once
#include <windows.h>

#include <cstdint>

// Runs the dialog modally, owned by `owner`; in restricted mode the settings and Save are
// disabled.
void ShowSetupDialog(HWND owner, int32_t restricted);
void LoadDialogFromConfig(HWND dialog);
void ApplyModelRules(HWND dialog);
// Collects the controls into the record and writes the file, unless restricted.
void SaveDialogToConfig(HWND dialog);
INT_PTR CALLBACK SetupDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
