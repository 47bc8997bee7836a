// The device nodes of all classes, present or all of them, searched by
// hardware id. Owns the device list and releases it.
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

// Drops every `entry` (case-sensitive) from the device's own filter list
// `property` (SPDRP_LOWERFILTERS or SPDRP_UPPERFILTERS), keeping the others
// in order; the property goes when nothing remains. 0 when done or when
// there was nothing to drop.
DWORD RemoveFilterEntry(HDEVINFO devices, SP_DEVINFO_DATA* device, DWORD property, const char* entry);

// Whether the device's own filter list `property` holds `entry`.
bool HasFilterEntry(HDEVINFO devices, SP_DEVINFO_DATA* device, DWORD property, const char* entry);

// The nodes a search looks at: the devices plugged in now, or every node
// the system keeps, with those unplugged (whose settings, filters
// included, come back with the device).
enum class DeviceNodes { Present, PresentOrNot };

class DeviceSearch {
public:
    explicit DeviceSearch(DeviceNodes nodes = DeviceNodes::Present);
    ~DeviceSearch();
    DeviceSearch(const DeviceSearch&) = delete;
    DeviceSearch& operator=(const DeviceSearch&) = delete;

    // 0 when the next device with `hardwareId` (a whole entry of its list,
    // any letter case) after the one found last is found, NO_MATCHING_DEVICE
    // when none is, else the error that ended the search. An id list that
    // cannot be read is told first, in the running program's own words (its
    // string table; each program words it its own way, in Chinese in both
    // editions).
    DWORD Find(const std::string& hardwareId);

    HDEVINFO Devices() const { return devices_; }
    SP_DEVINFO_DATA* Device() { return &device_; }
    // The found device's instance id ("" when it cannot be read).
    std::string InstanceId();

private:
    HDEVINFO devices_;
    DWORD openError_;
    DWORD next_ = 0;
    SP_DEVINFO_DATA device_ = {};
    std::vector<char> ids_;
};
