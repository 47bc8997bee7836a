// The present devices of all classes, searched by hardware id. Owns the
// device list and releases it.
#pragma once

#include <windows.h>
#include <setupapi.h>

#include <string>
#include <vector>

// Reads a device property into `data`, grown to the size the system
// reports; `size` is the size read. 0, or the error (ERROR_INVALID_DATA:
// the device has no such property).
DWORD ReadDeviceProperty(HDEVINFO devices, SP_DEVINFO_DATA* device, DWORD property, std::vector<char>& data,
                         DWORD& size);

// Drops every `entry` (case-sensitive) from the device's own lower filters,
// keeping the others in order; the property goes when nothing remains. 0
// when done or when there was nothing to drop.
DWORD RemoveLowerFilterEntry(HDEVINFO devices, SP_DEVINFO_DATA* device, const char* entry);

class PresentDeviceSearch {
public:
    // `unknownErrorText` is the message shown (code page 936) when a device's
    // id list cannot be read; each program words it its own way.
    explicit PresentDeviceSearch(const char* unknownErrorText);
    ~PresentDeviceSearch();
    PresentDeviceSearch(const PresentDeviceSearch&) = delete;
    PresentDeviceSearch& operator=(const PresentDeviceSearch&) = delete;

    // 0 when the first present device with `hardwareId` (a whole entry of its
    // list, any letter case) is found, NO_MATCHING_DEVICE when none is, else
    // the error that ended the search (after the unknown-error message for
    // an id list that cannot be read).
    DWORD Find(const std::string& hardwareId);

    HDEVINFO Devices() const { return devices_; }
    SP_DEVINFO_DATA* Device() { return &device_; }

private:
    HDEVINFO devices_;
    DWORD openError_;
    const char* unknownErrorText_;
    SP_DEVINFO_DATA device_ = {};
    std::vector<char> ids_;
};
