// Raw controller coordinates to the calibrated 0..8191 screen scale, with
// axis exchange for a rotated sensor and half-range two-screen placement.
#pragma once
#include <stdint.h>

#include "driver_state.h"

namespace kv {

constexpr uint32_t kMaxOutput = 0x1FFF;
constexpr uint32_t kDegenerateSpan = 0x1FFF;

struct ScreenPoint {
    uint32_t X;
    uint32_t Y;
};

enum class Half : uint8_t { Full, Lower, Upper };

// Half of the output range the placement code gives each screen axis.
Half PlacementForScreenX(uint32_t dbScreenPos);
Half PlacementForScreenY(uint32_t dbScreenPos);

// |High - Low| without signed overflow, or the degenerate span when equal:
// never 0, so the mapping's divisions cannot fail.
uint32_t DeriveSpan(int32_t low, int32_t high);

// One raw axis value mapped onto its output axis; always within 0..8191.
uint32_t MapAxis(int32_t v, int32_t low, int32_t high, Half half);

// Calibrated screen point for a raw point under the given calibration.
ScreenPoint MapRawPoint(const CalibrationValues& cal, uint32_t dbScreenPos, RawPoint raw);

}  // namespace kv
