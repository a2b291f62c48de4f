// Resource ids of RingHQ's window.
#pragma once

#define IDD_RINGHQ 100
#define IDC_SITES 101
#define IDC_CALL_STATS 102
#define IDC_SITE_COMPARISON 103
#define IDC_SITES_LABEL 104
