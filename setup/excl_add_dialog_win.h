// The "Add Phone to Exclude" dialog: a number and a note typed into a zero-filled record.
#pragma once
#include <windows.h>

#include "excl_record.h"

// Shows the dialog owned by `owner`, its number field in `font`. 1 when the user saved (the
// record then holds what was typed), 0 when cancelled (the record is left alone).
INT_PTR AskExclEntry(HWND owner, HFONT font, ExclRecord &record);
