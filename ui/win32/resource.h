#pragma once
// Resource and control numbers shared by the resource script and the code. Plain #defines, so
// the resource compiler reads them too.

// Dialog templates.
#define IDD_ABOUT 100
#define IDD_MAIN 102
#define IDD_SHEET_GRID 104

// Images.
#define IDI_APPLICATION_ICON 128
#define IDB_ABOUT_PICTURE 131

// The window menu's added items. Window-menu commands stay below 0xF000, and Windows uses their
// low four bits itself, so each is a multiple of 16 and the handler compares (wParam & 0xFFF0).
#define IDM_ABOUT 0x0010
#define IDM_KEEP_BLACK 0x0020
#define IDM_MAKE_BACKGROUND 0x0030
#define IDM_EXPORT_BACKGROUND 0x0040
#define IDM_IMPORT_SHEET 0x0050
#define IDM_EXPORT_SHEET 0x0060
#define IDM_EXPORT_PALETTE 0x0070
// The Edit submenu's items: row i of its table has IDM_EDIT_FIRST + 16 * i.
#define IDM_EDIT_FIRST 0x0100

// Controls of the main dialog.
#define IDC_NEAREST_COLOR 1000
#define IDC_DIFFUSION_DITHER 1001
#define IDC_SPRITE_LIST 1002
#define IDC_COPY_SPRITE 1005
#define IDC_INSERT_SPRITE 1006
#define IDC_LOAD_SPRITES 1007
#define IDC_SAVE_SPRITES 1008
#define IDC_LOAD_BITMAP 1009
#define IDC_SAVE_BITMAP 1010
#define IDC_IMAGE_LABEL 1011
#define IDC_DELETE_SPRITE 1012
#define IDC_COUNT_LABEL 1013
#define IDC_ADD_SPRITE 1014

// Controls of the About box that the code looks up.
#define IDC_ABOUT_VERSION 1020
#define IDC_ABOUT_PICTURE 1021

// Controls of the "Sheet Grid" dialog.
#define IDC_SHEET_COLUMNS 1030
#define IDC_SHEET_COLUMNS_ARROWS 1031
#define IDC_SHEET_ROWS 1032
#define IDC_SHEET_ROWS_ARROWS 1033
