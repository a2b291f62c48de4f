// Reptopt's export: registers the date and time picker classes and runs the range dialog.
#include <windows.h>

#include "reptopt.h"
#include "reptopt_dialog_win.h"

#include <commctrl.h>

// The DLL's own image, which holds the dialog resource (the host's module does not).
extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace {

void Put(int32_t *variable, int32_t value) {
    if (variable != nullptr)
        *variable = value;
}

} // namespace

extern "C" {

int32_t REPTOPT_CALL ReportOptions(HWND owner, const char *title, int32_t *list, int32_t *dayMask,
                                   int32_t *startDate, int32_t *endDate, int32_t *startTime,
                                   int32_t *endTime, int32_t *spare) {
    INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_DATE_CLASSES};
    InitCommonControlsEx(&classes);
    ReportRange range{};
    if (!RunReportOptionsDialog(reinterpret_cast<HINSTANCE>(&__ImageBase), owner, title, range))
        return 0;
    Put(list, 0);
    Put(dayMask, range.DayMask);
    Put(startDate, range.StartDate);
    Put(endDate, range.EndDate);
    Put(startTime, range.StartTime);
    Put(endTime, range.EndTime);
    Put(spare, 0);
    return 1;
}
}
