// Control-code semantics of the control device, on a METHOD_BUFFERED
// request: one system buffer holds the input and receives the output.
#pragma once
#include <stdint.h>

#include "driver_state.h"
#include "ports.h"

namespace kv {

struct ControlRequest {
    uint32_t Code;
    uint8_t* Buffer;         // max(InputLength, OutputLength) bytes; null when both are 0
    uint32_t InputLength;
    uint32_t OutputLength;
};

struct ControlResult {
    Status status;
    uint32_t bytesReturned;  // bytes of Buffer returned to the caller
};

// The size of the fixed record a code returns; 0 for codes that return
// nothing or, like GET_REPORT, as much as the controller sends.
uint32_t OutputRecordSize(uint32_t code);

// Codes that talk to the controller (USB class requests).
bool IsClassRequestCode(uint32_t code);
// Codes whose handling waits (registry read or write, USB request): the
// frame runs them at passive level without its state lock; they change no
// state but through ReloadSettings and the whole word of MouseMode.
bool IsBlockingCode(uint32_t code);

// Performs the request's effect on the driver state and says how to
// complete it. Never reads past InputLength nor writes past OutputLength,
// and never returns bytes it did not write.
ControlResult DispatchControl(DriverState& state, ControlPorts& ports, const ControlRequest& request);

}  // namespace kv
