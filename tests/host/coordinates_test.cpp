// Coordinate mapping: spans, clamping, orientation, axis exchange, placement
// halves and exact results for spans the 32-bit formula cannot hold.
#include <gtest/gtest.h>

#include "coordinates.h"

namespace {

kv::CalibrationValues Cal(int32_t xLow, int32_t xHigh, int32_t yLow, int32_t yHigh) {
    return {xLow, yLow, xHigh, yHigh, 0, 0, kv::DeriveSpan(xLow, xHigh), kv::DeriveSpan(yLow, yHigh)};
}

struct SpanCase {
    const char* what;
    int32_t low, high;
    uint32_t span;
};

TEST(DeriveSpan, Table) {
    const SpanCase cases[] = {
        {"normal order", 100, 1900, 1800},
        {"inverted order keeps the distance", 1900, 100, 1800},
        {"equal gives the degenerate span", 500, 500, 8191},
        {"widest signed distance without overflow", INT32_MIN, INT32_MAX, 0xFFFFFFFFu},
        {"negative low", -485, 1495, 1980},
    };
    for (const SpanCase& c : cases) EXPECT_EQ(kv::DeriveSpan(c.low, c.high), c.span) << c.what;
}

struct MapCase {
    const char* what;
    kv::CalibrationValues cal;
    uint32_t pos;
    kv::RawPoint raw;
    uint32_t x, y;
};

TEST(MapRawPoint, Table) {
    const kv::CalibrationValues defaults = Cal(0, 2048, 0, 2048);
    const kv::CalibrationValues example = Cal(100, 1900, 100, 1900);
    const MapCase cases[] = {
        {"defaults, inside", defaults, 0, {1024, 512}, 4096, 2048},
        {"defaults, beyond high", defaults, 0, {3000, 3000}, 8191, 8191},
        {"defaults, origin", defaults, 0, {0, 0}, 0, 0},
        {"worked example", example, 0, {1000, 550}, 4096, 2048},
        {"worked example, right half", example, 2, {1000, 550}, 6144, 2048},
        {"raw at low gives 0", example, 0, {100, 100}, 0, 0},
        {"raw at high gives 8191", example, 0, {1900, 1900}, 8191, 8191},
        {"inverted X exchanges axes", Cal(1900, 100, 100, 1900), 0, {1000, 550}, 2048, 4096},
        {"both inverted: no exchange", Cal(1900, 100, 1900, 100), 0, {1000, 1000}, 4096, 4096},
        {"both inverted beyond high", Cal(1900, 100, 1900, 100), 0, {50, 50}, 8191, 8191},
        {"both inverted at low", Cal(1900, 100, 1900, 100), 0, {1900, 2000}, 0, 0},
        {"only Y inverted: raw Y drives screen X", Cal(100, 1900, 1900, 100), 0, {1000, 1450}, 2048, 4096},
        {"left half", example, 1, {1000, 550}, 2048, 2048},
        {"left half just below high", example, 1, {1899, 1000}, 4093, 4096},
        {"left half at high clamps to full", example, 1, {1900, 1000}, 8191, 4096},
        {"primary is the left half", example, 6, {1000, 550}, 2048, 2048},
        {"slave is the right half", example, 5, {1000, 550}, 6144, 2048},
        {"top halves only Y", example, 3, {1000, 550}, 4096, 1024},
        {"bottom halves only Y", example, 4, {1000, 550}, 4096, 5120},
        {"unknown placement is full range", example, 9, {1000, 550}, 4096, 2048},
        {"degenerate axis", Cal(500, 500, 100, 1900), 0, {499, 1000}, 0, 4096},
    };
    for (const MapCase& c : cases) {
        const kv::ScreenPoint p = kv::MapRawPoint(c.cal, c.pos, c.raw);
        EXPECT_EQ(p.X, c.x) << c.what;
        EXPECT_EQ(p.Y, c.y) << c.what;
    }
}

struct WideCase {
    const char* what;
    int32_t v, low, high;
    kv::Half half;
    uint32_t expected;
};

TEST(MapAxis, WideSpansAreExact) {
    const WideCase cases[] = {
        {"span 2^19, middle", 1 << 18, 0, 1 << 19, kv::Half::Full, 4096},
        {"span 2^19, upper half", 1 << 18, 0, 1 << 19, kv::Half::Upper, 6144},
        {"span 2^31 where 2 * S wraps to 0", -(1 << 30), 0, INT32_MIN, kv::Half::Lower, 2048},
        {"span 2^31 inverted, upper half", (1 << 30) - 1, INT32_MAX, -1, kv::Half::Upper, 6144},
        {"widest span, middle", 0, INT32_MIN, INT32_MAX, kv::Half::Full, 4096},
        {"widest span, just below high", INT32_MAX - 1, INT32_MIN, INT32_MAX, kv::Half::Upper, 8191},
        {"narrow limit edge", (1 << 18) - 2, 0, (1 << 18) - 1, kv::Half::Upper, 8191},
    };
    for (const WideCase& c : cases) EXPECT_EQ(kv::MapAxis(c.v, c.low, c.high, c.half), c.expected) << c.what;
}

TEST(MapAxis, OutputAlwaysInRange) {
    // Sweep a grid of calibrations and raw values, including the extremes.
    const int32_t samples[] = {INT32_MIN, -70000, -1, 0, 1, 2, 100, 2047, 2048, 65535, 1 << 19, INT32_MAX - 1, INT32_MAX};
    for (int32_t low : samples)
        for (int32_t high : samples)
            for (int32_t v : samples)
                for (kv::Half half : {kv::Half::Full, kv::Half::Lower, kv::Half::Upper})
                    ASSERT_LE(kv::MapAxis(v, low, high, half), kv::kMaxOutput) << low << " " << high << " " << v;
}

}  // namespace
