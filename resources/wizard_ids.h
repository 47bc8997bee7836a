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
#define IDS_PLUG_IN_CONTROLLER 211             // setup: installed, but no controller to install it for
#define IDS_RESTART_QUESTION 212               // Windows asks for a restart: now?
#define IDS_ERROR_NUMBER 213                   // before an error number, on a line of its own
#define IDS_HINT_RETRY 214                     // what to do after a failure: try again
#define IDS_HINT_UNPACK 215                    //   the package's files are not beside setup.exe
#define IDS_HINT_ADMINISTRATOR 216             //   the system refused a change to a standard user
#define IDS_REMOVAL_INCOMPLETE 217             // uninst: some of the package stays; the error number follows
#define IDS_NOT_REMOVED 218                    // uninst: a system the package does not remove itself from
#define IDS_FOLDER_LEFT 219                    // uninst: the program folder must be deleted by hand; its path follows
