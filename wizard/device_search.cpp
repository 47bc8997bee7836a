// Search of device nodes by hardware id.
#include "device_search.h"

#include <cfgmgr32.h>

#include "app.h"
#include "edition_texts.h"
#include "multi_string.h"
#include "win_error.h"
#include "wizard_ids.h"

namespace {

void TellUnreadableIds() {
    const HINSTANCE program = CApp::ResourceModule();
    MessageBoxW(nullptr, EditionText(program, IDS_DEVICE_IDS_UNREADABLE).c_str(),
                EditionText(program, IDS_DEVICE_IDS_UNREADABLE_CAPTION).c_str(), MB_ICONERROR);
}

}  // namespace

DWORD ReadDeviceProperty(HDEVINFO devices, SP_DEVINFO_DATA* device, DWORD property, std::vector<char>& data,
                         DWORD& size) {
    size = 0;
    for (;;) {
        DWORD required = 0;
        if (SetupDiGetDeviceRegistryPropertyA(devices, device, property, nullptr, reinterpret_cast<BYTE*>(data.data()),
                                              static_cast<DWORD>(data.size()), &required)) {
            size = required <= data.size() ? required : static_cast<DWORD>(data.size());
            return ERROR_SUCCESS;
        }
        const DWORD error = FailureCode();
        if (error != ERROR_INSUFFICIENT_BUFFER || required <= data.size()) return error;
        data.assign(required, '\0');
    }
}

DeviceSearch::DeviceSearch(DeviceNodes nodes)
    : devices_(SetupDiGetClassDevsA(nullptr, nullptr, nullptr,
                                    DIGCF_ALLCLASSES | (nodes == DeviceNodes::Present ? DIGCF_PRESENT : 0))),
      openError_(devices_ == INVALID_HANDLE_VALUE ? FailureCode() : ERROR_SUCCESS) {}

DeviceSearch::~DeviceSearch() {
    if (devices_ != INVALID_HANDLE_VALUE) SetupDiDestroyDeviceInfoList(devices_);
}

std::string DeviceSearch::InstanceId() {
    char id[MAX_DEVICE_ID_LEN] = {};
    return SetupDiGetDeviceInstanceIdA(devices_, &device_, id, sizeof id, nullptr) ? id : std::string();
}

DWORD DeviceSearch::Find(const std::string& hardwareId) {
    if (devices_ == INVALID_HANDLE_VALUE) return openError_;
    for (;;) {
        device_ = SP_DEVINFO_DATA{};
        device_.cbSize = sizeof device_;
        if (!SetupDiEnumDeviceInfo(devices_, next_++, &device_)) return NO_MATCHING_DEVICE;
        DWORD size = 0;
        const DWORD error = ReadDeviceProperty(devices_, &device_, SPDRP_HARDWAREID, ids_, size);
        if (error == ERROR_INVALID_DATA) continue;  // a device without hardware ids
        if (error != ERROR_SUCCESS) {
            // The error is taken before the message box can change it.
            TellUnreadableIds();
            return error;
        }
        if (HardwareIdListMatches(ids_.data(), size, hardwareId)) return ERROR_SUCCESS;
    }
}
