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
// Collects the controls into the record and writes the file, unless restricted. False when
// the file could not be written, which the user has been told: the dialog stays open with the
// values chosen, and the record keeps what the file holds.
bool SaveDialogToConfig(HWND dialog);
INT_PTR CALLBACK SetupDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
