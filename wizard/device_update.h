// Driver updates of the present devices that carry a hardware id.
#pragma once

#include <windows.h>

#include <string>

#include "device_search.h"
#include "multi_string.h"

// The system's driver update, as UpdateDriverForPlugAndPlayDevicesA. The one
// seam of the installation: tests put a recorder or a failure in its place.
using DriverUpdateFunction = BOOL(WINAPI*)(HWND owner, LPCSTR hardwareId, LPCSTR infPath, DWORD flags,
                                           PBOOL restartNeeded);

// Installs `function` (nullptr: the system's) and returns the one before.
DriverUpdateFunction SetDriverUpdateFunction(DriverUpdateFunction function);

// Forced driver update from `infPath` for the devices with `hardwareId`;
// 0 or the error code (never 0 on failure). A restart Windows asks for is
// noted (restart.h).
DWORD UpdateDriver(const std::string& hardwareId, const std::string& infPath);

// Whether `result` says no device with the id is plugged in: the search's
// NO_MATCHING_DEVICE, or the update's ERROR_NO_SUCH_DEVINST.
inline bool NoDevicePresent(DWORD result) { return result == NO_MATCHING_DEVICE || result == ERROR_NO_SUCH_DEVINST; }

// Updates the devices with `hardwareId` from `infPath` when one is present:
// 0, NO_MATCHING_DEVICE or an error code.
DWORD UpdateMatchingDevice(const std::string& infPath, const std::string& hardwareId);

// How long the HID child may take to appear after its parent's update.
const DWORD kHidChildWaitMilliseconds = 5000;

// Waits up to `waitMilliseconds` for a device with `hardwareId` to be
// present: 0, NO_MATCHING_DEVICE or the error that ended the search.
DWORD WaitForPresentDevice(const std::string& hardwareId, DWORD waitMilliseconds);

// As UpdateMatchingDevice, after waiting up to `waitMilliseconds` for such a
// device to appear (the HID child appears only after its parent's update).
DWORD UpdateMatchingDeviceWhenPresent(const std::string& infPath, const std::string& hardwareId,
                                      DWORD waitMilliseconds);

// The instance ids of the nodes with `hardwareId` whose own lower filters
// hold `entry`.
StringList NodesWithLowerFilter(const std::string& hardwareId, const char* entry, DeviceNodes nodes);

// Drops every `entry` (case-sensitive) from the own upper and lower filters
// of every node with `hardwareId`, present or not, but those in `keep`,
// keeping the other entries in order; a list left empty goes. A node that
// names a filter whose service is gone does not start, also when it is
// plugged in again later. 0 or the first error.
DWORD RemoveNodeFilterEntry(const std::string& hardwareId, const char* entry,
                            const StringList& keep = StringList());
