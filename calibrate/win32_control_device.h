// The control device through CreateFileA and DeviceIoControl.
#ifndef KV_CALIBRATE_WIN32_CONTROL_DEVICE_H
#define KV_CALIBRATE_WIN32_CONTROL_DEVICE_H

#include <windows.h>

#include "control_device.h"

namespace kvcal {

class Win32ControlDevice : public ControlDevice {
public:
    ~Win32ControlDevice() override { Close(); }
    bool Open(const char* path) override;
    bool Control(uint32_t code, const void* in, uint32_t inSize, void* out, uint32_t outSize,
                 uint32_t* returned) override;
    void Close() override;

private:
    HANDLE handle_ = INVALID_HANDLE_VALUE;
};

}  // namespace kvcal

#endif
