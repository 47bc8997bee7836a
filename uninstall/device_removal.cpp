// Device nodes of the controller: search, driver restore, removal.
#include "device_removal.h"

#include <string.h>

#include "device_search.h"
#include "device_update.h"
#include "oem_inf.h"
#include "package_names.h"
#include "package_paths.h"
#include "path_text.h"
#include "registry_text.h"
#include "win32_control_device.h"
#include "win_error.h"

namespace {

const char kDeviceClassRoot[] = "System\\CurrentControlSet\\Control\\Class\\";

// The search's result in the uninstaller's terms: no device is
// ERROR_NO_MORE_ITEMS, as the enumeration ends.
DWORD SearchResult(DWORD found) { return found == NO_MATCHING_DEVICE ? ERROR_NO_MORE_ITEMS : found; }

// The InfPath of the found device's driver key; "" when unknown.
std::string FoundDeviceInfName(DeviceSearch& search) {
    std::vector<char> data;
    DWORD size = 0;
    if (ReadDeviceProperty(search.Devices(), search.Device(), SPDRP_DRIVER, data, size) != ERROR_SUCCESS) {
        return std::string();
    }
    const std::string driverKey(data.data(), strnlen(data.data(), size));
    std::string infName;
    ReadRegistryString(HKEY_LOCAL_MACHINE, (kDeviceClassRoot + driverKey).c_str(), "InfPath", infName);
    return infName;
}

// Whether the touch driver runs (its control device opens).
bool DriverRuns() { return kv::Win32ControlDevice().Open(); }

// How one of the two nodes gets its system driver back.
struct Restore {
    bool infOnlyWhenDriverRuns;  // its INF copy goes only while the touch driver runs
    const char* systemInf;       // under the system root, as "\\inf\\name.inf"
};

DWORD RestoreDriver(const std::string& hardwareId, const std::string& packageFolder, const Restore& restore,
                    DWORD waitMilliseconds) {
    const std::string systemInf = UnderSystemRoot(restore.systemInf);
    if (WaitForPresentDevice(hardwareId, waitMilliseconds) != ERROR_SUCCESS) return FindDeviceByHardwareId(hardwareId);
    std::string infName;
    {
        DeviceSearch search;
        const DWORD found = search.Find(hardwareId);
        if (found != ERROR_SUCCESS) return SearchResult(found);
        if (!restore.infOnlyWhenDriverRuns || DriverRuns()) infName = FoundDeviceInfName(search);
    }
    DeleteOemInf(infName, packageFolder);
    return UpdateDriver(hardwareId, systemInf);
}

}  // namespace

DWORD FindDeviceByHardwareId(const std::string& hardwareId) { return SearchResult(DeviceSearch().Find(hardwareId)); }

bool DeviceAbsent(DWORD result) { return result == ERROR_NO_MORE_ITEMS || result == ERROR_NO_SUCH_DEVINST; }

void RemovePackageFiltersFromNodes(const std::string& usbId) {
    for (const std::string& id : {usbId, HidChildId(usbId)}) {
        for (const char* entry : {KV_DRIVER_FILTER_ENTRY, KV_FILTER_FILTER_ENTRY}) RemoveNodeFilterEntry(id, entry);
    }
}

DWORD RemoveDeviceByHardwareId(const std::string& hardwareId) {
    DeviceSearch search;
    const DWORD found = search.Find(hardwareId);
    if (found != ERROR_SUCCESS) return SearchResult(found);
    return SetupDiRemoveDevice(search.Devices(), search.Device()) ? ERROR_SUCCESS : FailureCode();
}

DWORD RestoreUsbDeviceDriver(const std::string& usbId, const std::string& packageFolder) {
    return RestoreDriver(usbId, packageFolder, Restore{true, "\\inf\\input.inf"}, 0);
}

DWORD RestoreHidDeviceDriver(const std::string& hidId, const std::string& packageFolder, DWORD waitMilliseconds) {
    return RestoreDriver(hidId, packageFolder, Restore{false, "\\inf\\msmouse.inf"}, waitMilliseconds);
}
