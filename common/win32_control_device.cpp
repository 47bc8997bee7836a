// The driver's control device through CreateFileW and DeviceIoControl.
#include "win32_control_device.h"

#include "kvshared.h"

namespace kv {

namespace {

const wchar_t kDevicePath[] = L"" KV_CONTROL_DEVICE_PATH;

}  // namespace

HANDLE Win32ControlDevice::OpenHandle() const {
    const DWORD share = sharing_ == Sharing::ReadWrite ? FILE_SHARE_READ | FILE_SHARE_WRITE : 0;
    return CreateFileW(kDevicePath, GENERIC_READ | GENERIC_WRITE, share, nullptr, OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

bool Win32ControlDevice::Open() {
    const HANDLE handle = OpenHandle();
    inUse_ = handle != INVALID_HANDLE_VALUE;
    if (inUse_) CloseHandle(handle);
    return inUse_;
}

bool Win32ControlDevice::Control(uint32_t code, const void* in, uint32_t inSize, void* out, uint32_t outSize,
                                 uint32_t* returned) {
    DWORD bytes = 0;
    const HANDLE handle = inUse_ ? OpenHandle() : INVALID_HANDLE_VALUE;
    const bool ok = handle != INVALID_HANDLE_VALUE &&
                    DeviceIoControl(handle, code, const_cast<void*>(in), inSize, out, outSize, &bytes, nullptr) != FALSE;
    if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
    if (returned) *returned = ok ? bytes : 0;
    return ok;
}

}  // namespace kv
