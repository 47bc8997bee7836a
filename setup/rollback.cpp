// The two rollback orders of a failed installation.
#include "rollback.h"

#include <windows.h>

#include "device_update.h"
#include "inf_section.h"
#include "package_names.h"
#include "package_paths.h"
#include "path_text.h"
#include "registry_text.h"
#include "service_keys.h"

namespace {

// Only the package's own entries go; another product's filters stay, and
// a list itself goes only when nothing else is left in it. The device's own
// list matters most: a filter whose service is gone stops the device.
void RemovePackageFilterEntries(const std::string& controllerId, const FilterListSnapshot& before) {
    RemoveFilterEntry(HKEY_LOCAL_MACHINE, KV_HID_CLASS_KEY, KV_LOWER_FILTERS, KV_DRIVER_FILTER_ENTRY,
                      WhenListEmpty::DeleteValue);
    RemoveDeviceLowerFilter(controllerId, KV_DRIVER_FILTER_ENTRY);
    if (!before.kvfiltWasInMouseUpperFilters) {
        RemoveFilterEntry(HKEY_LOCAL_MACHINE, KV_MOUSE_CLASS_KEY, KV_UPPER_FILTERS, KV_FILTER_FILTER_ENTRY,
                          WhenListEmpty::DeleteValue);
    }
}

// Gives both devices the system's own drivers back; results are not used,
// a device that is absent simply stays as it is.
void RestoreStandardDrivers(const std::string& controllerId) {
    const std::string inputInf = UnderSystemRoot("\\inf\\input.inf");
    const std::string mouseInf = UnderSystemRoot("\\inf\\msmouse.inf");
    if (!inputInf.empty()) UpdateDriver(controllerId, inputInf);
    if (!mouseInf.empty()) UpdateDriver(HidChildId(controllerId), mouseInf);
}

}  // namespace

FilterListSnapshot TakeFilterListSnapshot() {
    FilterListSnapshot snapshot;
    snapshot.kvfiltWasInMouseUpperFilters =
        FilterListContains(HKEY_LOCAL_MACHINE, KV_MOUSE_CLASS_KEY, KV_UPPER_FILTERS, KV_FILTER_FILTER_ENTRY);
    return snapshot;
}

void UninstallInfSection(const std::string& driverInfPath) {
    InfSectionRun run(nullptr, driverInfPath);
    if (run.Open() != ERROR_SUCCESS) return;
    run.ProcessFiles(KV_UNINSTALL_SECTION);
    run.ProcessDirectives(KV_UNINSTALL_SECTION);
}

void RemoveProgramFolder() {
    const std::string folder = ProgramFolder();
    if (!folder.empty()) RemoveDirectoryA(folder.c_str());
}

void RollBackAfterFilterFailure(const std::string& driverInfPath, const std::string& controllerId,
                                const FilterListSnapshot& before) {
    DeleteServiceKeys();
    UninstallInfSection(driverInfPath);
    RemoveProgramFolder();
    RemovePackageFilterEntries(controllerId, before);
    RestoreStandardDrivers(controllerId);
}

void RollBackAfterControllerFailure(const std::string& driverInfPath, const std::string& controllerId,
                                    const FilterListSnapshot& before) {
    RemovePackageFilterEntries(controllerId, before);
    DeleteServiceKeys();
    UninstallInfSection(driverInfPath);
    RemoveProgramFolder();
}
