// The range dialog's procedure: shows the range, applies quick ranges, reads the choice back.
#pragma once
#include <windows.h>

#include "report_range.h"

// Modal on `owner`; true on OK with `range` filled, false on Cancel (`range` then untouched).
// `module` holds the dialog resource; a null title keeps the resource's caption.
bool RunReportOptionsDialog(HINSTANCE module, HWND owner, const char *title, ReportRange &range);
