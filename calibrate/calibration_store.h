// Storing a confirmed calibration in the driver's Parameters key.
#ifndef KV_CALIBRATE_CALIBRATION_STORE_H
#define KV_CALIBRATE_CALIBRATION_STORE_H

#include "calibration_math.h"
#include "control_device.h"

namespace kvcal {

// Writes XHigh, XLow, YHigh, YLow, XOffset, YOffset and PortaitScreen (the
// last three 0) as REG_DWORD values, in this order; when the key refuses
// them, asks the driver on `device` to store the same. False when both fail.
bool StoreCalibration(const CalibrationRecord& record, kv::ControlDevice& device);

}  // namespace kvcal

#endif
