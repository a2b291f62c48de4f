// The log purge: its dialog, opened from "Purge Calls", and the purge run by its "&Go" button.
#pragma once
#include <windows.h>

#include <cstdint>

// Shows the purge dialog modally, owned by `dialog`; returns when it is closed.
void PurgeLogDialog(HWND dialog);
// Deletes the call log records older than the days typed in the purge dialog.
void PurgeLog(HWND purgeDialog);
// The modeless progress window, owned by the purge dialog; its font goes with it.
HWND CreatePurgeProgress(HWND purgeDialog);
// Shows the running count of deleted records.
void ShowPurgeProgress(HWND progress, int32_t deleted);
