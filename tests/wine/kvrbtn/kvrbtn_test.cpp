// kvrbtn.exe with the real kvusb.sys loaded by the virtual controller, on a
// private X display: the helper's button arms the driver's one-shot flag,
// the next left click (injected with SendInput) reaches another window as a
// right click and uses the flag up; disarmed, clicks stay left.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "driver_session.h"
#include "gui_wait.h"
#include "kvshared.h"
#include "process_runner.h"

namespace {

using kvtest::PumpMessages;

const char kHelperClass[] = "KvRbtnWindow";

// The test's own target window must keep answering while it waits; bounded
// for the i386 emulator under load.
template <typename Condition>
bool WaitFor(Condition condition, DWORD ms = 30000) {
    return kvtest::WaitFor(condition, ms, kvtest::Between::PumpMessages);
}

// A window that records the button messages it gets.
std::vector<UINT> g_clicks;
LRESULT CALLBACK TargetProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_LBUTTONDOWN || message == WM_LBUTTONUP || message == WM_RBUTTONDOWN || message == WM_RBUTTONUP) {
        g_clicks.push_back(message);
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND CreateTarget() {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = TargetProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "KvRbtnTestTarget";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowExA(0, windowClass.lpszClassName, "target", WS_POPUP | WS_VISIBLE, 100, 100, 300, 300,
                                  nullptr, nullptr, windowClass.hInstance, nullptr);
    PumpMessages(200);
    return window;
}

void ClickAt(POINT point) {
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    INPUT inputs[3] = {};
    for (INPUT& input : inputs) input.type = INPUT_MOUSE;
    inputs[0].mi.dx = point.x * 65535 / (width - 1);
    inputs[0].mi.dy = point.y * 65535 / (height - 1);
    inputs[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    inputs[2].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(3, inputs, sizeof(INPUT));
}

POINT CentreOf(HWND window) {
    RECT rect = {};
    GetWindowRect(window, &rect);
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

// One edition's helper (the English one unless told), closed at the end as
// a user closes it.
class Helper : public kvtest::Process {
public:
    explicit Helper(const char* edition = "en-US")
        : Process(kvtest::BesideThisProgram(std::string(edition) + "\\kvrbtn.exe")) {}
    ~Helper() {
        HWND window = FindWindowA(kHelperClass, nullptr);
        if (Started() && window) PostMessageA(window, WM_CLOSE, 0, 0);
        Ended(5000);
    }
    // The exit code once it has ended within `ms`, or STILL_ACTIVE.
    DWORD ExitCode(DWORD ms) { return ExitCodeWithin(ms, STILL_ACTIVE); }
};

class RightButtonHelper : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(session_.Start(&error)) << error;
        target_ = CreateTarget();
        ASSERT_TRUE(target_);
        helper_ = new Helper;
        ASSERT_TRUE(helper_->Started());
        ASSERT_TRUE(WaitFor([&] {
            window_ = FindWindowA(kHelperClass, nullptr);
            button_ = window_ ? FindWindowExA(window_, nullptr, "BUTTON", nullptr) : nullptr;
            return button_ != nullptr;
        }));
        PumpMessages(300);
    }
    void TearDown() override {
        delete helper_;
        if (target_) DestroyWindow(target_);
    }

    bool Armed() { return SendMessageA(button_, BM_GETCHECK, 0, 0) == BST_CHECKED; }
    void PressHelperButton(bool expectArmed) {
        ClickAt(CentreOf(button_));
        EXPECT_TRUE(WaitFor([&] { return Armed() == expectArmed; })) << "button shows armed=" << expectArmed;
    }
    std::vector<UINT> ClickTarget() {
        g_clicks.clear();
        ClickAt(CentreOf(target_));
        WaitFor([] { return g_clicks.size() >= 2; });
        PumpMessages(200);
        return g_clicks;
    }
    DWORD TakeFlag() {
        const kvtest::IoctlResult taken = session_.Ioctl(IOCTL_POINTER_TAKE_BUTTON_MODE, {}, 4);
        EXPECT_TRUE(taken.ok) << taken.error;
        return taken.ok ? kvtest::WordAt(taken.output, 0) : 0xFFFFFFFF;
    }

    kvtest::DriverSession session_;
    Helper* helper_ = nullptr;
    HWND target_ = nullptr, window_ = nullptr, button_ = nullptr;
};

const std::vector<UINT> kLeftClick = {WM_LBUTTONDOWN, WM_LBUTTONUP};
const std::vector<UINT> kRightClick = {WM_RBUTTONDOWN, WM_RBUTTONUP};

TEST_F(RightButtonHelper, ArmedTheNextLeftClickArrivesAsARightClickOnce) {
    PressHelperButton(true);
    EXPECT_EQ(ClickTarget(), kRightClick);
    EXPECT_EQ(TakeFlag(), 0u) << "the click used the driver's flag up";
    EXPECT_TRUE(WaitFor([&] { return !Armed(); })) << "the button shows the swap as used";
    EXPECT_EQ(ClickTarget(), kLeftClick) << "one click only";
}

TEST_F(RightButtonHelper, DisarmedAndPressedTwiceClicksStayLeft) {
    EXPECT_EQ(ClickTarget(), kLeftClick);
    PressHelperButton(true);
    PressHelperButton(false);
    EXPECT_EQ(TakeFlag(), 0u) << "disarming cleared the driver's flag";
    EXPECT_EQ(ClickTarget(), kLeftClick);
}

TEST_F(RightButtonHelper, TheDriversFlagDecides) {
    PressHelperButton(true);
    EXPECT_EQ(TakeFlag(), 1u) << "arming set the driver's flag";
    EXPECT_EQ(ClickTarget(), kLeftClick) << "the flag was taken elsewhere: no swap";
}

// The helper holds no handle while it waits: with the last controller
// unplugged the driver unloads, and plugged in again it starts and the
// helper works with the new instance (whose flag starts clear).
TEST_F(RightButtonHelper, TheLastControllerCanBeRepluggedWhileItRuns) {
    PressHelperButton(true);
    std::string error;
    ASSERT_TRUE(session_.Replug(&error)) << error;
    EXPECT_EQ(ClickTarget(), kLeftClick);
    PressHelperButton(true);
    EXPECT_EQ(ClickTarget(), kRightClick);
}

TEST_F(RightButtonHelper, ASecondStartLeavesTheFirstAlone) {
    Helper second;
    ASSERT_TRUE(second.Started());
    EXPECT_EQ(second.ExitCode(5000), 3u);
    EXPECT_EQ(helper_->ExitCode(0), static_cast<DWORD>(STILL_ACTIVE));
    PressHelperButton(true);
    EXPECT_EQ(ClickTarget(), kRightClick);
}

// Whether one of the window's children shows `text`.
bool HasText(HWND window, const wchar_t* text) {
    return kvtest::FirstWindow([text](HWND child) { return kvtest::WideWindowTitle(child) == text; }, window) !=
           nullptr;
}

// Without the driver the helper shows the applet's "Tip" once and ends, in
// its edition's words whatever the system's code page (this prefix's is
// not 936).
TEST(RightButtonHelperAlone, WithoutTheDriverSaysSoAndExits) {
    const struct {
        const char* edition;
        const wchar_t* caption;
        const wchar_t* text;
    } editions[] = {
        {"en-US", L"Tip", L"Device didn't connect or Driver isn't installed."},
        // 提示; 设备未连接或驱动程序未安装。
        {"zh-CN", L"\u63d0\u793a",
         L"\u8bbe\u5907\u672a\u8fde\u63a5\u6216\u9a71\u52a8\u7a0b\u5e8f\u672a\u5b89\u88c5\u3002"},
    };
    kvtest::DriverSession session;
    std::string error;
    ASSERT_TRUE(session.Start(&error)) << error;
    session.CloseControl();
    ASSERT_TRUE(session.harness().Unload(&error)) << error;
    for (const auto& e : editions) {
        SCOPED_TRACE(e.edition);
        Helper helper(e.edition);
        ASSERT_TRUE(helper.Started());
        HWND box = nullptr;
        ASSERT_TRUE(WaitFor([&] { return (box = FindWindowW(nullptr, e.caption)) != nullptr; }, 10000));
        EXPECT_TRUE(HasText(box, e.text));
        EXPECT_FALSE(FindWindowA(kHelperClass, nullptr)) << "no helper window without a driver";
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        EXPECT_EQ(helper.ExitCode(5000), 1u);
    }
    ASSERT_TRUE(session.Start(&error)) << error;
}

}  // namespace
