// Driver settings: defaults, derived spans and validation of the values the
// driver reads from its Parameters key or receives by control code. The
// spans come from the coordinate mapping, which needs them for every report.
#pragma once
#include <stdint.h>

#include "driver_state.h"
#include "status.h"

namespace kv {

// Supplies the stored values. Query receives the defaults indexed by
// KvDriverValueId and overwrites each value that is stored as a 32-bit
// number; anything else keeps its default. It returns the query's status.
class SettingsSource {
public:
    virtual Status Query(uint32_t (&values)[KV_DRIVER_VALUE_COUNT]) = 0;

protected:
    ~SettingsSource() = default;
};

constexpr uint32_t kDefaultHigh = 2048;
constexpr uint32_t kDefaultBeepMode = BEEPMODE_TOUCH_UP;
constexpr uint32_t kDefaultRbnDelay = 61;

// The value every setting has when the key lacks it.
void FillDefaultValues(uint32_t (&values)[KV_DRIVER_VALUE_COUNT]);

// Presets the defaults, queries the source, derives and validates, and
// stores the result. Touch, dwell and capture state are left alone.
Status ReadSettings(DriverState& state, SettingsSource& source);

// IOCTL_POINTER_SET_CALIBRATION: the six values, then the spans.
void ApplyCalibrationBlock(DriverState& state, const CalibrationBlock& block);

// IOCTL_POINTER_SET_BEEP: the five values; out-of-range tone 2000, time 32.
void ApplyBeepSettings(DriverState& state, const BeepSettings& beep);

}  // namespace kv
