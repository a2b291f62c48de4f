// Identifiers of the purge dialog and its progress window, shared by their script and code.
#pragma once

#define IDC_PURGE_SHADOW 100
#define IDC_PURGE_TITLE 110
#define IDC_PURGE_EXPLAIN 120
#define IDC_PURGE_OLDER 130
#define IDC_PURGE_DAYS 140
#define IDC_PURGE_DAYS_UNIT 150
#define IDC_PURGE_CANCEL 200
#define IDC_PURGE_GO 210

#define IDC_PROGRESS_TEXT 100
