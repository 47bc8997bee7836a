// The calibration window under Wine with real windows, dialogs, drawing and
// registry, on a scripted double of the driver: placement rectangles,
// drawing, a confirmed pass stored, Cancel, Escape, an unwritable key, a
// failing placement request and a second instance.
#include <windows.h>

#include <cstring>

#include <gtest/gtest.h>

#include "kvcal_test_support.h"
#include "pixels.h"

namespace {

using namespace kvtest;

COLORREF ScreenPixel(int x, int y) {
    HDC screen = GetDC(nullptr);
    const COLORREF colour = GetPixel(screen, x, y);
    ReleaseDC(nullptr, screen);
    return colour;
}

// What WINDOW's own surface holds at (x, y) of its client area: a repaint
// just made shows at once, not only when the screen is next updated.
COLORREF WindowPixel(HWND window, int x, int y) {
    HDC dc = GetDC(window);
    const COLORREF colour = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return colour;
}

// Pixels of the screen rectangle that are strongly blue, as the
// instruction text is (red 32, green 32, blue 255), and the background
// (166, 202, 240) is not.
int CountBluePixels(const RECT& r) {
    int count = 0;
    for (DWORD pixel : ScreenPixels(r)) {
        count += (pixel & 0xFF) > 200 && ((pixel >> 8) & 0xFF) < 120 && ((pixel >> 16) & 0xFF) < 120;
    }
    return count;
}

TEST(CalibrationWindow, CoversThePlacementsArea) {
    const int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
    for (uint32_t pos : {0u, 1u, 3u}) {
        ScriptedControlDevice device(pos);
        Program program(&device);
        HWND window = WaitForCalibrationWindow();
        ASSERT_NE(window, nullptr) << "DBScreenPos " << pos;
        char className[64] = {};
        GetClassNameA(window, className, sizeof className);
        EXPECT_STREQ(className, "KVCALIBA");
        EXPECT_EQ(kvtest::WindowTitle(window), "KESTIVA CALIBRAY");
        const LONG style = GetWindowLongA(window, GWL_STYLE);
        EXPECT_EQ(style & (WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_THICKFRAME), WS_POPUP | WS_VISIBLE);
        const kvcal::Area a = kvcal::AreaForScreenPos(pos, cx, cy);
        EXPECT_EQ(WindowEdges(window), (std::vector<LONG>{a.left, a.top, a.right, a.bottom})) << "DBScreenPos " << pos;
        PressEscape(window);
        ASSERT_TRUE(program.Ended(5000));
        EXPECT_EQ(program.exitCode, 0);
        EXPECT_EQ(device.Count(IOCTL_POINTER_RELOAD_SETTINGS), 1u) << "Escape reloads the stored calibration";
    }
}

TEST(CalibrationWindow, DrawsTheBackgroundAndTheCurrentTarget) {
    const COLORREF background = RGB(166, 202, 240), disc = RGB(255, 255, 0);
    ScriptedControlDevice device(DBSCREENPOS_SINGLE);
    Program program(&device);
    HWND window = WaitForCalibrationWindow();
    ASSERT_NE(window, nullptr);
    const kvcal::Targets t =
        kvcal::TargetsForArea(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    EXPECT_TRUE(kvtest::WaitFor([&] { return ScreenPixel(t.at[0].x, t.at[0].y) == disc; }, 5000))
        << "target 1 shown at the first quarter";
    EXPECT_EQ(ScreenPixel(2, 2), background);
    // The instruction line sits below the middle of the upper half.
    const int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
    const int textTop = (cy * 3 / 4) / 2;
    EXPECT_GT(CountBluePixels({0, textTop, cx, textTop + 20}), 100) << "instruction text drawn in blue";
    EXPECT_EQ(CountBluePixels({0, textTop + 40, cx, textTop + 80}), 0) << "nothing below it";
    EXPECT_EQ(ScreenPixel(t.at[1].x, t.at[1].y), background) << "target 2 not yet";
    device.AddTouch(500, 400);
    EXPECT_TRUE(kvtest::WaitFor([&] { return ScreenPixel(t.at[1].x, t.at[1].y) == disc; }, 5000)) << "target 2";
    EXPECT_EQ(ScreenPixel(t.at[0].x, t.at[0].y), background) << "target 1 hidden again";
    // A repaint keeps the target on show.
    InvalidateRect(window, nullptr, TRUE);
    UpdateWindow(window);
    EXPECT_EQ(WindowPixel(window, t.at[1].x, t.at[1].y), disc) << "target 2 survives a repaint";
    PressEscape(window);
    ASSERT_TRUE(program.Ended(5000));
}

TEST(CalibrationWindow, ConfirmedPassIsStored) {
    PresetParameters();
    ScriptedControlDevice device(DBSCREENPOS_SINGLE);
    Program program(&device);
    HWND confirm = TouchUntilConfirmation(&device, L" Confirm Calibration");
    ASSERT_NE(confirm, nullptr);
    EXPECT_EQ(kvtest::DialogItemText(confirm, 1001), "Is cursor lined up with the finger touch on?");

    const std::vector<uint8_t> trial = device.LastInput(IOCTL_POINTER_SET_CALIBRATION);
    ASSERT_EQ(trial.size(), 56u) << "the whole record goes to the driver";
    int32_t words[14];
    std::memcpy(words, trial.data(), sizeof words);
    const int32_t expected[14] = {0, 0, 2000, 1600, 4, 1596, 1996, 4, 2, 2, 1998, 1598, 0, 0};
    for (int i = 0; i < 14; ++i) EXPECT_EQ(words[i], expected[i]) << "word " << i;

    PressButton(confirm, IDOK);
    ASSERT_TRUE(program.Ended(5000));
    EXPECT_EQ(program.exitCode, 0);
    const DWORD stored[] = {1998, 2, 1598, 2, 0, 0, 0};
    for (size_t i = 0; i < 7; ++i) EXPECT_EQ(Parameter(kStoredNames[i]), stored[i]) << kStoredNames[i];
    EXPECT_EQ(device.Count(IOCTL_POINTER_RELOAD_SETTINGS), 0u);
}

TEST(CalibrationWindow, CancelReloadsAndStartsOverAtTheFirstTarget) {
    PresetParameters();
    ScriptedControlDevice device(DBSCREENPOS_SINGLE);
    Program program(&device);
    HWND window = WaitForCalibrationWindow();
    ASSERT_NE(window, nullptr);
    TouchWorkedExample(&device);
    HWND confirm = kvtest::WaitForWindow(L"#32770", L" Confirm Calibration");
    ASSERT_NE(confirm, nullptr);
    PressButton(confirm, IDCANCEL);
    EXPECT_TRUE(kvtest::WaitFor([&] { return device.Count(IOCTL_POINTER_ARM_CAPTURE) == 5; })) << "a new pass arms target 1";
    EXPECT_EQ(device.Count(IOCTL_POINTER_RELOAD_SETTINGS), 1u);
    const kvcal::Targets t =
        kvcal::TargetsForArea(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    EXPECT_TRUE(kvtest::WaitFor([&] { return ScreenPixel(t.at[0].x, t.at[0].y) == RGB(255, 255, 0); }, 5000));
    PressEscape(window);
    ASSERT_TRUE(program.Ended(5000));
    EXPECT_EQ(device.Count(IOCTL_POINTER_RELOAD_SETTINGS), 2u);
    ExpectParametersUntouched("after Cancel and Escape");
}

TEST(CalibrationWindow, EscapeDuringTheThirdTargetSendsOnlyTheReload) {
    PresetParameters();
    ScriptedControlDevice device(DBSCREENPOS_SINGLE);
    Program program(&device);
    HWND window = WaitForCalibrationWindow();
    ASSERT_NE(window, nullptr);
    TouchWorkedExample(&device, 2);
    ASSERT_TRUE(kvtest::WaitFor([&] { return device.Count(IOCTL_POINTER_ARM_CAPTURE) == 3; }));
    const DWORD pressed = GetTickCount();
    PressEscape(window);
    ASSERT_TRUE(program.Ended(5000));
    EXPECT_LT(GetTickCount() - pressed, 2000u) << "ends at once";
    EXPECT_EQ(program.exitCode, 0);
    EXPECT_EQ(device.Count(IOCTL_POINTER_SET_CALIBRATION), 0u);
    EXPECT_EQ(device.Count(IOCTL_POINTER_RELOAD_SETTINGS), 1u);
    EXPECT_EQ(device.Count(IOCTL_POINTER_ARM_CAPTURE), 3) << "no capture armed after quitting";
    ExpectParametersUntouched("after Escape");
}

// Neither the user nor the driver, which was asked to store the same
// values, could write the key.
TEST(CalibrationWindow, UnwritableKeyShowsThePrivilegeMessage) {
    kParameters.Remove();
    ScriptedControlDevice device(DBSCREENPOS_SINGLE);
    device.storeAccepted = false;
    Program program(&device);
    HWND confirm = TouchUntilConfirmation(&device, L" Confirm Calibration");
    ASSERT_NE(confirm, nullptr);
    PressButton(confirm, IDOK);
    HWND error = kvtest::WaitForWindow(L"#32770", L"Error");
    ASSERT_NE(error, nullptr);
    EXPECT_EQ(kvtest::DialogItemText(error, 1001), "To do this opration should have administrators privilege.");
    EXPECT_EQ(device.Log(device.Requests().size() - 1), "FA694(127,1998,2,1598,2,0,0,0,0,0,0,0,0,0,0)");
    PressButton(error, IDOK);
    ExpectEndedWithNothingStored(&program);
}

TEST(CalibrationWindow, FailingPlacementRequestShowsTheDeviceMessage) {
    ScriptedControlDevice device(DBSCREENPOS_SINGLE);
    device.answerScreenPos = false;
    Program program(&device);
    HWND message = kvtest::WaitForWindow(L"#32770", L" Confirm");
    ASSERT_NE(message, nullptr);
    EXPECT_EQ(kvtest::DialogItemText(message, 1001), "Device didn't connect or Driver isn't installed.");
    EXPECT_EQ(FindWindowW(kvcal::kWindowClass, nullptr), nullptr) << "no calibration window";
    PressButton(message, IDOK);
    ASSERT_TRUE(program.Ended(5000));
    EXPECT_EQ(program.exitCode, 0);
    EXPECT_EQ(device.Count(IOCTL_POINTER_ARM_CAPTURE), 0u);
}

TEST(CalibrationWindow, SecondInstanceEndsAtOnce) {
    ScriptedControlDevice first(DBSCREENPOS_SINGLE), second(DBSCREENPOS_SINGLE);
    Program running(&first);
    HWND window = WaitForCalibrationWindow();
    ASSERT_NE(window, nullptr);
    {
        Program again(&second);
        ASSERT_TRUE(again.Ended(3000));
        EXPECT_EQ(again.exitCode, 0);
    }
    EXPECT_EQ(second.Count(IOCTL_POINTER_GET_SCREEN_POS), 0u) << "the second one never asks the driver";
    EXPECT_TRUE(IsWindow(window)) << "the first one runs on";
    PressEscape(window);
    ASSERT_TRUE(running.Ended(5000));
}

}  // namespace
