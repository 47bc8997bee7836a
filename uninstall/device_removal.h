// The controller's two device nodes: found by hardware id, given the
// system's own drivers back, or removed.
#pragma once

#include <windows.h>

#include <string>

// 0 when a present device carries `hardwareId` (a whole entry of its list,
// any letter case), ERROR_NO_MORE_ITEMS when none does, else the error
// that ended the search (never 0).
DWORD FindDeviceByHardwareId(const std::string& hardwareId);

// Removes the first present device with `hardwareId`: 0, the removal's
// error, or the search's.
DWORD RemoveDeviceByHardwareId(const std::string& hardwareId);

// Deletes the package's copy of its INF from the system (pnputil where the
// system has it, else the INF and its precompiled file directly), drops
// kvusb from the device's own lower filters and gives the device the
// system's input.inf. 0 or the update's error; the search's error without
// a device.
DWORD RestoreUsbDeviceDriver(const std::string& usbId);

// As RestoreUsbDeviceDriver for the HID child, with msmouse.inf; its INF is
// deleted only when it is an OEM copy.
DWORD RestoreHidDeviceDriver(const std::string& hidId);
