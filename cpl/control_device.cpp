// The driver's control device through CreateFileA and DeviceIoControl.
#include "control_device.h"

#include "kvshared.h"

bool Win32ControlDevice::Open() {
    Close();
    handle_ = CreateFileA(KV_CONTROL_DEVICE_PATH, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                          FILE_ATTRIBUTE_NORMAL, nullptr);
    return IsOpen();
}

bool Win32ControlDevice::Control(DWORD code, const void* input, DWORD inputSize, void* output, DWORD outputSize,
                                 DWORD* returned) {
    DWORD bytes = 0;
    BOOL ok = IsOpen() && DeviceIoControl(handle_, code, const_cast<void*>(input), inputSize, output, outputSize,
                                          &bytes, nullptr);
    if (returned) *returned = ok ? bytes : 0;
    return ok != FALSE;
}

void Win32ControlDevice::Close() {
    if (IsOpen()) CloseHandle(handle_);
    handle_ = INVALID_HANDLE_VALUE;
}

void SendToDevice(ControlDevice* device, DWORD code, const void* input, DWORD inputSize) {
    if (!device) return;
    DWORD returned = 0;
    device->Control(code, input, inputSize, nullptr, 0, &returned);
}

void SendDeviceMode(ControlDevice* device, DWORD mode) {
    SendToDevice(device, IOCTL_POINTER_SET_DEVICE_MODE, &mode, sizeof mode);
}
