// One calibration pass and the reader thread's loop around it, written
// against the control device and the program's own window side, so the
// same sequence runs against the driver and in the host tests.
#ifndef KV_CALIBRATE_CALIBRATION_PASS_H
#define KV_CALIBRATE_CALIBRATION_PASS_H

#include "calibration_math.h"
#include "control_device.h"

namespace kvcal {

// Interval between capture polls, and the pause after a confirmation
// request before the next pass may start.
constexpr uint32_t kPollMilliseconds = 50;
constexpr uint32_t kConfirmPauseMilliseconds = 100;

// What the reader thread needs from the window side. The window thread
// owns the quit flag and the start event; target requests and the
// confirmation request are posted, never handled on the reader thread.
class PassHost {
public:
    virtual ~PassHost() {}
    virtual bool Quitting() = 0;
    virtual void Sleep(uint32_t milliseconds) = 0;
    virtual void WaitForStart() = 0;
    virtual void ShowTarget(int32_t code) = 0;   // kNoTarget hides it
    virtual void RequestConfirmation() = 0;
};

enum class PassResult { Computed, Quit };

// Arms the capture and polls until the touch has ended. False when the
// program quits before a point arrived.
bool CapturePoint(kv::ControlDevice& device, PassHost& host, Point* point);

// Shows the four targets, captures a point at each and, unless the program
// quits on the way, computes the record and sends it to the driver as the
// trial calibration.
PassResult RunPass(kv::ControlDevice& device, PassHost& host, CalibrationRecord* record);

// The reader thread: a pass each time the window asks for one, a
// confirmation request after each computed pass, until the program quits.
void RunReader(kv::ControlDevice& device, PassHost& host, CalibrationRecord* record);

}  // namespace kvcal

#endif
