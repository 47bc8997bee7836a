// The control device through CreateFileA and DeviceIoControl.
#include "win32_control_device.h"

namespace kvcal {

bool Win32ControlDevice::Open(const char* path) {
    Close();
    handle_ = CreateFileA(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    return handle_ != INVALID_HANDLE_VALUE;
}

bool Win32ControlDevice::Control(uint32_t code, const void* in, uint32_t inSize, void* out, uint32_t outSize,
                                 uint32_t* returned) {
    DWORD bytes = 0;
    const BOOL ok = DeviceIoControl(handle_, code, const_cast<void*>(in), inSize, out, outSize, &bytes, nullptr);
    if (returned) *returned = bytes;
    return ok != FALSE;
}

void Win32ControlDevice::Close() {
    if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
    handle_ = INVALID_HANDLE_VALUE;
}

}  // namespace kvcal
