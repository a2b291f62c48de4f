// Identifiers of Ringtune's dialogs and controls, shared by the resource script and the code.
#pragma once

// Control identifiers of the configuration dialog.
#define IDC_GROUP_UNIT 400
#define IDC_GROUP_LOGGING 401
#define IDC_GROUP_STATION 402
#define IDC_LINE_COUNT 180
#define IDC_PORT 190
#define IDC_DETECT 200
#define IDC_MODEL_FIRST 2000
#define IDC_MODEL_LAST 2002
#define IDC_FILTER_IP 500
#define IDC_UNIT_IP 510
#define IDC_REFRESH_START 3000
#define IDC_REFRESH_END 3001
#define IDC_EXCL_SHOW 210
#define IDC_SHOW_LIST 220
#define IDC_SHOW_ADD 230
#define IDC_SHOW_DELETE 250
#define IDC_LEVEL_FIRST 1000
#define IDC_LEVEL_BASIC 1001
#define IDC_LEVEL_FULL_IN 1002
#define IDC_LEVEL_LAST 1003
#define IDC_RAW_OUTPUT 100
#define IDC_NO_LOG_WITHHELD 110
#define IDC_EXCL_LOG 120
#define IDC_LOG_LIST 130
#define IDC_LOG_ADD 140
#define IDC_LOG_DELETE 160
#define IDC_PURGE 170
#define IDC_ABOUT 330
#define IDC_CANCEL 320
#define IDC_SAVE 310

// Controls of the "Add Phone to Exclude" dialog.
#define IDC_EXCL_NUMBER 100
#define IDC_EXCL_NOTE 110

// The exclusion list boxes' context menu and the progress window of an import.
#define IDM_EXCL_IMPORT 600
#define IDM_EXCL_EXPORT 601
#define IDC_EXCL_PROGRESS_BAR 610
