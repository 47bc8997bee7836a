// The one seam between the programs and the driver: its control device,
// opened, asked and closed. The programs use the Win32 one
// (win32_control_device.h); their tests put a double of the driver here.
#ifndef KV_COMMON_CONTROL_DEVICE_H
#define KV_COMMON_CONTROL_DEVICE_H

#include <stdint.h>

namespace kv {

class ControlDevice {
public:
    virtual ~ControlDevice() {}
    // Opens the driver's control device; false when the driver is not there.
    virtual bool Open() = 0;
    virtual bool IsOpen() const = 0;
    // One synchronous control request; false when it fails or the device is
    // not open. `returned`, which may be null, gets the number of output
    // bytes (0 on failure).
    virtual bool Control(uint32_t code, const void* in, uint32_t inSize, void* out, uint32_t outSize,
                         uint32_t* returned) = 0;
    virtual void Close() = 0;

    // A request that needs no answer.
    bool Send(uint32_t code, const void* in = nullptr, uint32_t inSize = 0) {
        return Control(code, in, inSize, nullptr, 0, nullptr);
    }
    // A request of one input word; with `answer`, true only when a whole
    // word came back.
    bool SendWord(uint32_t code, uint32_t word, uint32_t* answer = nullptr) {
        uint32_t returned = 0;
        const bool ok = Control(code, &word, sizeof word, answer, answer ? sizeof *answer : 0, &returned);
        return ok && (!answer || returned == sizeof *answer);
    }
};

}  // namespace kv

#endif
