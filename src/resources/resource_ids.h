#pragma once
// Identifiers shared by the program and its resource scripts (which read plain macros).

// Dialog templates, menu, icons and the dialog-init data of the resource module.
#define IDD_ABOUT 100
#define IDD_MAIN 101
#define IDD_COMPACT_MEMORY 102
#define IDI_NORMAL 128
#define IDR_TRAY_MENU 130
#define IDI_BUSY 132
// The resource type of a dialog's initial list entries (records of control, message, text).
#define RT_DLGINIT_TYPE 240

// Main panel controls; the compaction dialog shows its figures in 1001 and 1018 too.
#define IDC_MEM_AVAILABLE 1001
#define IDC_MEM_TO_TEST 1002
#define IDC_ERRORS_LIMIT 1003
#define IDC_HOURS_LIMIT 1004
#define IDC_METHOD_LIST 1005
#define IDC_PRIORITY_LIST 1006
#define IDC_THREADS_LIST 1007
#define IDC_LOG_TESTING 1008
#define IDC_ALARM_ON_ERROR 1009
#define IDC_HIGH_MEMORY 1010
#define IDC_HIDE_WHEN_MINIMIZED 1011
#define IDC_MINIMIZE_ON_START 1012
#define IDC_ERRORS_FOUND 1013
#define IDC_TIME_ELAPSED 1014
#define IDC_CYCLES 1015
#define IDC_CHECKED 1016
#define IDC_MEM_TOTAL 1018

// Compaction dialog.
#define IDC_PROGRESS 1017

// About box.
#define IDC_ABOUT_ICON 1000
#define IDC_LINK 1019
#define IDC_ABOUT_TITLE 1020
#define IDC_BUILD_LINE 1024

// Commands.
#define ID_TEST_BEGIN 201
#define ID_TEST_END 202
#define ID_VIEW_LOG 203
#define ID_START_STOP 12321
#define ID_APP_OPEN 57601
#define ID_APP_ABOUT 57664
#define ID_APP_EXIT 57665

// System menu commands (their low four bits are clear, as the system menu requires).
#define ID_SYS_ABOUT 0x4200
#define ID_COMPACT_MEMORY 0x4210
