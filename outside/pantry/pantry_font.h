// Pantry's font helper, the one Pantry export that needs Win32 types.
#pragma once
#include <windows.h>
#include "pantry.h"

// A font of `points` at the screen's logical resolution; the caller deletes it (DeleteObject).
// Returns null when the font cannot be made.
extern "C" PANTRY_API HFONT PANTRY_CALL MakeFontEx(const char *face, int32_t points, int32_t weight,
                                                   int32_t italic, int32_t underline,
                                                   int32_t strikeout);
