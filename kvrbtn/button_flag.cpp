// The one-shot flag lives in the driver, so every client sees one state.
#include "button_flag.h"

#include "kvshared.h"

ButtonFlag::~ButtonFlag() {
    if (device_ != INVALID_HANDLE_VALUE) CloseHandle(device_);
}

bool ButtonFlag::Open() {
    device_ = CreateFileA(KV_CONTROL_DEVICE_PATH, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    return device_ != INVALID_HANDLE_VALUE;
}

bool ButtonFlag::Send(DWORD code, DWORD input, DWORD* output) {
    DWORD returned = 0;
    return DeviceIoControl(device_, code, &input, sizeof input, output, output ? sizeof *output : 0, &returned,
                           nullptr) &&
           (!output || returned == sizeof *output);
}

// The driver arms only a clear flag with 1; any other word clears it.
bool ButtonFlag::Arm() {
    DWORD armed = 0;
    if (!Send(IOCTL_POINTER_TAKE_BUTTON_MODE, 0, &armed)) return false;
    return Send(IOCTL_POINTER_ARM_BUTTON_MODE, 1, nullptr);
}

bool ButtonFlag::Disarm() { return Send(IOCTL_POINTER_ARM_BUTTON_MODE, 0, nullptr); }

bool ButtonFlag::Take() {
    DWORD armed = 0;
    return Send(IOCTL_POINTER_TAKE_BUTTON_MODE, 0, &armed) && armed == 1;
}
