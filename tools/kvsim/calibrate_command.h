// "kvsim calibrate": the calibration program's arithmetic on four raw
// points typed in, for integrators checking a touch screen by hand.
#pragma once
#include <iosfwd>
#include <string>
#include <vector>

namespace kvsim {

extern const char kCalibrateUsage[];

// Runs the command on its arguments (after "calibrate"); prints the area,
// targets, edges, final values and the diagonals' disagreement to `out`.
// Returns 0, or 2 with a message on `err` for bad arguments.
int RunCalibrate(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace kvsim
