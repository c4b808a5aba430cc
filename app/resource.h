#pragma once
// Resource and control ids of the program, shared by the code and Quelvo.rc.

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

#define IDR_MAINFRAME 5
#define IDD_ABOUTBOX 100
#define IDS_ABOUTBOX 101
#define IDD_QUELVO_DIALOG 102
#define IDB_BANNER 147

// Controls of the main dialog.
#define IDC_UPDATE_BUTTON 1000
#define IDC_UPDATE_FRAME 1001
#define IDC_DEVICE_STATUS 1002
#define IDC_PROGRESS 1003
#define IDC_STAGE_TEXT 1004
#define IDC_RESULT_TEXT 1005
#define IDC_WEB_ADDRESS 1006
#define IDC_SPARE_TEXT 1007

// The system-menu command that opens the About box. The platform keeps the
// low four bits of system commands for itself.
#define IDM_ABOUTBOX 0x0010
