// Resource and control ids of the installer's and uninstaller's wizard.
#pragma once

#define IDS_SHEET_CAPTION 128
#define IDD_WELCOME 130
#define IDB_BANNER 132
#define IDD_REBOOT 135
#define IDC_REBOOT_CHECK 137
#define IDD_COMPLETE 145
#define IDC_WELCOME_TITLE 1001
#define IDC_WELCOME_CANCEL_TEXT 1005
