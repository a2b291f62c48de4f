// Resource and control ids of Ringtally's number dialog, shared by its resource script, its
// procedure and the tests that drive it.
#pragma once

#define IDD_ASK_PHONE_NUM 1
#define IDC_PHONE_NUMBER 100
#define IDC_PHONE_OK 200
