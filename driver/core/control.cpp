// Control-code dispatch. Each handler checks the lengths it needs first and
// changes nothing when a buffer is too short.
#include "control.h"

#include "bytes.h"
#include "settings.h"

namespace kv {

namespace {

constexpr uint8_t kHidSetReport = 9;
constexpr uint8_t kHidGetReport = 1;
constexpr uint16_t kInputReportId1 = 0x0101;
constexpr uint32_t kEchoLength = 12;
// No report the controller takes is longer than the largest record the
// control device carries; a longer SET_REPORT is refused, not sent.
constexpr uint32_t kMaxSetReportLength = sizeof(CalibrationBlock);

ControlResult Done(Status status, uint32_t information = 0) { return {status, information}; }
ControlResult TooSmall() { return Done(kStatusBufferTooSmall); }

ControlResult ReturnWord(const ControlRequest& r, uint32_t value) {
    if (r.OutputLength < 4) return TooSmall();
    StoreLe32(r.Buffer, value);
    return Done(kStatusSuccess, 4);
}

bool HasInputWord(const ControlRequest& r) { return r.InputLength >= 4; }

ControlResult TakeButtonMode(DriverState& state, const ControlRequest& r) {
    const ControlResult result = ReturnWord(r, state.Settings.ButtonMode);
    if (IsSuccess(result.status)) state.Settings.ButtonMode = 0;
    return result;
}

ControlResult ArmButtonMode(DriverState& state, const ControlRequest& r) {
    if (!HasInputWord(r)) return TooSmall();
    const bool arm = LoadLe32(r.Buffer) == 1 && state.Settings.ButtonMode == 0;
    state.Settings.ButtonMode = arm ? 1 : 0;
    return Done(kStatusSuccess);
}

ControlResult GetCapture(const DriverState& state, const ControlRequest& r) {
    if (r.OutputLength < sizeof(CaptureRecord)) return TooSmall();
    StoreLe32(r.Buffer, state.Capture.State);
    StoreLe32(r.Buffer + 4, static_cast<uint32_t>(state.Capture.X));
    StoreLe32(r.Buffer + 8, static_cast<uint32_t>(state.Capture.Y));
    return Done(kStatusSuccess, sizeof(CaptureRecord));
}

ControlResult Echo(const ControlRequest& r) {
    if (r.InputLength < kEchoLength || r.OutputLength < kEchoLength) return TooSmall();
    // Input and output share the system buffer: the bytes are already there.
    return Done(kStatusSuccess, kEchoLength);
}

ControlResult SetCalibration(DriverState& state, const ControlRequest& r) {
    if (r.InputLength < sizeof(CalibrationBlock)) return TooSmall();
    CalibrationBlock block;
    block.XLow = static_cast<int32_t>(LoadLe32(r.Buffer));
    block.YLow = static_cast<int32_t>(LoadLe32(r.Buffer + 4));
    block.XHigh = static_cast<int32_t>(LoadLe32(r.Buffer + 8));
    block.YHigh = static_cast<int32_t>(LoadLe32(r.Buffer + 12));
    block.XMin = static_cast<int32_t>(LoadLe32(r.Buffer + 16));
    block.YOffset = static_cast<int32_t>(LoadLe32(r.Buffer + 20));
    ApplyCalibrationBlock(state, block);
    return Done(kStatusSuccess);
}

ControlResult SetBeep(DriverState& state, const ControlRequest& r) {
    if (r.InputLength < sizeof(BeepSettings)) return TooSmall();
    BeepSettings beep;
    beep.BeepMode = LoadLe32(r.Buffer);
    beep.BeepFreq = LoadLe32(r.Buffer + 4);
    beep.BeepTime = LoadLe32(r.Buffer + 8);
    beep.BeepFreq2 = LoadLe32(r.Buffer + 12);
    beep.BeepTime2 = LoadLe32(r.Buffer + 16);
    ApplyBeepSettings(state, beep);
    return Done(kStatusSuccess);
}

ControlResult GetBeep(const DriverState& state, const ControlRequest& r) {
    if (r.OutputLength < sizeof(BeepSettings)) return TooSmall();
    const DriverSettings& s = state.Settings;
    StoreLe32(r.Buffer, s.BeepMode);
    StoreLe32(r.Buffer + 4, s.BeepFreq);
    StoreLe32(r.Buffer + 8, s.BeepTime);
    StoreLe32(r.Buffer + 12, s.BeepFreq2);
    StoreLe32(r.Buffer + 16, s.BeepTime2);
    // Exactly the record, however long the caller's buffer.
    return Done(kStatusSuccess, sizeof(BeepSettings));
}

ControlResult TooLong() { return Done(kStatusInvalidParameter); }

// The data stage carries the caller's input bytes; any output space past
// them is zeroed rather than sent as whatever the buffer held.
ControlResult SetReport(ControlPorts& ports, const ControlRequest& r) {
    if (r.OutputLength > kMaxSetReportLength) return TooLong();
    for (uint32_t i = r.InputLength; i < r.OutputLength; ++i) r.Buffer[i] = 0;
    uint8_t valueBytes[2] = {0, 0};
    for (uint32_t i = 0; i < 2 && i < r.InputLength; ++i) valueBytes[i] = r.Buffer[i];
    ClassRequest request = {kHidSetReport, false, LoadLe16(valueBytes), 0,
                            r.OutputLength ? r.Buffer : nullptr, r.OutputLength};
    uint32_t transferred = 0;
    return Done(ports.SendClassRequest(request, &transferred));
}

ControlResult GetReport(ControlPorts& ports, const ControlRequest& r) {
    ClassRequest request = {kHidGetReport, true, kInputReportId1, 0,
                            r.OutputLength ? r.Buffer : nullptr, r.OutputLength};
    uint32_t transferred = 0;
    const Status status = ports.SendClassRequest(request, &transferred);
    if (transferred > r.OutputLength) transferred = r.OutputLength;
    return Done(status, IsSuccess(status) ? transferred : 0);
}

ControlResult SetDeviceMode(DriverState& state, ControlPorts& ports, const ControlRequest& r) {
    if (!HasInputWord(r)) return TooSmall();
    if (r.OutputLength > kMaxSetReportLength) return TooLong();
    state.Settings.MouseMode = LoadLe32(r.Buffer);
    return SetReport(ports, r);
}

ControlResult SetScreenPos(DriverState& state, const ControlRequest& r) {
    if (!HasInputWord(r)) return TooSmall();
    state.Settings.DBScreenPos = LoadLe32(r.Buffer);
    return Done(kStatusSuccess);
}

// Only the whole record, naming none but the values it knows: anything else
// is refused before the registry is touched.
ControlResult StoreSettings(ControlPorts& ports, const ControlRequest& r) {
    if (r.InputLength != sizeof(StoredSettings)) return Done(kStatusInvalidParameter);
    StoredSettings record;
    record.Present = LoadLe32(r.Buffer);
    if (record.Present & ~KV_STORED_PRESENT_ALL) return Done(kStatusInvalidParameter);
    for (uint32_t i = 0; i < KV_STORED_VALUE_COUNT; ++i) record.Value[i] = LoadLe32(r.Buffer + 4 + sizeof(uint32_t) * i);
    return Done(ports.StoreSettings(record));
}

ControlResult CountDown(DriverState& state) {
    if (state.Settings.ClientCounter != 0) state.Settings.ClientCounter -= 1;
    return Done(kStatusSuccess);
}

}  // namespace

uint32_t OutputRecordSize(uint32_t code) {
    switch (code) {
        case IOCTL_POINTER_TAKE_BUTTON_MODE:
        case IOCTL_POINTER_GET_MOUSE_MODE:
        case IOCTL_POINTER_GET_SCREEN_POS: return 4;
        case IOCTL_POINTER_GET_CAPTURE: return sizeof(CaptureRecord);
        case IOCTL_POINTER_ECHO: return kEchoLength;
        case IOCTL_POINTER_GET_BEEP: return sizeof(BeepSettings);
        default: return 0;
    }
}

bool IsClassRequestCode(uint32_t code) {
    return code == IOCTL_POINTER_SET_REPORT || code == IOCTL_POINTER_GET_REPORT ||
           code == IOCTL_POINTER_SET_DEVICE_MODE;
}

bool IsBlockingCode(uint32_t code) {
    return IsClassRequestCode(code) || code == IOCTL_POINTER_RELOAD_SETTINGS ||
           code == IOCTL_POINTER_RELOAD_SETTINGS_QUIET || code == IOCTL_POINTER_STORE_SETTINGS;
}

ControlResult DispatchControl(DriverState& state, ControlPorts& ports, const ControlRequest& r) {
    DriverSettings& s = state.Settings;
    switch (r.Code) {
        case IOCTL_POINTER_TAKE_BUTTON_MODE: return TakeButtonMode(state, r);
        case IOCTL_POINTER_ARM_BUTTON_MODE: return ArmButtonMode(state, r);
        case IOCTL_POINTER_GET_CAPTURE: return GetCapture(state, r);
        case IOCTL_POINTER_ARM_CAPTURE:
            state.Capture.State = CAPTURE_ARMED;
            return Done(kStatusSuccess);
        case IOCTL_POINTER_ECHO: return Echo(r);
        case IOCTL_POINTER_GET_MOUSE_MODE: return ReturnWord(r, s.MouseMode);
        case IOCTL_POINTER_SET_CALIBRATION: return SetCalibration(state, r);
        case IOCTL_POINTER_COUNTER_UP:
            s.ClientCounter = s.ClientCounter + 1;
            return Done(kStatusSuccess);
        case IOCTL_POINTER_COUNTER_DOWN: return CountDown(state);
        case IOCTL_POINTER_RELOAD_SETTINGS: return Done(ports.ReloadSettings());
        case IOCTL_POINTER_RELOAD_SETTINGS_QUIET:
            ports.ReloadSettings();
            return Done(kStatusSuccess);
        case IOCTL_POINTER_SET_BEEP: return SetBeep(state, r);
        case IOCTL_POINTER_GET_BEEP: return GetBeep(state, r);
        case IOCTL_POINTER_BEEP:
            ports.StartBeep(s.BeepFreq, s.BeepTime);
            return Done(kStatusSuccess);
        case IOCTL_POINTER_SET_DEVICE_MODE: return SetDeviceMode(state, ports, r);
        case IOCTL_POINTER_SET_REPORT: return SetReport(ports, r);
        case IOCTL_POINTER_GET_REPORT: return GetReport(ports, r);
        case IOCTL_POINTER_SET_SCREEN_POS: return SetScreenPos(state, r);
        case IOCTL_POINTER_GET_SCREEN_POS: return ReturnWord(r, s.DBScreenPos);
        case IOCTL_POINTER_STORE_SETTINGS: return StoreSettings(ports, r);
        default: return Done(kStatusInvalidDeviceRequest);
    }
}

}  // namespace kv
