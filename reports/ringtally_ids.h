// Resource and control ids of Ringtally's dialogs, shared by its resource script, their
// procedures and the tests that drive them.
#pragma once

#define IDD_ASK_PHONE_NUM 1
#define IDC_PHONE_NUMBER 100
#define IDC_PHONE_OK 200

#define IDD_CALLBACK_SECONDS 2
#define IDC_SHORT_SECONDS 100

#define IDD_CSV_PROGRESS 3
#define IDC_CSV_BAR 101
