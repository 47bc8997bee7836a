// Device-level filter lists of a present device.
#include <vector>

#include "device_search.h"
#include "device_update.h"
#include "multi_string.h"
#include "win_error.h"

DWORD RemoveLowerFilterEntry(HDEVINFO devices, SP_DEVINFO_DATA* device, const char* entry) {
    std::vector<char> data;
    DWORD size = 0;
    const DWORD read = ReadDeviceProperty(devices, device, SPDRP_LOWERFILTERS, data, size);
    if (read == ERROR_INVALID_DATA) return ERROR_SUCCESS;  // the device has no lower filters
    if (read != ERROR_SUCCESS) return read;
    StringList entries = SplitMultiString(data.data(), size);
    if (RemoveEntry(entries, entry) == 0) return ERROR_SUCCESS;
    const std::vector<char> image = JoinMultiString(entries);
    const BOOL written =
        entries.empty()
            ? SetupDiSetDeviceRegistryPropertyA(devices, device, SPDRP_LOWERFILTERS, nullptr, 0)
            : SetupDiSetDeviceRegistryPropertyA(devices, device, SPDRP_LOWERFILTERS,
                                                reinterpret_cast<const BYTE*>(image.data()),
                                                static_cast<DWORD>(image.size()));
    return written ? ERROR_SUCCESS : FailureCode();
}

DWORD RemoveDeviceLowerFilter(const std::string& hardwareId, const char* entry) {
    PresentDeviceSearch search;
    const DWORD found = search.Find(hardwareId);
    if (found == NO_MATCHING_DEVICE) return ERROR_SUCCESS;
    if (found != ERROR_SUCCESS) return found;
    return RemoveLowerFilterEntry(search.Devices(), search.Device(), entry);
}
