// Installation through the package's INF files (Windows XP to 7).
#pragma once

#include <windows.h>

#include <string>

#include "device_update.h"  // kHidChildWaitMilliseconds

// Installs `section` of the driver INF, creates the service keys and the
// settings key and updates the controller (`hardwareId`) and its HID child.
// 0 when both were updated, NO_MATCHING_DEVICE when the controller is
// absent (nothing rolled back; both INF files go into the system's INF
// store), otherwise an error code, after a rollback of what this run added.
DWORD InstallByInf(HWND owner, const std::string& infPath, const char* section, const std::string& hardwareId);
