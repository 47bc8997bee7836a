// The touch driver's one-shot right-button flag, through its control device.
#pragma once
#include "win32_control_device.h"

class ButtonFlag {
public:
    // Opens the control device; false when the driver is not there.
    bool Open() { return device_.Open(); }
    bool Arm();
    bool Disarm();
    // Reads the flag and clears it: true when it was armed.
    bool Take();

private:
    kv::Win32ControlDevice device_;
};
