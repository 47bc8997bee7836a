// Background and target drawing; see calibration_canvas.h.
#include "calibration_canvas.h"

#include "kvcal_ids.h"

namespace kvcal {
namespace {

const COLORREF kRingColour = RGB(255, 96, 0);
const COLORREF kDiscColour = RGB(255, 255, 0);
const COLORREF kTextColour = RGB(32, 32, 255);

}  // namespace

CalibrationCanvas::~CalibrationCanvas() {
    if (background_) {
        if (backgroundOriginal_) SelectObject(background_, backgroundOriginal_);
        DeleteDC(background_);
    }
    if (target_) {
        if (targetOriginal_) SelectObject(target_, targetOriginal_);
        DeleteDC(target_);
    }
    if (backgroundBitmap_) DeleteObject(backgroundBitmap_);
    if (targetBitmap_) DeleteObject(targetBitmap_);
}

bool CalibrationCanvas::Prepare(HWND window, HINSTANCE module, int width, int height, const std::wstring& instruction) {
    width_ = width;
    height_ = height;
    HDC windowDc = GetDC(window);
    if (!windowDc) return false;
    background_ = CreateCompatibleDC(windowDc);
    target_ = CreateCompatibleDC(windowDc);
    // Bitmap 135 is one plain colour; stretched, it fills the whole area.
    backgroundBitmap_ = static_cast<HBITMAP>(
        LoadImageW(module, MAKEINTRESOURCEW(IDB_BACKGROUND), IMAGE_BITMAP, width, height, LR_CREATEDIBSECTION));
    targetBitmap_ = CreateCompatibleBitmap(windowDc, kTargetImageSize, kTargetImageSize);
    const bool ok = background_ && target_ && backgroundBitmap_ && targetBitmap_;
    if (ok) {
        backgroundOriginal_ = SelectObject(background_, backgroundBitmap_);
        targetOriginal_ = SelectObject(target_, targetBitmap_);
        DrawTargetImage();
        DrawInstruction(instruction);
        BitBlt(windowDc, 0, 0, width_, height_, background_, 0, 0, SRCCOPY);
    }
    ReleaseDC(window, windowDc);
    ready_ = ok;  // whatever was made is released by the destructor
    return ok;
}

// Ring, disc and four ticks over a copy of the background's corner, so the
// target's square blends into the background wherever it is copied.
void CalibrationCanvas::DrawTargetImage() {
    BitBlt(target_, 0, 0, kTargetImageSize, kTargetImageSize, background_, 0, 0, SRCCOPY);
    HPEN pen = CreatePen(PS_SOLID, 2, kRingColour);
    HBRUSH disc = CreateSolidBrush(kDiscColour);
    HGDIOBJ oldPen = SelectObject(target_, pen);
    Ellipse(target_, 7, 7, 47, 47);
    HGDIOBJ oldBrush = SelectObject(target_, disc);
    Ellipse(target_, 13, 13, 41, 41);
    const POINT ticks[][2] = {{{0, 27}, {21, 27}}, {{54, 27}, {33, 27}}, {{27, 0}, {27, 21}}, {{27, 54}, {27, 33}}};
    for (const auto& tick : ticks) {
        MoveToEx(target_, tick[0].x, tick[0].y, nullptr);
        LineTo(target_, tick[1].x, tick[1].y);
    }
    SelectObject(target_, oldBrush);
    SelectObject(target_, oldPen);
    DeleteObject(disc);
    DeleteObject(pen);
}

void CalibrationCanvas::DrawInstruction(const std::wstring& text) {
    HFONT font = CreateFontW(16, 0, 0, 600, 500, FALSE, FALSE, FALSE, 134, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                             DEFAULT_QUALITY, 32, L"MS Sans Serif");
    HGDIOBJ oldFont = SelectObject(background_, font);
    SetTextColor(background_, kTextColour);
    SetBkMode(background_, TRANSPARENT);
    RECT line = {0, (height_ * 3 / 4) / 2, width_, height_};
    DrawTextW(background_, text.c_str(), static_cast<int>(text.size()), &line, DT_CENTER);
    SelectObject(background_, oldFont);
    DeleteObject(font);
}

void CalibrationCanvas::Draw(HDC dc, int32_t code, const Targets& targets) const {
    if (!Ready()) return;
    BitBlt(dc, 0, 0, width_, height_, background_, 0, 0, SRCCOPY);
    for (int i = 0; i < kTargetCount; ++i) {
        if (kTargetCodes[i] != code) continue;
        BitBlt(dc, targets.at[i].x - kTargetCentre, targets.at[i].y - kTargetCentre, kTargetSquare, kTargetSquare,
               target_, 0, 0, SRCCOPY);
    }
}

}  // namespace kvcal
