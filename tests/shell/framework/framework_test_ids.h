#pragma once
// Numbers of the test's own resources, shared by the resource script and the tests.

#define IDD_PROBE 200
#define IDC_NUMBER 1002
#define IDC_LIST 1005
#define IDC_EXTENDED_LIST 1006
#define IDC_CHECK 1008
#define IDC_LINK 1019

#define IDR_TRAY_MENU 130
#define ID_APP_OPEN 57601
#define ID_START_STOP 12321

// Dialog-init data: well formed; cut short inside a record; with an unknown message;
// with a text that is not terminated within its length.
#define IDI_GOOD 300
#define IDI_TRUNCATED 301
#define IDI_UNKNOWN_MESSAGE 302
#define IDI_UNTERMINATED 303
