// Running kvcal's program in-process on the scripted device, and the
// window, dialog and registry helpers its Wine tests share.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include "calibration_app.h"
#include "calibration_math.h"
#include "gui_wait.h"
#include "kvshared.h"
#include "registry.h"
#include "scripted_control_device.h"

namespace kvtest {

inline const char* const kStoredNames[] = {"XHigh", "XLow", "YHigh", "YLow", "XOffset", "YOffset", "PortaitScreen"};
inline const DWORD kUntouched = 77;
// The driver's settings, where the program stores a calibration.
inline const RegKey kParameters = MachineKey(KV_PARAMETERS_KEY);

// The program on a thread of its own, as WinMain would run it.
class Program {
public:
    explicit Program(ScriptedControlDevice* device) : device_(device) {
        thread_ = CreateThread(nullptr, 0, Main, this, 0, nullptr);
    }
    ~Program() {
        if (!Ended(10000)) TerminateThread(thread_, 99);
        CloseHandle(thread_);
    }
    bool Ended(DWORD ms) { return WaitForSingleObject(thread_, ms) == WAIT_OBJECT_0; }
    int exitCode = -1;

private:
    static DWORD WINAPI Main(void* p) {
        Program* self = static_cast<Program*>(p);
        self->exitCode = kvcal::RunCalibrationProgram(GetModuleHandleA(nullptr), *self->device_);
        return 0;
    }
    ScriptedControlDevice* device_;
    HANDLE thread_;
};

inline HWND WaitForCalibrationWindow() { return kvtest::WaitForWindow(kvcal::kWindowClass, kvcal::kWindowTitle); }

inline void PressButton(HWND dialog, int id) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

inline void PressEscape(HWND window) { PostMessageA(window, WM_KEYUP, VK_ESCAPE, 0xC0010001); }

// Sets every value the program stores to a marker, so a write shows.
inline void PresetParameters() {
    for (const char* name : kStoredNames) ASSERT_TRUE(kParameters.SetDword(name, kUntouched)) << name;
}

// A stored value of the program's, or kMissing.
inline const DWORD kMissing = 0xFFFFFFFF;
inline DWORD Parameter(const char* name) { return kParameters.Dword(name, kMissing); }

inline void ExpectParametersUntouched(const char* what) {
    for (const char* name : kStoredNames) EXPECT_EQ(Parameter(name), kUntouched) << what << ": " << name;
}

inline void TouchWorkedExample(ScriptedControlDevice* device, int count = 4) {
    const kvcal::Point raw[] = {{500, 400}, {1500, 1200}, {502, 1198}, {1498, 402}};
    for (int i = 0; i < count; ++i) device->AddTouch(raw[i].x, raw[i].y);
}

// Waits for the calibration window, touches the worked example's four
// points and waits for the confirmation dialog titled `caption`.
inline HWND TouchUntilConfirmation(ScriptedControlDevice* device, const wchar_t* caption) {
    if (!WaitForCalibrationWindow()) return nullptr;
    TouchWorkedExample(device);
    return WaitForWindow(L"#32770", caption);
}

// After a failed store: the program has ended with 0 and the key (deleted
// by the test) is still missing; then the key is made again.
inline void ExpectEndedWithNothingStored(Program* program) {
    ASSERT_TRUE(program->Ended(5000));
    EXPECT_EQ(program->exitCode, 0) << "the program ends all the same";
    EXPECT_EQ(Parameter("XLow"), kMissing) << "nothing stored";
    PresetParameters();
}

}  // namespace kvtest
