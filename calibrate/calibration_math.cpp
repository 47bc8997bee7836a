// Calibration arithmetic; see calibration_math.h. Sums and differences are
// taken in 64 bits so no input can overflow; results that fit 32 bits (all
// of them for raw 16-bit input) are the exact truncating divisions.
#include "calibration_math.h"

namespace kvcal {
namespace {

int32_t Saturate(int64_t v) {
    if (v > INT32_MAX) return INT32_MAX;
    if (v < INT32_MIN) return INT32_MIN;
    return static_cast<int32_t>(v);
}

// Halving a sum of two 32-bit values always fits 32 bits again.
int32_t HalfOfSum(int32_t a, int32_t b) { return static_cast<int32_t>((static_cast<int64_t>(a) + b) / 2); }

int Sign(int64_t v) { return (v > 0) - (v < 0); }

int64_t Distance(int32_t a, int32_t b) {
    const int64_t d = static_cast<int64_t>(a) - b;
    return d < 0 ? -d : d;
}

int64_t Larger(int64_t a, int64_t b) { return a > b ? a : b; }

// One raw axis as both diagonals saw it: each diagonal's edges at the low
// and at the high screen side, and which way raw values ran from low to
// high (+1, -1, or 0 when the diagonal's two touches gave the same value).
struct AxisEdges {
    int32_t low1, high1, low2, high2;
    int dir1, dir2;
};

int Direction(int32_t lowSide, int32_t highSide, bool sameTouchValue) {
    return sameTouchValue ? 0 : Sign(static_cast<int64_t>(highSide) - lowSide);
}

// Final low and high of one axis from both diagonals' edges.
void CombineAxis(const AxisEdges& e, int32_t* low, int32_t* high) {
    if (e.dir1 == 0 || e.dir2 == 0) {
        *low = 0;
        *high = kFullScale;
    } else if (e.dir1 == e.dir2) {
        *low = HalfOfSum(e.low1, e.low2);
        *high = HalfOfSum(e.high1, e.high2);
    } else {
        // The raw axis runs along the other screen axis: the second
        // diagonal's edges pair the other way round.
        *low = HalfOfSum(e.low1, e.high2);
        *high = HalfOfSum(e.high1, e.low2);
    }
}

AxisSpread SpreadOfAxis(const AxisEdges& e, int32_t low, int32_t high, int32_t alongExtent, int32_t acrossExtent) {
    AxisSpread spread = {false, 0, -1};
    if (e.dir1 == 0 || e.dir2 == 0) {
        spread.degenerate = true;
        return spread;
    }
    const bool same = e.dir1 == e.dir2;
    spread.raw = same ? Larger(Distance(e.low1, e.low2), Distance(e.high1, e.high2))
                      : Larger(Distance(e.low1, e.high2), Distance(e.high1, e.low2));
    const int64_t span = Distance(low, high);
    const int64_t extent = same ? alongExtent : acrossExtent;
    if (span > 0 && extent > 0) {
        const double tenths = static_cast<double>(spread.raw) * static_cast<double>(extent) * 10.0 /
                              static_cast<double>(span);
        // NOLINTNEXTLINE(bugprone-incorrect-roundings): tenths is never negative
        spread.tenthsOfPixel = static_cast<int64_t>(tenths + 0.5);
    }
    return spread;
}

// The record's edges of both axes plus the directions they came from.
void FillEdges(const Point (&raw)[kTargetCount], CalibrationRecord* r, AxisEdges* x, AxisEdges* y) {
    const Point& p1 = raw[0];  // top left
    const Point& p2 = raw[1];  // bottom right
    const Point& p3 = raw[2];  // bottom left
    const Point& p4 = raw[3];  // top right
    const EdgePair x1 = ExtrapolateEdges(p1.x, p2.x), y1 = ExtrapolateEdges(p1.y, p2.y);
    const EdgePair x2 = ExtrapolateEdges(p3.x, p4.x), y2 = ExtrapolateEdges(p3.y, p4.y);
    r->L1 = x1.atA;
    r->R1 = x1.atB;
    r->T1 = y1.atA;
    r->B1 = y1.atB;
    r->L2 = x2.atA;
    r->R2 = x2.atB;
    r->B2 = y2.atA;
    r->T2 = y2.atB;
    *x = {r->L1, r->R1, r->L2, r->R2, Direction(r->L1, r->R1, p1.x == p2.x), Direction(r->L2, r->R2, p3.x == p4.x)};
    *y = {r->T1, r->B1, r->T2, r->B2, Direction(r->T1, r->B1, p1.y == p2.y), Direction(r->T2, r->B2, p3.y == p4.y)};
}

void PutWord(uint8_t* out, int32_t value) {
    const uint32_t bits = static_cast<uint32_t>(value);
    for (int i = 0; i < 4; ++i) out[i] = static_cast<uint8_t>(bits >> (8 * i));
}

}  // namespace

Area AreaForScreenPos(uint32_t screenPos, int32_t cx, int32_t cy) {
    switch (screenPos) {
        case 1: return {0, 0, cx / 2, cy};
        case 2: return {cx / 2, 0, cx, cy};
        case 3: return {0, 0, cx, cy / 2};
        case 4: return {0, cy / 2, cx, cy};
        case 5: return {cx, 0, Saturate(static_cast<int64_t>(cx) * 2), cy};
        default: return {0, 0, cx, cy};
    }
}

Targets TargetsForArea(int32_t w, int32_t h) {
    const int32_t q1x = w / 4, q1y = h / 4;
    const int32_t q3x = static_cast<int32_t>(static_cast<int64_t>(w) * 3 / 4);
    const int32_t q3y = static_cast<int32_t>(static_cast<int64_t>(h) * 3 / 4);
    return {{{q1x, q1y}, {q3x, q3y}, {q1x, q3y}, {q3x, q1y}}};
}

EdgePair ExtrapolateEdges(int32_t a, int32_t b) {
    if (a == b) return {0, kFullScale};
    // Half the distance, signed: it truncates toward zero whichever way the
    // raw axis runs, so a > b gives a + d and b - d as well.
    const int64_t half = (static_cast<int64_t>(b) - a) / 2;
    return {Saturate(a - half), Saturate(b + half)};
}

CalibrationRecord ComputeCalibration(const Point (&raw)[kTargetCount]) {
    CalibrationRecord r = {};
    AxisEdges x, y;
    FillEdges(raw, &r, &x, &y);
    CombineAxis(x, &r.XLow, &r.XHigh);
    CombineAxis(y, &r.YLow, &r.YHigh);
    return r;
}

void MeasureSpread(const Point (&raw)[kTargetCount], int32_t width, int32_t height, AxisSpread* xSpread,
                   AxisSpread* ySpread) {
    CalibrationRecord r = {};
    AxisEdges x, y;
    FillEdges(raw, &r, &x, &y);
    CombineAxis(x, &r.XLow, &r.XHigh);
    CombineAxis(y, &r.YLow, &r.YHigh);
    *xSpread = SpreadOfAxis(x, r.XLow, r.XHigh, width, height);
    *ySpread = SpreadOfAxis(y, r.YLow, r.YHigh, height, width);
}

void EncodeRecord(const CalibrationRecord& r, uint8_t (&bytes)[kRecordBytes]) {
    const int32_t words[] = {r.L1, r.T1, r.R1, r.B1, r.L2, r.B2, r.R2, r.T2,
                             r.XLow, r.YLow, r.XHigh, r.YHigh, r.XOffset, r.YOffset};
    static_assert(sizeof words == kRecordBytes, "one word per field");
    for (size_t i = 0; i < sizeof words / sizeof words[0]; ++i) PutWord(bytes + 4 * i, words[i]);
}

}  // namespace kvcal
