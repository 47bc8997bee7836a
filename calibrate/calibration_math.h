// Calibration arithmetic: the area a placement covers, the four targets in
// it, the edges extrapolated from each diagonal, and the final values the
// driver stores. Portable C++: no Windows header, so the host tests and
// kvsim run exactly the code kvcal.exe runs.
#ifndef KV_CALIBRATE_CALIBRATION_MATH_H
#define KV_CALIBRATE_CALIBRATION_MATH_H

#include <stddef.h>
#include <stdint.h>

namespace kvcal {

// The raw maximum output of an axis; a degenerate diagonal spans it all.
constexpr int32_t kFullScale = 8191;

struct Point {
    int32_t x;
    int32_t y;
};

// Desktop rectangle; right and bottom are exclusive, as in a Win32 RECT.
struct Area {
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;
    int32_t Width() const { return right - left; }
    int32_t Height() const { return bottom - top; }
};

// Targets in the order they are shown, with the codes the window draws
// them by (0 hides the target).
constexpr int kTargetCount = 4;
constexpr int32_t kTargetCodes[kTargetCount] = {16, 32, 48, 64};
constexpr int32_t kNoTarget = 0;

struct Targets {
    Point at[kTargetCount];  // window coordinates
};

// The 56-byte record sent whole with IOCTL_POINTER_SET_CALIBRATION; the
// driver reads its first six words as CalibrationBlock (XLow, YLow, XHigh,
// YHigh, XMin, YOffset), so the first-diagonal edges sit there and give
// the trial calibration.
struct CalibrationRecord {
    int32_t L1, T1, R1, B1;
    int32_t L2, B2, R2, T2;
    int32_t XLow, YLow, XHigh, YHigh;
    int32_t XOffset, YOffset;
};
static_assert(sizeof(CalibrationRecord) == 56, "the calibration record is 56 bytes");

// Edge values on one axis extrapolated from the raw values at the quarter
// (a) and at three quarters (b) of the area.
struct EdgePair {
    int32_t atA;
    int32_t atB;
};

// How far the two diagonals disagree on one raw axis, in raw units and in
// tenths of a pixel along the screen axis that raw axis runs along (-1
// when the final values leave no scale to measure pixels by).
struct AxisSpread {
    bool degenerate;  // a diagonal saw no movement on this axis
    int64_t raw;
    int64_t tenthsOfPixel;
};

Area AreaForScreenPos(uint32_t screenPos, int32_t screenWidth, int32_t screenHeight);
Targets TargetsForArea(int32_t width, int32_t height);
EdgePair ExtrapolateEdges(int32_t a, int32_t b);

// Fills the edges and the final values from the raw points captured at the
// four targets (in target order); XOffset and YOffset stay 0. A diagonal
// whose two touches gave the same raw value on an axis leaves that axis
// uncalibrated (0..8191), whatever the other diagonal saw.
CalibrationRecord ComputeCalibration(const Point (&raw)[kTargetCount]);

// The diagonals' disagreement on raw X and raw Y for an area of width x
// height pixels; a diagnostic only.
void MeasureSpread(const Point (&raw)[kTargetCount], int32_t width, int32_t height, AxisSpread* x, AxisSpread* y);

// The record as the driver receives it: 14 little-endian 32-bit words.
constexpr size_t kRecordBytes = sizeof(CalibrationRecord);
void EncodeRecord(const CalibrationRecord& record, uint8_t (&bytes)[kRecordBytes]);

}  // namespace kvcal

#endif
