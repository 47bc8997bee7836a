// Driver updates of the present devices that carry a hardware id.
#pragma once

#include <windows.h>

#include <string>

// The system's driver update, as UpdateDriverForPlugAndPlayDevicesA. The one
// seam of the installation: tests put a recorder or a failure in its place.
using DriverUpdateFunction = BOOL(WINAPI*)(HWND owner, LPCSTR hardwareId, LPCSTR infPath, DWORD flags,
                                           PBOOL restartNeeded);

// Installs `function` (nullptr: the system's) and returns the one before.
DriverUpdateFunction SetDriverUpdateFunction(DriverUpdateFunction function);

// Forced driver update from `infPath` for the devices with `hardwareId`;
// 0 or the error code (never 0 on failure).
DWORD UpdateDriver(const std::string& hardwareId, const std::string& infPath);

// Updates the devices with `hardwareId` from `infPath` when one is present:
// 0, NO_MATCHING_DEVICE or an error code.
DWORD UpdateMatchingDevice(const std::string& infPath, const std::string& hardwareId);

// As UpdateMatchingDevice, after waiting up to `waitMilliseconds` for such a
// device to appear (the HID child appears only after its parent's update).
DWORD UpdateMatchingDeviceWhenPresent(const std::string& infPath, const std::string& hardwareId,
                                      DWORD waitMilliseconds);

// Drops every `entry` (case-sensitive) from the device-level lower filters
// of the first present device with `hardwareId`, keeping the others in
// order; the property goes when nothing remains. 0 when done or when no
// such device is present.
DWORD RemoveDeviceLowerFilter(const std::string& hardwareId, const char* entry);
