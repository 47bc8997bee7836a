// Rollback of a failed installation to the state recorded before it.
#include "rollback.h"

#include <windows.h>

#include "device_update.h"
#include "package_inf_copies.h"
#include "package_names.h"
#include "package_paths.h"
#include "path_text.h"
#include "registry_text.h"
#include "service_keys.h"

namespace {

bool FileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool KeyExists(const char* path) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

// Only the package's own entries go: those this run added, and those whose
// service will not be there after the rollback (a machine left so by an
// earlier failure). A list goes only when nothing else is left in it.
void RemoveAddedFilterEntries(const InstallationBefore& before, const std::string& controllerId) {
    if (!before.kvusbInHidLowerFilters || !before.driverServiceKey) {
        RemoveFilterEntry(HKEY_LOCAL_MACHINE, KV_HID_CLASS_KEY, KV_LOWER_FILTERS, KV_DRIVER_FILTER_ENTRY,
                          WhenListEmpty::DeleteValue);
    }
    RemoveNodeFilterEntry(controllerId, KV_DRIVER_FILTER_ENTRY,
                          before.driverServiceKey ? before.nodesWithKvusb : StringList());
    if (!before.kvfiltInMouseUpperFilters || !before.filterServiceKey) {
        RemoveFilterEntry(HKEY_LOCAL_MACHINE, KV_MOUSE_CLASS_KEY, KV_UPPER_FILTERS, KV_FILTER_FILTER_ENTRY,
                          WhenListEmpty::DeleteValue);
    }
}

void RemoveAddedFiles(const InstallationBefore& before) {
    for (const std::string& file : before.files) {
        if (!ContainsEntry(before.filesPresent, file)) DeleteFileA(file.c_str());
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

InstallationBefore RecordInstallation(const StringList& files, const std::string& packageFolder,
                                      const std::string& controllerId) {
    InstallationBefore before;
    for (const std::string& file : files) {
        if (file.empty()) continue;  // in a folder that is not known
        before.files.push_back(file);
        if (FileExists(file)) before.filesPresent.push_back(file);
    }
    const std::string folder = ProgramFolder();
    before.programFolder = !folder.empty() && FileExists(folder);
    before.driverServiceKey = KeyExists(KV_DRIVER_SERVICE_KEY);
    before.filterServiceKey = KeyExists(KV_FILTER_SERVICE_KEY);
    before.kvfiltInMouseUpperFilters =
        FilterListContains(HKEY_LOCAL_MACHINE, KV_MOUSE_CLASS_KEY, KV_UPPER_FILTERS, KV_FILTER_FILTER_ENTRY);
    before.kvusbInHidLowerFilters =
        FilterListContains(HKEY_LOCAL_MACHINE, KV_HID_CLASS_KEY, KV_LOWER_FILTERS, KV_DRIVER_FILTER_ENTRY);
    before.nodesWithKvusb = NodesWithLowerFilter(controllerId, KV_DRIVER_FILTER_ENTRY, DeviceNodes::PresentOrNot);
    before.controllerOnPackage =
        before.driverServiceKey &&
        !NodesWithLowerFilter(controllerId, KV_DRIVER_FILTER_ENTRY, DeviceNodes::Present).empty();
    before.infCopies = PackageInfCopies(packageFolder);
    return before;
}

void RemoveProgramFolder() {
    const std::string folder = ProgramFolder();
    if (!folder.empty()) RemoveDirectoryA(folder.c_str());
}

void RollBack(const InstallationBefore& before, const std::string& packageFolder, const std::string& controllerId,
              bool restoreDrivers) {
    RemoveAddedFilterEntries(before, controllerId);
    if (!before.driverServiceKey) DeleteServiceKey(KV_DRIVER_SERVICE);
    if (!before.filterServiceKey) DeleteServiceKey(KV_FILTER_SERVICE);
    RemoveAddedFiles(before);
    if (!before.programFolder) RemoveProgramFolder();
    for (const std::string& copy : PackageInfCopies(packageFolder)) {
        if (!ContainsEntry(before.infCopies, copy)) RemoveInfCopy(copy);
    }
    if (restoreDrivers && !before.controllerOnPackage) RestoreStandardDrivers(controllerId);
}
