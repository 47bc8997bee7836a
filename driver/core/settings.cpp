// Settings read, derivation and validation.
#include "settings.h"

#include "coordinates.h"

namespace kv {

namespace {

bool InRange(uint32_t value, uint32_t low, uint32_t high) {
    return value >= low && value <= high;
}

void StoreCalibration(CalibrationValues& cal, int32_t xLow, int32_t yLow, int32_t xHigh,
                      int32_t yHigh, int32_t xMin, int32_t yOffset) {
    cal.XLow = xLow;
    cal.YLow = yLow;
    cal.XHigh = xHigh;
    cal.YHigh = yHigh;
    cal.XMin = xMin;
    cal.YOffset = yOffset;
    cal.XRange = DeriveSpan(xLow, xHigh);
    cal.YProp = DeriveSpan(yLow, yHigh);
}

int32_t AsSigned(uint32_t value) { return static_cast<int32_t>(value); }

}  // namespace

void FillDefaultValues(uint32_t (&values)[KV_DRIVER_VALUE_COUNT]) {
    for (uint32_t& value : values) value = 0;
    values[KV_VALUE_XHigh] = kDefaultHigh;
    values[KV_VALUE_XRange] = kDefaultHigh;
    values[KV_VALUE_YHigh] = kDefaultHigh;
    values[KV_VALUE_YProp] = kDefaultHigh;
    values[KV_VALUE_BeepMode] = kDefaultBeepMode;
    values[KV_VALUE_RBNDelay] = kDefaultRbnDelay;
}

Status ReadSettings(DriverState& state, SettingsSource& source) {
    uint32_t v[KV_DRIVER_VALUE_COUNT];
    FillDefaultValues(v);
    const Status status = source.Query(v);

    // A stored XRange or YProp is read but never survives: the spans are
    // always derived from the calibration values.
    StoreCalibration(state.Calibration, AsSigned(v[KV_VALUE_XLow]), AsSigned(v[KV_VALUE_YLow]),
                     AsSigned(v[KV_VALUE_XHigh]), AsSigned(v[KV_VALUE_YHigh]),
                     AsSigned(v[KV_VALUE_XMin]), AsSigned(v[KV_VALUE_YOffset]));

    DriverSettings& s = state.Settings;
    state.Port = v[KV_VALUE_Port];
    s.BeepFreq = InRange(v[KV_VALUE_BeepFreq], KV_BEEP_FREQ_MIN, KV_BEEP_FREQ_MAX) ? v[KV_VALUE_BeepFreq] : 0;
    s.BeepTime = InRange(v[KV_VALUE_BeepTime], KV_BEEP_TIME_MIN, KV_BEEP_TIME_MAX) ? v[KV_VALUE_BeepTime] : 0;
    s.BeepFreq2 = v[KV_VALUE_BeepFreq2];
    s.BeepTime2 = v[KV_VALUE_BeepTime2];
    s.ButtonMode = v[KV_VALUE_ButtonMode] == 1 ? 1 : 0;
    s.MouseMode = v[KV_VALUE_MouseMode] > KV_MODE_MAX ? KV_MODE_MAX : v[KV_VALUE_MouseMode];
    s.BeepMode = v[KV_VALUE_BeepMode] > KV_MODE_MAX ? KV_MODE_MAX : v[KV_VALUE_BeepMode];
    s.PortaitScreen = v[KV_VALUE_PortaitScreen];
    s.RBNDelay = v[KV_VALUE_RBNDelay];
    s.DBScreenPos = v[KV_VALUE_DBScreenPos];
    return status;
}

void ApplyCalibrationBlock(DriverState& state, const CalibrationBlock& block) {
    StoreCalibration(state.Calibration, block.XLow, block.YLow, block.XHigh, block.YHigh,
                     block.XMin, block.YOffset);
}

void ApplyBeepSettings(DriverState& state, const BeepSettings& beep) {
    DriverSettings& s = state.Settings;
    s.BeepMode = beep.BeepMode;
    s.BeepFreq = InRange(beep.BeepFreq, KV_BEEP_FREQ_MIN, KV_BEEP_FREQ_MAX) ? beep.BeepFreq : KV_BEEP_FREQ_FALLBACK;
    s.BeepTime = InRange(beep.BeepTime, KV_BEEP_TIME_MIN, KV_BEEP_TIME_MAX) ? beep.BeepTime : KV_BEEP_TIME_FALLBACK;
    s.BeepFreq2 = beep.BeepFreq2;
    s.BeepTime2 = beep.BeepTime2;
}

}  // namespace kv
