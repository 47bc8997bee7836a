// Search of the present devices by hardware id and their driver update.
#include "device_update.h"

#include <newdev.h>

#include "device_search.h"
#include "restart.h"
#include "win_error.h"

namespace {

DriverUpdateFunction g_driverUpdate = UpdateDriverForPlugAndPlayDevicesA;

const DWORD kPollMilliseconds = 250;

DWORD FindPresentDevice(const std::string& hardwareId) { return DeviceSearch().Find(hardwareId); }

}  // namespace

DriverUpdateFunction SetDriverUpdateFunction(DriverUpdateFunction function) {
    const DriverUpdateFunction previous = g_driverUpdate;
    g_driverUpdate = function ? function : UpdateDriverForPlugAndPlayDevicesA;
    return previous;
}

DWORD UpdateDriver(const std::string& hardwareId, const std::string& infPath) {
    BOOL restartNeeded = FALSE;
    SetLastError(ERROR_SUCCESS);
    if (g_driverUpdate(nullptr, hardwareId.c_str(), infPath.c_str(), INSTALLFLAG_FORCE, &restartNeeded)) {
        // Given the flag, Windows leaves asking for the restart to us.
        if (restartNeeded) NoteRestartNeeded();
        return ERROR_SUCCESS;
    }
    return FailureCode();
}

DWORD UpdateMatchingDevice(const std::string& infPath, const std::string& hardwareId) {
    const DWORD found = FindPresentDevice(hardwareId);
    return found == ERROR_SUCCESS ? UpdateDriver(hardwareId, infPath) : found;
}

DWORD WaitForPresentDevice(const std::string& hardwareId, DWORD waitMilliseconds) {
    const DWORD start = GetTickCount();
    DWORD found = FindPresentDevice(hardwareId);
    while (found == NO_MATCHING_DEVICE && GetTickCount() - start < waitMilliseconds) {
        Sleep(kPollMilliseconds);
        found = FindPresentDevice(hardwareId);
    }
    return found;
}

DWORD UpdateMatchingDeviceWhenPresent(const std::string& infPath, const std::string& hardwareId,
                                      DWORD waitMilliseconds) {
    const DWORD found = WaitForPresentDevice(hardwareId, waitMilliseconds);
    return found == ERROR_SUCCESS ? UpdateMatchingDevice(infPath, hardwareId) : found;
}
