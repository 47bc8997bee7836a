// The shipped kvcal.exe of each edition under Wine, where no driver runs:
// the device message as the user reads it (this prefix's code page is not
// 936), a second instance ending at once, the editions' texts, and the
// start-up time to the first target (on the scripted build), reported, not
// judged.
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "calibration_app.h"
#include "calibration_math.h"
#include "edition_texts.h"
#include "gui_wait.h"
#include "kvcal_ids.h"
#include "process_runner.h"

namespace {

std::string g_english, g_chinese, g_scripted;

using kvtest::Process;
using kvtest::WindowsPath;

struct EditionCase {
    const char* edition;
    const std::string* path;
    const wchar_t* text;
    const wchar_t* caption;
};

// 设备未连接或驱动程序未安装。 and 确认
const wchar_t kChineseNoDevice[] =
    L"\u8bbe\u5907\u672a\u8fde\u63a5\u6216\u9a71\u52a8\u7a0b\u5e8f\u672a\u5b89\u88c5\u3002";
const wchar_t kChineseConfirm[] = L" \u786e\u8ba4";

TEST(KvcalProgram, NoDriverShowsTheDeviceMessage) {
    const EditionCase cases[] = {
        {"en-US", &g_english, L"Device didn't connect or Driver isn't installed.", L" Confirm"},
        {"zh-CN", &g_chinese, kChineseNoDevice, kChineseConfirm},
    };
    for (const EditionCase& c : cases) {
        Process program(*c.path);
        ASSERT_TRUE(program.Started()) << c.edition;
        HWND message = nullptr;
        ASSERT_TRUE(kvtest::WaitFor([&] { return (message = program.Window()) != nullptr; }, 20000)) << c.edition;
        EXPECT_EQ(kvtest::WideDialogItemText(message, 1001), c.text) << c.edition;
        EXPECT_EQ(kvtest::WideWindowTitle(message), c.caption) << c.edition;
        PostMessageA(message, WM_COMMAND, IDOK, 0);
        ASSERT_TRUE(program.Ended(10000)) << c.edition;
        EXPECT_EQ(program.ExitCode(), 0u) << c.edition;
    }
}

TEST(KvcalProgram, SecondInstanceEndsAtOnce) {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kvcal::kWindowClass;
    RegisterClassW(&wc);
    HWND running = CreateWindowExW(0, kvcal::kWindowClass, kvcal::kWindowTitle, WS_POPUP, 0, 0, 10, 10, nullptr,
                                   nullptr, wc.hInstance, nullptr);
    ASSERT_NE(running, nullptr);
    Process second(g_english);
    ASSERT_TRUE(second.Started());
    // Without a driver it would wait in its device message; it ends first.
    EXPECT_TRUE(second.Ended(15000));
    EXPECT_EQ(second.ExitCode(), 0u);
    DestroyWindow(running);
    UnregisterClassW(kvcal::kWindowClass, wc.hInstance);
}

struct TextCase {
    UINT id;
    const wchar_t* english;  // null: the edition has no such text
    const wchar_t* chinese;
};

TEST(KvcalProgram, EditionTextsAreTheirTablesUtf16) {
    const TextCase cases[] = {
        {IDS_NO_DEVICE, L"Device didn't connect or Driver isn't installed.", kChineseNoDevice},
        {IDS_NO_DEVICE_CAPTION, L" Confirm", kChineseConfirm},
        // 光标是否与手指触摸点对齐？
        {IDS_CONFIRM, L"Is cursor lined up with the finger touch on?",
         L"\u5149\u6807\u662f\u5426\u4e0e\u624b\u6307\u89e6\u6478\u70b9\u5bf9\u9f50\uff1f"},
        {IDS_CONFIRM_CAPTION, L" Confirm Calibration", L" \u786e\u8ba4\u6821\u51c6"},
        // 执行此操作需要管理员权限。
        {IDS_NO_PRIVILEGE, L"To do this opration should have administrators privilege.",
         L"\u6267\u884c\u6b64\u64cd\u4f5c\u9700\u8981\u7ba1\u7406\u5458\u6743\u9650\u3002"},
        {IDS_NO_PRIVILEGE_CAPTION, L"Error", L"\u9519\u8bef"},
        // 已安装的驱动程序版本不正确。
        {IDS_WRONG_DRIVER, nullptr,
         L"\u5df2\u5b89\u88c5\u7684\u9a71\u52a8\u7a0b\u5e8f\u7248\u672c\u4e0d\u6b63\u786e\u3002"},
        {IDS_INSTRUCTION, L"Please touch the cross field to calibrate, and press ESCAPE key to cancel.", L""},
    };
    HMODULE english = LoadLibraryExA(WindowsPath(g_english).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    HMODULE chinese = LoadLibraryExA(WindowsPath(g_chinese).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(english, nullptr);
    ASSERT_NE(chinese, nullptr);
    for (const TextCase& c : cases) {
        std::wstring text;
        EXPECT_EQ(LoadEditionText(english, c.id, &text), c.english != nullptr) << "en-US text " << c.id;
        if (c.english) {
            EXPECT_EQ(text, c.english) << "en-US text " << c.id;
        }
        ASSERT_TRUE(LoadEditionText(chinese, c.id, &text)) << "zh-CN text " << c.id;
        if (*c.chinese) {
            EXPECT_EQ(text, c.chinese) << "zh-CN text " << c.id;
        }
    }
    // Only the Chinese edition has a registry failure dialog of its own.
    EXPECT_EQ(FindResourceA(english, MAKEINTRESOURCEA(IDD_REGISTRY_FAILURE), RT_DIALOG), nullptr);
    EXPECT_NE(FindResourceA(chinese, MAKEINTRESOURCEA(IDD_REGISTRY_FAILURE), RT_DIALOG), nullptr);
    FreeLibrary(english);
    FreeLibrary(chinese);
}

bool FirstTargetOnScreen(const kvcal::Targets& t) {
    HDC screen = GetDC(nullptr);
    const bool yellow = GetPixel(screen, t.at[0].x, t.at[0].y) == RGB(255, 255, 0);
    ReleaseDC(nullptr, screen);
    return yellow;
}

// Launch to the first target on screen, five times; prints the figures (a
// measurement for make bench).
TEST(Timing, KvcalStartUpToTheFirstTarget) {
    const kvcal::Targets t = kvcal::TargetsForArea(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    std::vector<DWORD> times;
    for (int run = 0; run < 5; ++run) {
        // The display is shared with other prefixes' windows, and then the
        // last run's target may stay on it for a second or two after its
        // window went; timing that stale picture would measure nothing.
        ASSERT_TRUE(kvtest::WaitFor([&] { return !FirstTargetOnScreen(t); }, 10000))
            << "the previous target stayed on the screen";
        const DWORD start = GetTickCount();
        Process program(g_scripted);
        ASSERT_TRUE(program.Started());
        HWND window = nullptr;
        const bool shown = kvtest::WaitFor(
            [&] { return (window = program.Window()) != nullptr && FirstTargetOnScreen(t); }, 20000);
        const DWORD elapsed = GetTickCount() - start;
        ASSERT_TRUE(shown) << "the first target never appeared";
        times.push_back(elapsed);
        PostMessageA(window, WM_KEYUP, VK_ESCAPE, 0);
        ASSERT_TRUE(program.Ended(10000));
    }
    std::sort(times.begin(), times.end());
    printf("kvcal start-up to first target: median %lu ms (min %lu, max %lu, 5 runs)\n",
           static_cast<unsigned long>(times[2]), static_cast<unsigned long>(times[0]),
           static_cast<unsigned long>(times[4]));
}

}  // namespace

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (argc != 4) {
        fprintf(stderr, "usage: kvcal_program_test EN_KVCAL ZH_KVCAL SCRIPTED_KVCAL\n");
        return 2;
    }
    g_english = argv[1];
    g_chinese = argv[2];
    g_scripted = argv[3];
    return RUN_ALL_TESTS();
}
