// The driver's control device through CreateFileA and DeviceIoControl.
#include "win32_control_device.h"

#include "kvshared.h"

namespace kv {

bool Win32ControlDevice::Open() {
    Close();
    const DWORD share = sharing_ == Sharing::ReadWrite ? FILE_SHARE_READ | FILE_SHARE_WRITE : 0;
    handle_ = CreateFileA(KV_CONTROL_DEVICE_PATH, GENERIC_READ | GENERIC_WRITE, share, nullptr, OPEN_EXISTING,
                          FILE_ATTRIBUTE_NORMAL, nullptr);
    return IsOpen();
}

bool Win32ControlDevice::Control(uint32_t code, const void* in, uint32_t inSize, void* out, uint32_t outSize,
                                 uint32_t* returned) {
    DWORD bytes = 0;
    const bool ok = IsOpen() && DeviceIoControl(handle_, code, const_cast<void*>(in), inSize, out, outSize, &bytes,
                                                nullptr) != FALSE;
    if (returned) *returned = ok ? bytes : 0;
    return ok;
}

void Win32ControlDevice::Close() {
    if (IsOpen()) CloseHandle(handle_);
    handle_ = INVALID_HANDLE_VALUE;
}

}  // namespace kv
