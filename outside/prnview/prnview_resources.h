// Identifiers of PRNVIEW32's dialogs and their controls.
#pragma once

#define IDD_PROGRESS 100
#define IDC_PROGRESS_TEXT 101
#define IDC_PROGRESS_BAR 102

#define IDD_PREVIEW 200
#define IDC_FIRST 201
#define IDC_PREVIOUS 202
#define IDC_NEXT 203
#define IDC_LAST 204
#define IDC_PAGE_LABEL 205
#define IDC_FIT_PAGE 206
#define IDC_FIT_WIDTH 207
#define IDC_ZOOM_OUT 208
#define IDC_PRINT 209
#define IDC_SAVE_PDF 210
#define IDC_PAGE_VIEW 211
#define IDC_ZOOM_IN 212
#define IDC_ZOOM_LABEL 213

#define IDD_PRINTING 300
#define IDC_PRINTING_TEXT 301
