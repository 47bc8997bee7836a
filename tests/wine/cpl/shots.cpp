// Screenshots of the applet's dialog, one per page, for review: the dialog
// runs with the edition's resources and a stand-in driver, and each page is
// copied from the screen into OUTDIR\pageN.bmp.
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "control_panel_dlg.h"
#include "scripted_control_device.h"
#include "window_script.h"

namespace {

bool SaveWindowBitmap(HWND window, const std::string& path) {
    RECT r;
    GetWindowRect(window, &r);
    const int w = r.right - r.left, h = r.bottom - r.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = h;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
    SelectObject(memory, old);
    const DWORD stride = ((static_cast<DWORD>(w) * 3 + 3) & ~3u), size = stride * static_cast<DWORD>(h);
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info.bmiHeader;
    file.bfSize = file.bfOffBits + size;
    HANDLE out = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    bool ok = out != INVALID_HANDLE_VALUE && bits;
    if (ok) {
        DWORD written;
        WriteFile(out, &file, sizeof file, &written, nullptr);
        WriteFile(out, &info.bmiHeader, sizeof info.bmiHeader, &written, nullptr);
        WriteFile(out, bits, size, &written, nullptr);
        CloseHandle(out);
    }
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    const std::string outdir = argv[1];
    kvtest::ScriptedControlDevice device;
    device.Open();
    CControlPanelDlg dialog(nullptr);
    dialog.device = &device;
    dialog.beepPage.beepIndex = 2;
    dialog.beepPage.tone = 2000;
    dialog.beepPage.duration = 32;
    dialog.mousePage.modeIndex = 0;
    dialog.mousePage.field = 40;
    dialog.mousePage.speed = 500;
    dialog.mousePage.delayCode = 61;
    // One page per 20 ticks of 50 ms, so the dialog's own loop paints it
    // between showing and copying.
    int saved = 0, tick = 0;
    WindowScript script([&] {
        if (!dialog.Handle()) return false;
        const int page = tick / 20, phase = tick % 20;
        ++tick;
        if (phase == 0) PropSheet_SetCurSel(dialog.sheet.Handle(), nullptr, page);
        if (phase != 19) return false;
        saved += SaveWindowBitmap(dialog.Handle(), outdir + "\\page" + std::to_string(page + 1) + ".bmp");
        if (page < 4) return false;
        PostMessageA(dialog.Handle(), WM_COMMAND, IDCANCEL, 0);
        return true;
    });
    dialog.DoModal();
    return saved == 5 ? 0 : 1;
}
