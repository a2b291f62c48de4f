// Ringtally.dll's exports, as the back office calls them with its window: each prints one
// report and returns when its preview closes (or at once when a report is already running).
#pragma once
#include <windows.h>

#ifdef RINGTALLY_BUILD
#define RINGTALLY_API extern "C" __declspec(dllexport)
#else
#define RINGTALLY_API extern "C" __declspec(dllimport)
#endif

RINGTALLY_API void __stdcall IBLogRpt(HWND owner);    // inbound call log
RINGTALLY_API void __stdcall OBLogRpt(HWND owner);    // outbound call log
RINGTALLY_API void __stdcall CllStsRpt(HWND owner);   // call statistics
RINGTALLY_API void __stdcall CllsByNum(HWND owner);   // calls of one number
RINGTALLY_API void __stdcall CallbackRpt(HWND owner); // short calls nobody returned
// The call log as a CSV file; returns when it is written or the person cancelled.
RINGTALLY_API void __stdcall CallLogCsv(HWND owner);
