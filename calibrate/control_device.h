// The one seam between the calibration program and the driver: a handle to
// the control device, opened, asked and closed. kvcal.exe uses the Win32
// one (win32_control_device.h); tests put a double of the driver here.
#ifndef KV_CALIBRATE_CONTROL_DEVICE_H
#define KV_CALIBRATE_CONTROL_DEVICE_H

#include <stdint.h>

namespace kvcal {

class ControlDevice {
public:
    virtual ~ControlDevice() {}
    // Opens the device at `path`; false when it is missing.
    virtual bool Open(const char* path) = 0;
    // One control request; false when the driver fails it. `returned` gets
    // the number of output bytes and may be null.
    virtual bool Control(uint32_t code, const void* in, uint32_t inSize, void* out, uint32_t outSize,
                         uint32_t* returned) = 0;
    virtual void Close() = 0;
};

}  // namespace kvcal

#endif
