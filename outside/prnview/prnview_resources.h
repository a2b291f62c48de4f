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
#define IDC_ACTUAL_SIZE 208
#define IDC_PRINT 209
#define IDC_SAVE_PDF 210
#define IDC_PAGE_VIEW 211
