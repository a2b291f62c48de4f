// Pantry: the POS product's date, time, file and font helpers, shared by all three deliverables.
// Texts go out through caller buffers, so nothing allocated in one module is freed in another.
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
// "mm-dd-yyyy" -> day number; 0 when the text is not a valid date.
PANTRY_API int32_t PANTRY_CALL DateToDays(const char *date);
// Writes "mm-dd-yyyy"; returns the length.
PANTRY_API int32_t PANTRY_CALL DaysToDate(int32_t day, char *out, int32_t size);
// "HH:MM:SS" -> seconds since midnight.
PANTRY_API int32_t PANTRY_CALL TimeToSeconds(const char *time);
// "HH:MM:SS", 24-hour.
PANTRY_API int32_t PANTRY_CALL SecondsToTime(int32_t seconds, char *out, int32_t size);
// 12-hour text for display.
PANTRY_API int32_t PANTRY_CALL SecondsToTime12(int32_t seconds, char *out, int32_t size);
PANTRY_API int32_t PANTRY_CALL MonthName(int32_t month, char *out, int32_t size);
// 1 Sunday .. 7 Saturday.
PANTRY_API int32_t PANTRY_CALL DOW(const char *date);
PANTRY_API int32_t PANTRY_CALL SplitDate(const char *date, int32_t *month, int32_t *day,
                                         int32_t *year);
// drive + folder = folder of path, ending in a backslash.
PANTRY_API int32_t PANTRY_CALL SplitPath(const char *path, char *drive, char *folder, char *name,
                                         int32_t size);
// Non-zero when the file exists.
PANTRY_API int32_t PANTRY_CALL Exist(const char *path);
}

