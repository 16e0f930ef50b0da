#pragma once
// Identifiers shared by the program and its resource scripts (which read plain macros).

// Main panel controls.
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

// Commands.
#define ID_TEST_BEGIN 201
#define ID_TEST_END 202
#define ID_VIEW_LOG 203
#define ID_START_STOP 12321
#define ID_APP_EXIT 57665
