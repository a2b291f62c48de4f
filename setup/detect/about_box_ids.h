// Identifiers of the About box resource, shared by its script and its procedure.
#pragma once

#define IDC_ABOUT_SHADOW 200
#define IDC_ABOUT_PANEL 210
#define IDC_ABOUT_TITLE 220
#define IDC_ABOUT_PRODUCT 230
#define IDC_ABOUT_INFO_LABEL 240
#define IDC_ABOUT_INFO 250
#define IDC_ABOUT_OK 260
