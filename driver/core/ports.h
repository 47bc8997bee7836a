// What the core asks of the WDM frame: the speaker, the registry and the
// controller. The frame implements these with HalMakeBeep and its timer,
// RtlQueryRegistryValues and URBs; tests and tools implement them in memory.
#pragma once
#include <stdint.h>

#include "kvshared.h"
#include "status.h"

namespace kv {

class BeepPort {
public:
    // Starts (or restarts) the tone; frequency 0 is silence.
    virtual void StartBeep(uint32_t frequencyHz, uint32_t durationMs) = 0;

protected:
    ~BeepPort() = default;
};

// A HID class request on interface 0 of the controller.
struct ClassRequest {
    uint8_t Request;       // 9 SET_REPORT, 1 GET_REPORT
    bool DeviceToHost;
    uint16_t Value;
    uint16_t Index;
    uint8_t* Data;         // null when Length is 0
    uint32_t Length;
};

class ControlPorts : public BeepPort {
public:
    // Reads the Parameters key into the driver state; returns the read's status.
    virtual Status ReloadSettings() = 0;
    // Sends the request and waits for it; *transferred gets the data stage length.
    virtual Status SendClassRequest(const ClassRequest& request, uint32_t* transferred) = 0;
    // Writes the record's present values into the Parameters key; the
    // write's status. The running settings stay as they are.
    virtual Status StoreSettings(const StoredSettings& record) = 0;

protected:
    ~ControlPorts() = default;
};

}  // namespace kv
