// The controller's two device nodes: found by hardware id, given the
// system's own drivers back, or removed.
#pragma once

#include <windows.h>

#include <string>

// 0 when a present device carries `hardwareId` (a whole entry of its list,
// any letter case), ERROR_NO_MORE_ITEMS when none does, else the error
// that ended the search (never 0).
DWORD FindDeviceByHardwareId(const std::string& hardwareId);

// Whether a result of the functions below says no device with the id is
// plugged in (their search's ERROR_NO_MORE_ITEMS, the update's
// ERROR_NO_SUCH_DEVINST): nothing to do for it, not a failure.
bool DeviceAbsent(DWORD result);

// Drops the package's entries from the own filter lists of every node of
// the controller (`usbId`) and of its HID child, plugged in or not: a node
// that names a filter whose service is gone does not start.
void RemovePackageFiltersFromNodes(const std::string& usbId);

// Removes the first present device with `hardwareId`: 0, the removal's
// error, or the search's.
DWORD RemoveDeviceByHardwareId(const std::string& hardwareId);

// Deletes the copy of the package's INF (from `packageFolder`) that the
// device names, never another maker's (pnputil where the system has it,
// else the INF and its precompiled file directly), while the touch driver
// runs, and gives the device the system's input.inf. 0 or the update's
// error; the search's error without a device.
DWORD RestoreUsbDeviceDriver(const std::string& usbId, const std::string& packageFolder);

// As RestoreUsbDeviceDriver for the HID child, with msmouse.inf, whether or
// not the touch driver runs. After its parent's driver changed, the child
// comes back only a moment later: it is waited for up to
// `waitMilliseconds`.
DWORD RestoreHidDeviceDriver(const std::string& hidId, const std::string& packageFolder, DWORD waitMilliseconds = 0);
