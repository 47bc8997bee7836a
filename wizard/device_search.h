// The present devices of all classes, searched by hardware id. Owns the
// device list and releases it.
#pragma once

#include <windows.h>
#include <setupapi.h>

#include <string>
#include <vector>

// No present device carries the hardware id; nothing was touched for it.
const DWORD NO_MATCHING_DEVICE = 40;

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
    PresentDeviceSearch();
    ~PresentDeviceSearch();
    PresentDeviceSearch(const PresentDeviceSearch&) = delete;
    PresentDeviceSearch& operator=(const PresentDeviceSearch&) = delete;

    // 0 when the first present device with `hardwareId` (a whole entry of its
    // list, any letter case) is found, NO_MATCHING_DEVICE when none is, else
    // the error that ended the search. An id list that cannot be read is
    // told first, in the running program's own words (its string table;
    // each program words it its own way, in Chinese in both editions).
    DWORD Find(const std::string& hardwareId);

    HDEVINFO Devices() const { return devices_; }
    SP_DEVINFO_DATA* Device() { return &device_; }

private:
    HDEVINFO devices_;
    DWORD openError_;
    SP_DEVINFO_DATA device_ = {};
    std::vector<char> ids_;
};
