// Fixed names of the package on the system: ids, INF files and sections,
// registry keys. Shared by the installer and the uninstaller.
#pragma once

#define KV_CONTROLLER_HARDWARE_ID "USB\\VID_7A4E&PID_0001"
#define KV_DRIVER_INF "kvusb.inf"
#define KV_FILTER_INF "kvfilt.inf"
#define KV_INSTALL_SECTION "KvUsb_Install.NT"
#define KV_UNINSTALL_SECTION "KvUsb_Uninstall.NT"

#define KV_SERVICES_KEY "System\\CurrentControlSet\\Services"
#define KV_DRIVER_SERVICE "KVUSB"
#define KV_FILTER_SERVICE "kvfilt"
#define KV_DRIVER_SERVICE_KEY KV_SERVICES_KEY "\\" KV_DRIVER_SERVICE
#define KV_FILTER_SERVICE_KEY KV_SERVICES_KEY "\\" KV_FILTER_SERVICE

// The filter entries the package puts into the class filter lists.
#define KV_DRIVER_FILTER_ENTRY "kvusb"
#define KV_FILTER_FILTER_ENTRY "kvfilt"
#define KV_HID_CLASS_KEY "SYSTEM\\CurrentControlSet\\Control\\Class\\{745A17A0-74D3-11D0-B6FE-00A0C90F57DA}"
#define KV_MOUSE_CLASS_KEY "SYSTEM\\CurrentControlSet\\Control\\Class\\{4D36E96F-E325-11CE-BFC1-08002BE10318}"
#define KV_LOWER_FILTERS "LowerFilters"
#define KV_UPPER_FILTERS "UpperFilters"

#define KV_CURRENT_VERSION_KEY "Software\\Microsoft\\Windows\\CurrentVersion"
#define KV_NT_CURRENT_VERSION_KEY "Software\\Microsoft\\Windows NT\\CurrentVersion"
#define KV_SHELL_FOLDERS_KEY KV_CURRENT_VERSION_KEY "\\Explorer\\Shell Folders"
#define KV_RUN_ONCE_KEY KV_CURRENT_VERSION_KEY "\\RunOnce"
#define KV_RUN_ONCE_VALUE "kvusbcal"  // calibration at the first logon after setup's restart
#define KV_PROGRAM_FILES_VALUE "ProgramFilesDir"
#define KV_COMMON_PROGRAMS_VALUE "Common Programs"
#define KV_SYSTEM_ROOT_VALUE "SystemRoot"

#define KV_PROGRAM_FOLDER "\\KVUSB"
#define KV_START_MENU_FOLDER "\\Kestiva USB\\"
