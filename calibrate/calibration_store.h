// Storing a confirmed calibration in the driver's Parameters key.
#ifndef KV_CALIBRATE_CALIBRATION_STORE_H
#define KV_CALIBRATE_CALIBRATION_STORE_H

#include "calibration_math.h"

namespace kvcal {

// Writes XHigh, XLow, YHigh, YLow, XOffset, YOffset and PortaitScreen (the
// last three 0) as REG_DWORD values, in this order. False when the key
// cannot be opened for writing or a value is refused.
bool StoreCalibration(const CalibrationRecord& record);

}  // namespace kvcal

#endif
