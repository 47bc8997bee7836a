// Coordinate mapping of the report path: integer only, no allocation.
#include "coordinates.h"

namespace kv {

namespace {

// Spans below this keep every product of the 32-bit formula in range
// ((S + n) * 8192 < 2^32 and 2 * S < 2^32), so it is used as it stands.
constexpr uint32_t kNarrowSpanLimit = 1u << 18;

uint32_t Scale(uint32_t n, uint32_t span, Half half) {
    if (span < kNarrowSpanLimit) {
        switch (half) {
            case Half::Lower: return (n << 13) / (2 * span);
            case Half::Upper: return ((span + n) << 13) / (2 * span);
            case Half::Full: break;
        }
        return (n << 13) / span;
    }
    // Wide spans come only from odd registry values; compute exactly.
    const uint64_t n64 = n;
    const uint64_t s64 = span;
    switch (half) {
        case Half::Lower: return static_cast<uint32_t>((n64 << 13) / (2 * s64));
        case Half::Upper: return static_cast<uint32_t>(((s64 + n64) << 13) / (2 * s64));
        case Half::Full: break;
    }
    return static_cast<uint32_t>((n64 << 13) / s64);
}

}  // namespace

Half PlacementForScreenX(uint32_t dbScreenPos) {
    switch (dbScreenPos) {
        case DBSCREENPOS_LEFT:
        case DBSCREENPOS_PRIMARY: return Half::Lower;
        case DBSCREENPOS_RIGHT:
        case DBSCREENPOS_SLAVE: return Half::Upper;
        default: return Half::Full;
    }
}

Half PlacementForScreenY(uint32_t dbScreenPos) {
    switch (dbScreenPos) {
        case DBSCREENPOS_TOP: return Half::Lower;
        case DBSCREENPOS_BOTTOM: return Half::Upper;
        default: return Half::Full;
    }
}

uint32_t DeriveSpan(int32_t low, int32_t high) {
    // Unsigned subtraction gives the exact distance of two signed words.
    if (high > low) return static_cast<uint32_t>(high) - static_cast<uint32_t>(low);
    if (high < low) return static_cast<uint32_t>(low) - static_cast<uint32_t>(high);
    return kDegenerateSpan;
}

uint32_t MapAxis(int32_t v, int32_t low, int32_t high, Half half) {
    // The span is derived from the same low and high that bound n, so n < S
    // holds even when a settings reload races with this report.
    const uint32_t span = DeriveSpan(low, high);
    uint32_t n;
    if (high >= low) {
        if (v >= high) return kMaxOutput;
        if (v <= low) return 0;
        n = static_cast<uint32_t>(v) - static_cast<uint32_t>(low);
    } else {
        if (v <= high) return kMaxOutput;
        if (v >= low) return 0;
        n = static_cast<uint32_t>(low) - static_cast<uint32_t>(v);
    }
    return Scale(n, span, half);
}

ScreenPoint MapRawPoint(const CalibrationValues& cal, uint32_t dbScreenPos, RawPoint raw) {
    // Read each calibration word once: a concurrent reload may replace them.
    const int32_t xLow = cal.XLow, xHigh = cal.XHigh, yLow = cal.YLow, yHigh = cal.YHigh;
    const bool xInverted = xHigh < xLow;
    const bool yInverted = yHigh < yLow;
    const Half halfX = PlacementForScreenX(dbScreenPos);
    const Half halfY = PlacementForScreenY(dbScreenPos);
    if (xInverted == yInverted) {
        return {MapAxis(raw.X, xLow, xHigh, halfX), MapAxis(raw.Y, yLow, yHigh, halfY)};
    }
    // Exactly one axis inverted: a sensor turned by 90 or 270 degrees.
    return {MapAxis(raw.Y, yLow, yHigh, halfX), MapAxis(raw.X, xLow, xHigh, halfY)};
}

}  // namespace kv
