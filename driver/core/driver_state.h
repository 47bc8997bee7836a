// The driver-wide run-time copy of the settings and the touch, dwell and
// capture state. One instance lives in the driver; every device shares it.
#pragma once
#include <stdint.h>

#include "kvshared.h"

namespace kv {

enum TouchState : uint8_t {
    kTouchUp = 0,
    kTouchDown = 1,
    kTouchFirstContact = 2,
};

struct RawPoint {
    int32_t X;
    int32_t Y;
};

// Calibration values in CalibrationBlock order, then the derived spans.
struct CalibrationValues {
    int32_t XLow;
    int32_t YLow;
    int32_t XHigh;
    int32_t YHigh;
    int32_t XMin;
    int32_t YOffset;
    uint32_t XRange;
    uint32_t YProp;
};

// Beep values first (they form BeepSettings), then the touch and dwell state.
struct DriverSettings {
    uint32_t BeepMode;
    uint32_t BeepFreq;
    uint32_t BeepTime;
    uint32_t BeepFreq2;
    uint32_t BeepTime2;
    uint8_t TouchState;
    uint32_t ButtonMode;
    uint32_t MouseMode;
    uint32_t ClientCounter;
    uint32_t PortaitScreen;
    uint32_t DBScreenPos;
    uint32_t DwellPhase;
    RawPoint SampleA;
    RawPoint SampleB;
    uint32_t DwellCounter;
    uint32_t RBNDelay;
};

struct DriverState {
    CalibrationValues Calibration;
    DriverSettings Settings;
    uint32_t Port;
    CaptureRecord Capture;
};

// Everything zero: touch Up, dwell phase 0, capture idle, as at driver load.
inline void ClearDriverState(DriverState& state) { state = DriverState{}; }

}  // namespace kv
