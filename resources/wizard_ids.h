// Resource and control ids of the installer's and uninstaller's wizard, and
// of the texts their work shows.
#pragma once

#define IDS_SHEET_CAPTION 128
#define IDD_WELCOME 130
#define IDB_BANNER 132
#define IDD_REBOOT 135
#define IDC_REBOOT_CHECK 137
#define IDD_COMPLETE 145
#define IDC_WELCOME_TITLE 1001
#define IDC_WELCOME_CANCEL_TEXT 1005

// Texts of the work after the wizard.
#define IDS_LINK_CALIBRATE 200  // the Start-menu links' names
#define IDS_LINK_UNINSTALL 201
#define IDS_LINK_README 202
#define IDS_LINK_CONTROL_PANEL 203
#define IDS_OPEN_REGISTRY_FAILED 204           // a key the links need cannot be opened
#define IDS_ERROR_CAPTION 205                  // setup: that message's and the rollback's caption
#define IDS_INSTALL_UNDONE 206                 // setup: the rollback; its error number follows
#define IDS_UNSUPPORTED_SYSTEM 207             // setup: a system the package refuses
#define IDS_DEVICE_IDS_UNREADABLE 208          // a device's hardware ids cannot be read
#define IDS_DEVICE_IDS_UNREADABLE_CAPTION 209
#define IDS_CANNOT_OPEN_REGISTRY 210           // uninst: the self-removal batch's key cannot be opened
