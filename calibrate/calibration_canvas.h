// What the calibration window shows: the background picture with the
// instruction line, and the target image, kept in memory device contexts
// for the program's life and copied to the window on demand.
#ifndef KV_CALIBRATE_CALIBRATION_CANVAS_H
#define KV_CALIBRATE_CALIBRATION_CANVAS_H

#include <windows.h>

#include <string>

#include "calibration_math.h"

namespace kvcal {

// The target is the 54 x 54 square of a 64 x 64 image, centred on (27, 27).
constexpr int kTargetImageSize = 64;
constexpr int kTargetSquare = 54;
constexpr int kTargetCentre = 27;

class CalibrationCanvas {
public:
    CalibrationCanvas() {}
    ~CalibrationCanvas();
    CalibrationCanvas(const CalibrationCanvas&) = delete;
    CalibrationCanvas& operator=(const CalibrationCanvas&) = delete;

    // Builds both images for an area of width x height and copies the
    // background to the window. False when a context or bitmap is refused.
    bool Prepare(HWND window, HINSTANCE module, int width, int height, const std::wstring& instruction);
    bool Ready() const { return ready_; }

    // The background, then target `code` (16, 32, 48 or 64) over it; any
    // other code leaves the target hidden.
    void Draw(HDC dc, int32_t code, const Targets& targets) const;

private:
    void DrawTargetImage();
    void DrawInstruction(const std::wstring& text);

    bool ready_ = false;
    int width_ = 0, height_ = 0;
    HDC background_ = nullptr, target_ = nullptr;
    HBITMAP backgroundBitmap_ = nullptr, targetBitmap_ = nullptr;
    HGDIOBJ backgroundOriginal_ = nullptr, targetOriginal_ = nullptr;
};

}  // namespace kvcal

#endif
