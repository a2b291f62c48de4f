// Reptopt: the range dialog the reports ask before they scan the call log. It returns one
// continuous span from (start date, start time) to (end date, end time) and the weekdays to keep.
#pragma once
#include <cstdint>

#ifdef _WIN32
#include <windef.h>
#define REPTOPT_CALL __stdcall
#else
typedef struct HWND__ *HWND;
#define REPTOPT_CALL
#endif

#ifdef REPTOPT_BUILD
#ifdef _WIN32
#define REPTOPT_API __declspec(dllexport)
#else
#define REPTOPT_API __attribute__((visibility("default")))
#endif
#else
#define REPTOPT_API
#endif

extern "C" {
// Shows the modal range dialog owned by `owner` with `title` as its caption ("Report Options"
// when null), today 00:00:00 to 23:59:59 and every day checked to begin with.
// Returns 0 when the user cancels or the dialog cannot be shown (nothing is written) and 1 on OK,
// with every variable filled:
//   *startDate, *endDate  day numbers in Pantry's epoch (01-01-1900 is day 1);
//   *startTime, *endTime  seconds since midnight, 0 to 86399;
//   *dayMask              bit d set for each weekday kept, d as Pantry's DOW numbers them
//                         (1 Sunday .. 7 Saturday), so every day checked is 0xFE;
//   *list                 index of the chosen entry of the caller's one-element list: always 0;
//   *spare                reserved: always 0.
// A start after the end and an empty day mask are returned as chosen. A null pointer among the
// variables is skipped rather than written through.
REPTOPT_API int32_t REPTOPT_CALL ReportOptions(HWND owner, const char *title, int32_t *list,
                                               int32_t *dayMask, int32_t *startDate,
                                               int32_t *endDate, int32_t *startTime,
                                               int32_t *endTime, int32_t *spare);
}
