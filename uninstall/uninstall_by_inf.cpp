// Windows XP to 7: removal through the INF's uninstall section.
#include "device_removal.h"
#include "device_update.h"  // kHidChildWaitMilliseconds
#include "inf_section.h"
#include "package_inf_copies.h"
#include "package_paths.h"
#include "path_text.h"
#include "uninstall_work.h"

DWORD UninstallByInf(HWND owner, const std::string& infPath, const char* section, const std::string& usbId) {
    const std::string packageFolder = FolderOf(infPath);
    {
        InfSectionRun run(owner, infPath);
        const DWORD opened = run.Open();
        if (opened != ERROR_SUCCESS) return opened;
        // Before the section deletes the INF files they are found by; with
        // no copy left, a controller plugged in later gets the system's
        // driver, also when it is absent now.
        RemovePackageInfCopies(packageFolder);
        // Failures of the section are ignored: the devices still get their drivers back.
        run.ProcessFiles(section);
        run.ProcessDirectives(section);
    }
    RemovePackageFiltersFromNodes(usbId);
    // An absent device is nothing to restore: the system installs its own
    // driver when it comes, the package's INF copies being gone.
    const DWORD controller = RestoreUsbDeviceDriver(usbId, packageFolder);
    const DWORD child =
        RestoreHidDeviceDriver(HidChildId(usbId), packageFolder, controller == ERROR_SUCCESS ? kHidChildWaitMilliseconds : 0);
    const std::string infFolder = UnderSystemRoot("\\inf\\");
    if (!infFolder.empty()) {
        DeleteFileA((infFolder + "kvusb.pnf").c_str());
        DeleteFileA((infFolder + "kvfilt.pnf").c_str());
    }
    return DeviceAbsent(child) ? ERROR_SUCCESS : child;
}
