// Windows 2000: the package's files deleted one by one, the device nodes removed.
#include "device_removal.h"
#include "package_inf_copies.h"
#include "package_paths.h"
#include "path_text.h"
#include "uninstall_work.h"

namespace {

// Deletes each of `names` under `folder` (with its trailing backslash);
// nothing when the folder is unknown. Failures are ignored: the running
// uninstaller cannot go, the batch takes it later.
void DeleteFilesIn(const std::string& folder, const char* const* names, size_t count) {
    if (folder.empty()) return;
    for (size_t i = 0; i < count; ++i) {
        const std::string path = JoinUnder(folder, names[i]);
        if (!path.empty()) DeleteFileA(path.c_str());
    }
}

std::string SystemFolder() {
    char folder[kMaxPathChars] = {};
    const UINT length = GetSystemDirectoryA(folder, sizeof folder);
    return length == 0 || length >= sizeof folder ? std::string() : JoinUnder(folder, "\\");
}

// 0 also when no such device is plugged in: there is nothing to remove.
DWORD RemovePresentDevice(const std::string& hardwareId) {
    const DWORD removed = RemoveDeviceByHardwareId(hardwareId);
    return DeviceAbsent(removed) ? ERROR_SUCCESS : removed;
}

}  // namespace

DWORD RemovePackageWin2000(HWND, const std::string& usbId) {
    static const char* const kProgramFiles[] = {"readme.htm", "kvcal.exe",  "uninst.exe",
                                                "kvrbtn.exe", "kvusb.inf", "kvfilt.inf"};
    static const char* const kInfFiles[] = {"kvusb.inf", "kvusb.pnf", "kvfilt.inf", "kvfilt.pnf"};
    static const char* const kSystemFiles[] = {"kvcplusb.cpl", "drivers\\kvfilt.sys", "drivers\\kvusb.sys"};
    const std::string programFolder = JoinUnder(ProgramFolder(), "\\");
    // The copies the system made when it installed the devices from them.
    RemovePackageInfCopies(programFolder);
    DeleteFilesIn(programFolder, kProgramFiles, sizeof kProgramFiles / sizeof *kProgramFiles);
    DeleteFilesIn(UnderSystemRoot("\\inf\\"), kInfFiles, sizeof kInfFiles / sizeof *kInfFiles);
    DeleteFilesIn(SystemFolder(), kSystemFiles, sizeof kSystemFiles / sizeof *kSystemFiles);
    // Nodes unplugged now stay, without the package's filters.
    RemovePackageFiltersFromNodes(usbId);
    // The child first: Windows 2000 takes a node's children with it, and a
    // child gone that way is not found again.
    const DWORD child = RemovePresentDevice(HidChildId(usbId));
    if (child != ERROR_SUCCESS) return child;
    return RemovePresentDevice(usbId);
}
