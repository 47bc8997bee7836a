// The driver's control device, "\\.\kvusb", through CreateFileW and
// DeviceIoControl: the one way every program of the package reaches it.
// The device is opened for each request and closed after it, so a program
// holds no handle while it waits: when the last controller goes, the
// driver can unload, and a controller plugged in again is found by the
// next request.
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

    // Whether the driver is there now; from then on until Close the
    // program's requests go to it.
    bool Open() override;
    bool IsOpen() const override { return inUse_; }
    bool Control(uint32_t code, const void* in, uint32_t inSize, void* out, uint32_t outSize,
                 uint32_t* returned) override;
    void Close() override { inUse_ = false; }

private:
    HANDLE OpenHandle() const;

    Sharing sharing_;
    bool inUse_ = false;
};

}  // namespace kv

#endif
