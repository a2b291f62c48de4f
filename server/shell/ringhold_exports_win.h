// Common-controls start-up and the two functions Ringhold exports by name.
#pragma once
#include <cstdint>
#include <windows.h>

// Loads COMCTL32.DLL, registers the control classes of `classMask` and releases the library.
void InitCommonControlsLibrary(DWORD classMask);

extern "C" {
// Registers the common controls (0 means all classes) and returns COMCTL32.DLL's version.
__declspec(dllexport) double __stdcall INITCOMCTL32(int32_t classMask);
// The version of a file in the system folder as major + minor / 100; 0 without version data.
__declspec(dllexport) double __stdcall GETSYSFILEVER(const char *fileName);
}
