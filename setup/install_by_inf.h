// Installation through the package's INF files (Windows XP to 7).
#pragma once

#include <windows.h>

#include <string>

// How long the HID child may take to appear after its parent's update.
const DWORD kHidChildWaitMilliseconds = 5000;

// Installs `section` of the driver INF, creates the service keys and the
// settings key and updates the controller (`hardwareId`) and its HID child.
// 0 when both were updated, NO_MATCHING_DEVICE when the controller is
// absent (nothing rolled back; both INF files go into the system's INF
// store for when it comes), otherwise an error code, after a rollback
// (`*rolledBack` set) where devices were touched.
DWORD InstallByInf(HWND owner, const std::string& infPath, const char* section, const std::string& hardwareId,
                   bool* rolledBack = nullptr);
