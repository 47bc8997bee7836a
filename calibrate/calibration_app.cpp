// The calibration program's window and threads; see calibration_app.h.
#include "calibration_app.h"

#include "calibration_store.h"
#include "edition_texts.h"
#include "kvcal_ids.h"
#include "kvshared.h"
#include "message_dialog.h"

namespace kvcal {

const wchar_t kWindowClass[] = L"KVCALIBA";
const wchar_t kWindowTitle[] = L"KESTIVA CALIBRAY";

namespace {

// The reader thread ends within one capture poll once the quit flag is set.
const DWORD kReaderExitWaitMilliseconds = 2000;

}  // namespace

bool CalibrationApp::RegisterWindowClass(HINSTANCE module) {
    WNDCLASSW wc = {};
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = module;
    wc.hIcon = LoadIconW(module, MAKEINTRESOURCEW(IDI_KVCAL));
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kWindowClass;
    return RegisterClassW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

CalibrationApp::~CalibrationApp() {
    InterlockedExchange(&quit_, 1);
    if (startEvent_) SetEvent(startEvent_);
    if (window_ && IsWindow(window_)) DestroyWindow(window_);
    // The reader uses this object; let it see the quit flag before it goes.
    if (reader_) {
        WaitForSingleObject(reader_, kReaderExitWaitMilliseconds);
        CloseHandle(reader_);
    }
    if (startEvent_) CloseHandle(startEvent_);
    device_.Close();
}

bool CalibrationApp::OpenDevice(uint32_t* screenPos) {
    const bool opened = device_.Open();
    uint32_t returned = 0;
    if (opened &&
        device_.Control(IOCTL_POINTER_GET_SCREEN_POS, nullptr, 0, screenPos, sizeof *screenPos, &returned) &&
        returned >= sizeof *screenPos)
        return true;
    // An edition that can tell a wrong driver version apart says so when
    // the device opened but did not answer.
    std::wstring text;
    if (!opened || !LoadEditionText(module_, IDS_WRONG_DRIVER, &text)) text = EditionText(module_, IDS_NO_DEVICE);
    ShowMessageDialog(module_, nullptr, IDD_MESSAGE, text, EditionText(module_, IDS_NO_DEVICE_CAPTION));
    return false;
}

bool CalibrationApp::Initialize() {
    HWND running = FindWindowW(kWindowClass, kWindowTitle);
    if (running) {
        SetForegroundWindow(running);
        return false;
    }
    uint32_t screenPos = 0;
    if (!OpenDevice(&screenPos)) return false;
    area_ = AreaForScreenPos(screenPos, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    targets_ = TargetsForArea(area_.Width(), area_.Height());
    window_ = CreateWindowExW(0, kWindowClass, kWindowTitle, WS_POPUP | WS_VISIBLE, area_.left, area_.top,
                              area_.Width(), area_.Height(), nullptr, nullptr, module_, this);
    if (!window_) return false;
    if (!canvas_.Prepare(window_, module_, area_.Width(), area_.Height(), EditionText(module_, IDS_INSTRUCTION)))
        return false;
    startEvent_ = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    if (!startEvent_) return false;
    InterlockedExchange(&quit_, 0);
    DWORD threadId = 0;
    reader_ = CreateThread(nullptr, 0, ReaderThread, this, 0, &threadId);
    if (!reader_) return false;
    currentTarget_ = kTargetCodes[0];
    ShowWindow(window_, SW_SHOW);
    InvalidateRect(window_, nullptr, FALSE);
    UpdateWindow(window_);
    return true;
}

int CalibrationApp::Run() {
    ShowCursor(FALSE);
    PostMessageW(window_, WM_CAL_START, 0, 0);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}

DWORD WINAPI CalibrationApp::ReaderThread(void* app) {
    CalibrationApp* self = static_cast<CalibrationApp*>(app);
    RunReader(self->device_, *self, &self->record_);
    return 1;
}

LRESULT CALLBACK CalibrationApp::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const CREATESTRUCTW* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    CalibrationApp* self = reinterpret_cast<CalibrationApp*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self) return DefWindowProcW(window, message, wParam, lParam);
    if (!self->window_) self->window_ = window;
    return self->HandleMessage(message, wParam, lParam);
}

LRESULT CalibrationApp::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT:
            Paint();
            return 0;
        case WM_KEYUP:
            if (wParam == VK_ESCAPE) Quit(true);
            return 0;
        case WM_DESTROY:
            Quit(false);
            return 0;
        case WM_CAL_START:
            SetEvent(startEvent_);
            return 0;
        case WM_CAL_TARGET:
            ShowTargetNow(static_cast<int32_t>(lParam));
            return 0;
        case WM_CAL_CONFIRM:
            Confirm();
            return 0;
        default:
            return DefWindowProcW(window_, message, wParam, lParam);
    }
}

void CalibrationApp::Paint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window_, &ps);
    canvas_.Draw(dc, currentTarget_, targets_);
    EndPaint(window_, &ps);
}

void CalibrationApp::ShowTargetNow(int32_t code) {
    currentTarget_ = code;
    HDC dc = GetDC(window_);
    if (!dc) return;
    canvas_.Draw(dc, code, targets_);
    ReleaseDC(window_, dc);
}

void CalibrationApp::Confirm() {
    ShowCursor(TRUE);
    const INT_PTR answer = ShowMessageDialog(module_, window_, IDD_MESSAGE, EditionText(module_, IDS_CONFIRM),
                                             EditionText(module_, IDS_CONFIRM_CAPTION));
    if (answer == IDOK) {
        if (!StoreCalibration(record_, device_)) {
            const bool ownDialog = FindResourceW(module_, MAKEINTRESOURCEW(IDD_REGISTRY_FAILURE),
                                                 MAKEINTRESOURCEW(5) /* RT_DIALOG */) != nullptr;
            ShowMessageDialog(module_, window_, ownDialog ? IDD_REGISTRY_FAILURE : IDD_MESSAGE,
                              EditionText(module_, IDS_NO_PRIVILEGE), EditionText(module_, IDS_NO_PRIVILEGE_CAPTION));
        }
        DestroyWindow(window_);
        return;
    }
    ShowCursor(FALSE);
    device_.Send(IOCTL_POINTER_RELOAD_SETTINGS);
    PostMessageW(window_, WM_CAL_START, 0, 0);
}

void CalibrationApp::Quit(bool reload) {
    InterlockedExchange(&quit_, 1);
    SetEvent(startEvent_);
    // No trial calibration may stay in the driver.
    if (reload) device_.Send(IOCTL_POINTER_RELOAD_SETTINGS);
    PostQuitMessage(0);
}

int RunCalibrationProgram(HINSTANCE module, kv::ControlDevice& device) {
    if (!CalibrationApp::RegisterWindowClass(module)) return 0;
    CalibrationApp app(module, device);
    if (!app.Initialize()) return 0;
    return app.Run();
}

}  // namespace kvcal
