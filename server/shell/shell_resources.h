// Identifiers of Ringhold's resources, shared by the resource script and the code.
#pragma once

#define IDD_ABOUT 200
#define IDC_ABOUT_TITLE 100
#define IDC_ABOUT_VERSION 110
#define IDC_ABOUT_STATUS 120
#define IDC_ABOUT_UNITS 130
