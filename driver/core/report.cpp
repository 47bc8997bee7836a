// The report path: runs at dispatch level for every report; integer only,
// no allocation, at most two divisions.
#include "report.h"

#include "bytes.h"
#include "coordinates.h"

namespace kv {

namespace {

void BeepIfMode(DriverSettings& s, uint32_t mode, BeepPort& beeper) {
    if (s.BeepMode == mode) beeper.StartBeep(s.BeepFreq, s.BeepTime);
}

// Counts consecutive report pairs with an unmoved raw point; the pair that
// reaches RBNDelay turns its second report into a secondary-button report.
void DwellStep(DriverSettings& s, RawPoint raw, uint8_t* report) {
    if (s.DwellPhase == 0) {
        s.SampleA = raw;
        s.DwellPhase = 1;
        return;
    }
    s.SampleB = raw;
    s.DwellPhase = 0;
    if (raw.X != s.SampleA.X || raw.Y != s.SampleA.Y) {
        s.DwellCounter = 0;
        return;
    }
    s.DwellCounter = s.DwellCounter + 1;
    const uint32_t delay = s.RBNDelay;
    if (delay == kRbnDelayOff) {
        s.DwellCounter = 0;
    } else if (s.DwellCounter == delay) {
        report[0] = kContactSecondaryButton;
        s.DwellCounter = 0;
    }
}

// The touch ends: beep for touch-up mode and remember where it ended.
void EndTouch(DriverState& state, RawPoint raw, BeepPort& beeper) {
    BeepIfMode(state.Settings, BEEPMODE_TOUCH_UP, beeper);
    state.Capture.X = raw.X;
    state.Capture.Y = raw.Y;
    state.Settings.TouchState = kTouchUp;
}

void FinishCapture(DriverState& state) {
    if (state.Capture.State == CAPTURE_TOUCHING) state.Capture.State = CAPTURE_DONE;
}

void OnContact(DriverState& state, RawPoint raw, uint8_t* report, BeepPort& beeper) {
    DriverSettings& s = state.Settings;
    if (s.TouchState == kTouchUp) {
        BeepIfMode(s, BEEPMODE_TOUCH_DOWN, beeper);
        s.TouchState = kTouchFirstContact;
    } else {
        s.TouchState = kTouchDown;
    }
    DwellStep(s, raw, report);
    if (s.TouchState == kTouchFirstContact && state.Capture.State == CAPTURE_ARMED) {
        state.Capture.State = CAPTURE_TOUCHING;
    }
}

void OnNoContact(DriverState& state, RawPoint raw, uint8_t* report, BeepPort& beeper) {
    if (state.Settings.TouchState == kTouchUp) {
        DwellStep(state.Settings, raw, report);
    } else {
        // A touch of a single contact report ends like any other touch, so
        // the capture point is always the point that completed the capture.
        EndTouch(state, raw, beeper);
    }
    FinishCapture(state);
}

void OnOtherContactState(DriverState& state, RawPoint raw, BeepPort& beeper) {
    if (state.Settings.TouchState != kTouchUp) BeepIfMode(state.Settings, BEEPMODE_TOUCH_UP, beeper);
    state.Capture.X = raw.X;
    state.Capture.Y = raw.Y;
    state.Settings.TouchState = kTouchUp;
    FinishCapture(state);
}

}  // namespace

void ProcessReport(DriverState& state, uint8_t* report, uint32_t length, BeepPort& beeper) {
    if (report == nullptr || length < kMinReportLength) return;

    const uint8_t contact = report[0];
    const RawPoint raw = {LoadLe16(report + 1), LoadLe16(report + 3)};

    const ScreenPoint screen = MapRawPoint(state.Calibration, state.Settings.DBScreenPos, raw);
    StoreLe16(report + 1, static_cast<uint16_t>(screen.X));
    StoreLe16(report + 3, static_cast<uint16_t>(screen.Y));

    if (contact == kContactTouching) {
        OnContact(state, raw, report, beeper);
    } else if (contact == kContactNone) {
        OnNoContact(state, raw, report, beeper);
    } else {
        OnOtherContactState(state, raw, beeper);
    }
}

}  // namespace kv
