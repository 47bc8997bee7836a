// Installation through the package's INF files, with rollback.
#include "install_by_inf.h"

#include "device_update.h"
#include "inf_section.h"
#include "inf_staging.h"
#include "install_result.h"
#include "package_names.h"
#include "package_paths.h"
#include "path_text.h"
#include "rollback.h"
#include "service_keys_create.h"
#include "settings_key.h"

namespace {

DWORD InstallSection(HWND owner, const std::string& infPath, const char* section) {
    InfSectionRun run(owner, infPath);
    DWORD result = run.Open();
    if (result == ERROR_SUCCESS) result = run.ProcessFiles(section);
    if (result != ERROR_SUCCESS) return result;
    CreateServiceKeys();
    result = run.ProcessDirectives(section);
    if (result == ERROR_SUCCESS) PrepareSettingsKey();
    return result;
}

// The controller is on the package's driver: its HID child gets the filter.
DWORD InstallHidChild(const std::string& infPath, const std::string& hardwareId) {
    const std::string filterInf = FolderOf(infPath) + KV_FILTER_INF;
    const DWORD result = UpdateMatchingDeviceWhenPresent(filterInf, HidChildId(hardwareId), kHidChildWaitMilliseconds);
    return result == NO_MATCHING_DEVICE ? INSTALL_ROLLED_BACK : result;
}

DWORD InstallAndUpdate(HWND owner, const std::string& infPath, const char* section, const std::string& hardwareId,
                       bool& devicesTouched) {
    devicesTouched = false;
    const DWORD sectionResult = InstallSection(owner, infPath, section);
    if (sectionResult != ERROR_SUCCESS) return sectionResult;
    const DWORD controllerResult = UpdateMatchingDevice(infPath, hardwareId);
    if (controllerResult != ERROR_SUCCESS) return controllerResult;
    devicesTouched = true;
    return InstallHidChild(infPath, hardwareId);
}

}  // namespace

DWORD InstallByInf(HWND owner, const std::string& infPath, const char* section, const std::string& hardwareId) {
    const std::string packageFolder = FolderOf(infPath);
    const InstallationBefore before =
        RecordInstallation(SectionTargetFiles(infPath, section), packageFolder, hardwareId);
    bool devicesTouched = false;
    const DWORD result = InstallAndUpdate(owner, infPath, section, hardwareId, devicesTouched);
    if (result == NO_MATCHING_DEVICE) {
        // Installed for a controller to come: whether or not the INF store
        // takes the copies, the installation itself stands.
        StageInfFiles(ProgramFolder());
        return NO_MATCHING_DEVICE;
    }
    if (result != ERROR_SUCCESS) RollBack(before, packageFolder, hardwareId, devicesTouched);
    return result;
}
