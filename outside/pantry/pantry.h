// Pantry: the POS product's date, time, file and font helpers, shared by all three deliverables.
// Texts go out through caller buffers, so nothing allocated in one module is freed in another.
//
// Day numbers count days since 12-31-1899: 01-01-1900 is day 1, 12-31-9999 day 2958464; 0 is
// "no date". Dates are "mm-dd-yyyy" (exactly ten characters), years 1900 to 9999.
// Every function writing to `out` (of `size` bytes) writes the whole text and its NUL, or, when
// it does not fit or the input is invalid, an empty text (when size >= 1); it returns the length
// written, so 0 means nothing was written. A null pointer counts as invalid input.
#pragma once
#include <cstdint>

#ifdef _WIN32
#define PANTRY_CALL __stdcall
#else
#define PANTRY_CALL
#endif

#ifdef PANTRY_BUILD
#ifdef _WIN32
#define PANTRY_API __declspec(dllexport)
#else
#define PANTRY_API __attribute__((visibility("default")))
#endif
#else
#define PANTRY_API
#endif

extern "C" {
// "mm-dd-yyyy" -> day number; 0 when the text is not a valid date (shape, digits, month 1-12,
// day within that month, year 1900-9999).
PANTRY_API int32_t PANTRY_CALL DateToDays(const char *date);
// Writes "mm-dd-yyyy" (10 characters, needs size >= 11); day outside 1..2958464 writes nothing.
PANTRY_API int32_t PANTRY_CALL DaysToDate(int32_t day, char *out, int32_t size);
// "HH:MM:SS" (two digits each, 00-23, 00-59, 00-59) -> seconds since midnight; -1 when invalid.
PANTRY_API int32_t PANTRY_CALL TimeToSeconds(const char *time);
// "HH:MM:SS", 24-hour (8 characters, needs size >= 9); seconds outside 0..86399 write nothing.
PANTRY_API int32_t PANTRY_CALL SecondsToTime(int32_t seconds, char *out, int32_t size);
// 12-hour text for display: "hh:mm AM" / "hh:mm PM", two-digit hour 01-12 ("12:05 AM" is five
// past midnight), 8 characters, needs size >= 9; seconds outside 0..86399 write nothing.
PANTRY_API int32_t PANTRY_CALL SecondsToTime12(int32_t seconds, char *out, int32_t size);
// The full English name ("January"); month outside 1-12 writes nothing.
PANTRY_API int32_t PANTRY_CALL MonthName(int32_t month, char *out, int32_t size);
// 1 Sunday .. 7 Saturday; 0 when the date is not valid.
PANTRY_API int32_t PANTRY_CALL DOW(const char *date);
// The three numbers of a valid date; returns 1, or 0 (and all three 0) when it is not valid.
PANTRY_API int32_t PANTRY_CALL SplitDate(const char *date, int32_t *month, int32_t *day,
                                         int32_t *year);
// "C:\a\b\file.txt" -> drive "C:", folder "\a\b\", name "file.txt"; drive + folder is the folder
// of the path, ending in a backslash (or slash) when it has one. Each buffer has `size` bytes.
// Returns 1, or 0 with all three empty when a part does not fit or an argument is null.
PANTRY_API int32_t PANTRY_CALL SplitPath(const char *path, char *drive, char *folder, char *name,
                                         int32_t size);
// Non-zero when the file exists (a folder does not count).
PANTRY_API int32_t PANTRY_CALL Exist(const char *path);
}
