// Installation by copying the package files.
#include "install_by_copy.h"

#include <vector>

#include "device_update.h"
#include "install_by_inf.h"
#include "install_result.h"
#include "package_names.h"
#include "package_paths.h"
#include "path_text.h"
#include "registry_text.h"
#include "rollback.h"
#include "service_keys_create.h"
#include "settings_key.h"

namespace {

enum class Destination { ProgramFolder, InfFolder, SystemFolder };

struct PackageCopy {
    const char* source;
    Destination destination;
    const char* target;  // relative to the destination folder
};

const PackageCopy kPackageCopies[] = {
    {"readme.txt", Destination::ProgramFolder, "readme.htm"},
    {"kvcal.exe", Destination::ProgramFolder, "kvcal.exe"},
    {"uninst.exe", Destination::ProgramFolder, "uninst.exe"},
    {"kvrbtn.exe", Destination::ProgramFolder, "kvrbtn.exe"},
    {KV_DRIVER_INF, Destination::ProgramFolder, KV_DRIVER_INF},
    // The uninstaller finds the system's copies of both INF files by them.
    {KV_FILTER_INF, Destination::ProgramFolder, KV_FILTER_INF},
    // Where the Start-menu shortcut of the applet points, and its icon.
    {"kvcplusb.cpl", Destination::ProgramFolder, "kvcplusb.cpl"},
    {"KvUsb.dll", Destination::ProgramFolder, "KvUsb.dll"},
    {KV_DRIVER_INF, Destination::InfFolder, KV_DRIVER_INF},
    {KV_FILTER_INF, Destination::InfFolder, KV_FILTER_INF},
    {"kvcplusb.cpl", Destination::SystemFolder, "kvcplusb.cpl"},
    {"kvfilt.sys", Destination::SystemFolder, "drivers\\kvfilt.sys"},
    {"kvusb.sys", Destination::SystemFolder, "drivers\\kvusb.sys"},
};

std::string WindowsSubfolder(UINT(WINAPI* query)(LPSTR, UINT), const char* tail) {
    char folder[kMaxPathChars] = {};
    const UINT length = query(folder, sizeof folder);
    if (length == 0 || length >= sizeof folder) return std::string();
    return JoinUnder(folder, tail);
}

// The destination of every copy whose folder is known, in the order of the
// copies ("" for the others).
std::vector<std::string> CopyTargets(const std::string& programFolder) {
    const std::string folders[] = {
        programFolder.empty() ? std::string() : programFolder + "\\",
        WindowsSubfolder(GetWindowsDirectoryA, "\\inf\\"),
        WindowsSubfolder(GetSystemDirectoryA, "\\"),
    };
    std::vector<std::string> targets;
    for (const PackageCopy& copy : kPackageCopies) {
        targets.push_back(JoinUnder(folders[static_cast<int>(copy.destination)], copy.target));
    }
    return targets;
}

// Failures are passed over, as a missing file shows in the device update
// that follows.
void CopyPackageFiles(const std::string& sourceFolder, const std::vector<std::string>& targets) {
    for (size_t i = 0; i < targets.size(); ++i) {
        const std::string source = JoinUnder(sourceFolder, kPackageCopies[i].source);
        if (!targets[i].empty() && !source.empty()) CopyFileA(source.c_str(), targets[i].c_str(), FALSE);
    }
}

DWORD UpdateDevices(const std::string& infPath, const std::string& hardwareId) {
    const DWORD controllerResult = UpdateMatchingDevice(infPath, hardwareId);
    if (!CountsAsInstalled(controllerResult)) return controllerResult;
    const std::string filterInf = FolderOf(infPath) + KV_FILTER_INF;
    const std::string childId = HidChildId(hardwareId);
    if (controllerResult == NO_MATCHING_DEVICE) return UpdateMatchingDevice(filterInf, childId);
    return UpdateMatchingDeviceWhenPresent(filterInf, childId, kHidChildWaitMilliseconds);
}

}  // namespace

DWORD InstallByCopy(const std::string& infPath, const std::string& hardwareId) {
    HKEY key = nullptr;
    const LONG opened = RegOpenKeyExA(HKEY_LOCAL_MACHINE, KV_CURRENT_VERSION_KEY, 0, KEY_QUERY_VALUE, &key);
    if (opened != ERROR_SUCCESS) return static_cast<DWORD>(opened);
    RegCloseKey(key);

    const std::string programFolder = ProgramFolder();
    const std::string sourceFolder = FolderOf(infPath);
    const std::vector<std::string> targets = CopyTargets(programFolder);
    const InstallationBefore before = RecordInstallation(targets, sourceFolder, hardwareId);
    if (!programFolder.empty()) CreateDirectoryA(programFolder.c_str(), nullptr);
    CopyPackageFiles(sourceFolder, targets);
    CreateServiceKeysWith(SERVICE_ERROR_IGNORE);
    PrepareSettingsKey();

    const DWORD result = UpdateDevices(infPath, hardwareId);
    if (!CountsAsInstalled(result)) RollBack(before, sourceFolder, hardwareId, false);
    return result;
}
