// The applet's one seam to the driver: open the control device, send it a
// control code, close it. The pages and the container talk to the driver
// only through this, so a test can stand in for the driver.
#ifndef KV_CPL_CONTROL_DEVICE_H
#define KV_CPL_CONTROL_DEVICE_H

#include <windows.h>

class ControlDevice {
public:
    virtual ~ControlDevice() = default;
    // Opens the device; false when the driver is not there.
    virtual bool Open() = 0;
    virtual bool IsOpen() const = 0;
    // One synchronous request. Returns false when it failed; *returned is
    // the number of bytes written to OUTPUT (0 on failure).
    virtual bool Control(DWORD code, const void* input, DWORD inputSize, void* output, DWORD outputSize,
                         DWORD* returned) = 0;
    virtual void Close() = 0;
};

// The real driver's control device, "\\.\kvusb".
class Win32ControlDevice : public ControlDevice {
public:
    ~Win32ControlDevice() override { Close(); }
    bool Open() override;
    bool IsOpen() const override { return handle_ != INVALID_HANDLE_VALUE; }
    bool Control(DWORD code, const void* input, DWORD inputSize, void* output, DWORD outputSize,
                 DWORD* returned) override;
    void Close() override;

private:
    HANDLE handle_ = INVALID_HANDLE_VALUE;
};

// Requests without an answer: the applet ignores their results.
void SendToDevice(ControlDevice* device, DWORD code, const void* input = nullptr, DWORD inputSize = 0);
void SendDeviceMode(ControlDevice* device, DWORD mode);

#endif
