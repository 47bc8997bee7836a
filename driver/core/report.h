// Completion processing of one touch report: coordinate rewrite, contact
// state machine, dwell right button, touch beep and calibration capture.
#pragma once
#include <stdint.h>

#include "driver_state.h"
#include "ports.h"

namespace kv {

// Reports shorter than this pass untouched.
constexpr uint32_t kMinReportLength = 7;

constexpr uint8_t kContactNone = 0;
constexpr uint8_t kContactTouching = 1;
constexpr uint8_t kContactSecondaryButton = 2;
constexpr uint32_t kRbnDelayOff = 12;

// Rewrites the report in place and advances the driver state. Does nothing
// when the buffer is missing or not longer than 6 bytes. Callers serialise
// calls; control requests may change settings words concurrently.
void ProcessReport(DriverState& state, uint8_t* report, uint32_t length, BeepPort& beeper);

}  // namespace kv
