// "kvsim replay": drives the driver core with report and control-code lines
// and prints what the driver would hand up or return.
#pragma once
#include <iosfwd>

#include "registry_export.h"

namespace kvsim {

// Runs every line of `in`, writing results to `out` and errors (with line
// numbers) to `err`. The settings are loaded from `stored` as the driver
// loads its key, at start and at every reload. Returns false when any line
// was malformed.
bool Replay(const StoredValues& stored, std::istream& in, std::ostream& out, std::ostream& err);

}  // namespace kvsim
