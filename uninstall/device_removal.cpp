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
std::string FoundDeviceInfName(PresentDeviceSearch& search) {
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
    const char* filterEntry;     // the package's entry in the node's own lower filters, or null
};

DWORD RestoreDriver(const std::string& hardwareId, const Restore& restore) {
    const std::string systemInf = UnderSystemRoot(restore.systemInf);
    std::string infName;
    {
        PresentDeviceSearch search;
        const DWORD found = search.Find(hardwareId);
        if (found != ERROR_SUCCESS) return SearchResult(found);
        if (!restore.infOnlyWhenDriverRuns || DriverRuns()) infName = FoundDeviceInfName(search);
        // A filter whose service is gone would keep the node from starting
        // on its system driver.
        if (restore.filterEntry) RemoveLowerFilterEntry(search.Devices(), search.Device(), restore.filterEntry);
    }
    DeleteOemInf(infName);
    return UpdateDriver(hardwareId, systemInf);
}

}  // namespace

DWORD FindDeviceByHardwareId(const std::string& hardwareId) {
    return SearchResult(PresentDeviceSearch().Find(hardwareId));
}

DWORD RemoveDeviceByHardwareId(const std::string& hardwareId) {
    PresentDeviceSearch search;
    const DWORD found = search.Find(hardwareId);
    if (found != ERROR_SUCCESS) return SearchResult(found);
    return SetupDiRemoveDevice(search.Devices(), search.Device()) ? ERROR_SUCCESS : FailureCode();
}

DWORD RestoreUsbDeviceDriver(const std::string& usbId) {
    return RestoreDriver(usbId, Restore{true, "\\inf\\input.inf", KV_DRIVER_FILTER_ENTRY});
}

DWORD RestoreHidDeviceDriver(const std::string& hidId) {
    return RestoreDriver(hidId, Restore{false, "\\inf\\msmouse.inf", nullptr});
}
