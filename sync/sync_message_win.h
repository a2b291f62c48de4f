// The one message box the sync shows, for the technician's /check.
#pragma once
#include <windows.h>

#include <string>

#define SYNC_MESSAGE_CAPTION L"Caller ID Sync"

// `text` in UTF-8; `icon` MB_ICONINFORMATION or MB_ICONERROR.
void ShowSyncMessage(const std::string &text, UINT icon);
