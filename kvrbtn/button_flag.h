// The touch driver's one-shot right-button flag, through its control device.
#pragma once
#include <windows.h>

class ButtonFlag {
public:
    ButtonFlag() = default;
    ~ButtonFlag();
    ButtonFlag(const ButtonFlag&) = delete;
    ButtonFlag& operator=(const ButtonFlag&) = delete;

    // Opens \\.\kvusb; false when the driver is not there.
    bool Open();
    bool Arm();
    bool Disarm();
    // Reads the flag and clears it: true when it was armed.
    bool Take();

private:
    bool Send(DWORD code, DWORD input, DWORD* output);

    HANDLE device_ = INVALID_HANDLE_VALUE;
};
