// Device-level filter lists of the nodes of a hardware id.
#include <vector>

#include "device_search.h"
#include "device_update.h"
#include "multi_string.h"
#include "win_error.h"

namespace {

// The node's own list; ERROR_INVALID_DATA when it has none.
DWORD ReadFilterList(HDEVINFO devices, SP_DEVINFO_DATA* device, DWORD property, StringList& entries) {
    std::vector<char> data;
    DWORD size = 0;
    const DWORD read = ReadDeviceProperty(devices, device, property, data, size);
    if (read == ERROR_SUCCESS) entries = SplitMultiString(data.data(), size);
    return read;
}

}  // namespace

bool HasFilterEntry(HDEVINFO devices, SP_DEVINFO_DATA* device, DWORD property, const char* entry) {
    StringList entries;
    return ReadFilterList(devices, device, property, entries) == ERROR_SUCCESS && ContainsEntry(entries, entry);
}

DWORD RemoveFilterEntry(HDEVINFO devices, SP_DEVINFO_DATA* device, DWORD property, const char* entry) {
    StringList entries;
    const DWORD read = ReadFilterList(devices, device, property, entries);
    if (read == ERROR_INVALID_DATA) return ERROR_SUCCESS;  // the device has no such list
    if (read != ERROR_SUCCESS) return read;
    if (RemoveEntry(entries, entry) == 0) return ERROR_SUCCESS;
    const std::vector<char> image = JoinMultiString(entries);
    const BOOL written =
        entries.empty() ? SetupDiSetDeviceRegistryPropertyA(devices, device, property, nullptr, 0)
                        : SetupDiSetDeviceRegistryPropertyA(devices, device, property,
                                                            reinterpret_cast<const BYTE*>(image.data()),
                                                            static_cast<DWORD>(image.size()));
    return written ? ERROR_SUCCESS : FailureCode();
}

StringList NodesWithLowerFilter(const std::string& hardwareId, const char* entry, DeviceNodes nodes) {
    StringList found;
    DeviceSearch search(nodes);
    while (search.Find(hardwareId) == ERROR_SUCCESS) {
        if (HasFilterEntry(search.Devices(), search.Device(), SPDRP_LOWERFILTERS, entry)) {
            found.push_back(search.InstanceId());
        }
    }
    return found;
}

DWORD RemoveNodeFilterEntry(const std::string& hardwareId, const char* entry, const StringList& keep) {
    DWORD result = ERROR_SUCCESS;
    DeviceSearch search(DeviceNodes::PresentOrNot);
    while (search.Find(hardwareId) == ERROR_SUCCESS) {
        if (ContainsEntry(keep, search.InstanceId())) continue;
        for (DWORD property : {SPDRP_LOWERFILTERS, SPDRP_UPPERFILTERS}) {
            const DWORD removed = RemoveFilterEntry(search.Devices(), search.Device(), property, entry);
            if (result == ERROR_SUCCESS) result = removed;
        }
    }
    return result;
}
