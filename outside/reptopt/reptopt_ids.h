// Control ids of the range dialog, shared by its resource script, its procedure and the tests
// that drive it.
#pragma once

#define IDD_REPORT_OPTIONS 1
#define IDC_START_DATE 100
#define IDC_END_DATE 110
#define IDC_START_TIME 120
#define IDC_END_TIME 130
// IDC_SUNDAY + DOW - 1 for each weekday, Sunday to Saturday.
#define IDC_SUNDAY 201
#define IDC_SATURDAY 207
#define IDC_TODAY 301
#define IDC_YESTERDAY 302
#define IDC_THIS_WEEK 303
#define IDC_LAST_WEEK 304
#define IDC_THIS_MONTH 305
#define IDC_LAST_MONTH 306
