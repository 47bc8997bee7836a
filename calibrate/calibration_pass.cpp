// Pass sequencing on the reader thread; see calibration_pass.h.
#include "calibration_pass.h"

#include "kvshared.h"

namespace kvcal {

bool CapturePoint(kv::ControlDevice& device, PassHost& host, Point* point) {
    device.Send(IOCTL_POINTER_ARM_CAPTURE);
    // A failing poll leaves the last state read in the buffer, so the wait
    // simply goes on.
    CaptureRecord capture = {CAPTURE_ARMED, 0, 0};
    for (;;) {
        device.Control(IOCTL_POINTER_GET_CAPTURE, nullptr, 0, &capture, sizeof capture, nullptr);
        host.Sleep(kPollMilliseconds);
        const bool done = capture.State == CAPTURE_DONE;
        if (done || host.Quitting()) {
            if (done) *point = {capture.X, capture.Y};
            return done;
        }
    }
}

namespace {

bool CapturePointAt(kv::ControlDevice& device, PassHost& host, int32_t targetCode, Point* point) {
    host.ShowTarget(targetCode);
    return CapturePoint(device, host, point);
}

}  // namespace

PassResult RunPass(kv::ControlDevice& device, PassHost& host, CalibrationRecord* record) {
    *record = CalibrationRecord();
    Point raw[kTargetCount] = {};
    for (int i = 0; i < kTargetCount; ++i) {
        // Stop between points once the program quits: arming another
        // capture would only leave the driver waiting for a touch.
        if (host.Quitting() || !CapturePointAt(device, host, kTargetCodes[i], &raw[i])) return PassResult::Quit;
    }
    host.ShowTarget(kNoTarget);
    if (host.Quitting()) return PassResult::Quit;
    *record = ComputeCalibration(raw);
    uint8_t bytes[kRecordBytes];
    EncodeRecord(*record, bytes);
    device.Send(IOCTL_POINTER_SET_CALIBRATION, bytes, sizeof bytes);
    return PassResult::Computed;
}

void RunReader(kv::ControlDevice& device, PassHost& host, CalibrationRecord* record) {
    while (!host.Quitting()) {
        host.WaitForStart();
        if (RunPass(device, host, record) == PassResult::Quit) break;
        host.RequestConfirmation();
        host.Sleep(kConfirmPauseMilliseconds);
    }
}

}  // namespace kvcal
