// Installation by copying the package files (Windows 2000).
#pragma once

#include <windows.h>

#include <string>

// Copies the package files from the folder of `infPath` into the program,
// INF, system and driver folders, creates the service keys (ErrorControl 0)
// and the settings key, and updates the controller and its HID child where
// present. 0 or NO_MATCHING_DEVICE when the device updates went through,
// else an error code, after a rollback of what this run added.
DWORD InstallByCopy(const std::string& infPath, const std::string& hardwareId);
