// Pictures as 32-bit pixels (blue, green, red, unused; top row first), for
// tests that check what a program drew.
#pragma once
#include <windows.h>

#include <vector>

namespace kvtest {

// A WIDTH x HEIGHT picture that PAINT draws into a memory device context;
// empty when the bitmap cannot be made.
template <typename Paint>
std::vector<DWORD> DrawnPixels(int width, int height, Paint paint) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    std::vector<DWORD> pixels;
    if (bitmap) {
        HGDIOBJ old = SelectObject(dc, bitmap);
        paint(dc);
        GdiFlush();
        const DWORD* p = static_cast<const DWORD*>(bits);
        pixels.assign(p, p + width * height);
        SelectObject(dc, old);
        DeleteObject(bitmap);
    }
    DeleteDC(dc);
    return pixels;
}

// What the screen shows in R.
inline std::vector<DWORD> ScreenPixels(const RECT& r) {
    return DrawnPixels(r.right - r.left, r.bottom - r.top, [&](HDC dc) {
        HDC screen = GetDC(nullptr);
        BitBlt(dc, 0, 0, r.right - r.left, r.bottom - r.top, screen, r.left, r.top, SRCCOPY);
        ReleaseDC(nullptr, screen);
    });
}

}  // namespace kvtest
