// The calibration program: one borderless window over the calibrated area,
// its window thread (drawing, confirmation, storing, reloads) and the
// reader thread that runs the passes.
#ifndef KV_CALIBRATE_CALIBRATION_APP_H
#define KV_CALIBRATE_CALIBRATION_APP_H

#include <windows.h>

#include "calibration_canvas.h"
#include "calibration_pass.h"
#include "control_device.h"

namespace kvcal {

extern const wchar_t kWindowClass[];
extern const wchar_t kWindowTitle[];

// Private window messages; WM_CAL_TARGET carries the target code in lParam.
constexpr UINT WM_CAL_START = WM_USER + 1;
constexpr UINT WM_CAL_TARGET = WM_USER + 2;
constexpr UINT WM_CAL_CONFIRM = WM_USER + 3;

// The whole program on `device`: returns the exit code (0 when it could
// not start). `module` holds the edition's resources.
int RunCalibrationProgram(HINSTANCE module, kv::ControlDevice& device);

class CalibrationApp : private PassHost {
public:
    CalibrationApp(HINSTANCE module, kv::ControlDevice& device) : module_(module), device_(device) {}
    ~CalibrationApp() override;
    CalibrationApp(const CalibrationApp&) = delete;
    CalibrationApp& operator=(const CalibrationApp&) = delete;

    // Single-instance check, device, window, drawing, start event, reader
    // thread. False when the program must end at once.
    bool Initialize();
    // Registers the window class once per process.
    static bool RegisterWindowClass(HINSTANCE module);
    // Hides the cursor, starts the first pass and runs the message loop.
    int Run();

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static DWORD WINAPI ReaderThread(void* app);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    bool OpenDevice(uint32_t* screenPos);
    void Paint();
    void ShowTargetNow(int32_t code);
    void Confirm();
    void Quit(bool reload);

    // PassHost, called on the reader thread.
    bool Quitting() override { return quit_ != 0; }
    void Sleep(uint32_t milliseconds) override { ::Sleep(milliseconds); }
    void WaitForStart() override { WaitForSingleObject(startEvent_, INFINITE); }
    void ShowTarget(int32_t code) override { PostMessageW(window_, WM_CAL_TARGET, 0, code); }
    void RequestConfirmation() override { PostMessageW(window_, WM_CAL_CONFIRM, 0, 0); }

    HINSTANCE module_;
    kv::ControlDevice& device_;
    Area area_ = {0, 0, 0, 0};
    Targets targets_ = {};
    HWND window_ = nullptr;
    HANDLE startEvent_ = nullptr;
    HANDLE reader_ = nullptr;
    volatile LONG quit_ = 0;
    // The target on show, drawn again whenever the window is repainted;
    // the first paint shows the first target.
    int32_t currentTarget_ = kTargetCodes[0];
    CalibrationCanvas canvas_;
    CalibrationRecord record_ = {};
};

}  // namespace kvcal

#endif
