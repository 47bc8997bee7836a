// The driver's control device, "\\.\kvusb", through CreateFileA and
// DeviceIoControl: the one way every program of the package opens it.
#ifndef KV_COMMON_WIN32_CONTROL_DEVICE_H
#define KV_COMMON_WIN32_CONTROL_DEVICE_H

#include <windows.h>

#include "control_device.h"

namespace kv {

class Win32ControlDevice : public ControlDevice {
public:
    // What the opener lets later openers do meanwhile. The driver checks no
    // share access, so any number of handles may be open whatever is asked;
    // the programs ask for read and write sharing, except the applet,
    // which opens its handle unshared.
    enum class Sharing { ReadWrite, None };

    explicit Win32ControlDevice(Sharing sharing = Sharing::ReadWrite) : sharing_(sharing) {}
    ~Win32ControlDevice() override { Close(); }
    Win32ControlDevice(const Win32ControlDevice&) = delete;
    Win32ControlDevice& operator=(const Win32ControlDevice&) = delete;

    bool Open() override;
    bool IsOpen() const override { return handle_ != INVALID_HANDLE_VALUE; }
    bool Control(uint32_t code, const void* in, uint32_t inSize, void* out, uint32_t outSize,
                 uint32_t* returned) override;
    void Close() override;

private:
    Sharing sharing_;
    HANDLE handle_ = INVALID_HANDLE_VALUE;
};

}  // namespace kv

#endif
