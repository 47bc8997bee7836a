// Search of the present devices by hardware id and their driver update.
#include "device_update.h"

#include <setupapi.h>
#include <newdev.h>

#include <vector>

#include "install_result.h"
#include "multi_string.h"
#include "texts_cp936.h"
#include "win_error.h"

namespace {

DriverUpdateFunction g_driverUpdate = UpdateDriverForPlugAndPlayDevicesA;

const DWORD kPollMilliseconds = 250;

enum class IdListRead { Read, NoIds, Failed };

// Reads the device's hardware-id list into `ids`, grown to the size the
// system reports.
IdListRead ReadHardwareIds(HDEVINFO devices, SP_DEVINFO_DATA& device, std::vector<char>& ids, DWORD& size,
                           DWORD& error) {
    size = 0;
    for (;;) {
        DWORD required = 0;
        if (SetupDiGetDeviceRegistryPropertyA(devices, &device, SPDRP_HARDWAREID, nullptr,
                                              reinterpret_cast<BYTE*>(ids.data()), static_cast<DWORD>(ids.size()),
                                              &required)) {
            size = required <= ids.size() ? required : static_cast<DWORD>(ids.size());
            return IdListRead::Read;
        }
        error = FailureCode();
        if (error == ERROR_INVALID_DATA) return IdListRead::NoIds;
        if (error != ERROR_INSUFFICIENT_BUFFER || required <= ids.size()) return IdListRead::Failed;
        ids.assign(required, '\0');
    }
}

// 0 with `device` set when found, NO_MATCHING_DEVICE, or the search's error.
DWORD SearchPresentDevices(HDEVINFO devices, const std::string& hardwareId, SP_DEVINFO_DATA& device) {
    std::vector<char> ids;
    for (DWORD index = 0;; ++index) {
        device = SP_DEVINFO_DATA{};
        device.cbSize = sizeof device;
        if (!SetupDiEnumDeviceInfo(devices, index, &device)) return NO_MATCHING_DEVICE;
        DWORD size = 0;
        DWORD error = ERROR_SUCCESS;
        switch (ReadHardwareIds(devices, device, ids, size, error)) {
        case IdListRead::NoIds: continue;
        case IdListRead::Failed:
            MessageBoxA(nullptr, KV_TEXT_UNKNOWN_INSTALL_ERROR, KV_TEXT_ERROR_CAPTION, MB_ICONERROR);
            return error;
        case IdListRead::Read:
            if (HardwareIdListMatches(ids.data(), size, hardwareId)) return ERROR_SUCCESS;
            break;
        }
    }
}

DWORD WithPresentDevice(const std::string& hardwareId, const std::string* infPathToInstall) {
    HDEVINFO devices = SetupDiGetClassDevsA(nullptr, nullptr, nullptr, DIGCF_ALLCLASSES | DIGCF_PRESENT);
    if (devices == INVALID_HANDLE_VALUE) return FailureCode();
    SP_DEVINFO_DATA device;
    DWORD result = SearchPresentDevices(devices, hardwareId, device);
    SetupDiDestroyDeviceInfoList(devices);
    if (result == ERROR_SUCCESS && infPathToInstall) result = UpdateDriver(hardwareId, *infPathToInstall);
    return result;
}

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
        return ERROR_SUCCESS;
    }
    return FailureCode();
}

DWORD FindPresentDevice(const std::string& hardwareId) { return WithPresentDevice(hardwareId, nullptr); }

DWORD UpdateMatchingDevice(const std::string& infPath, const std::string& hardwareId) {
    return WithPresentDevice(hardwareId, &infPath);
}

DWORD UpdateMatchingDeviceWhenPresent(const std::string& infPath, const std::string& hardwareId,
                                      DWORD waitMilliseconds) {
    const DWORD start = GetTickCount();
    DWORD found = FindPresentDevice(hardwareId);
    while (found == NO_MATCHING_DEVICE && GetTickCount() - start < waitMilliseconds) {
        Sleep(kPollMilliseconds);
        found = FindPresentDevice(hardwareId);
    }
    return found == ERROR_SUCCESS ? UpdateMatchingDevice(infPath, hardwareId) : found;
}
