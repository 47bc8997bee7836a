// The shipped kvcal.exe of each edition under Wine, where no driver runs:
// the device message with its exact bytes, a second instance ending at
// once, the editions' texts as the ANSI API gets them, and the start-up
// time to the first target (on the scripted build), reported, not judged.
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
#include "registry.h"

namespace {

std::string g_english, g_chinese, g_scripted;

using kvtest::Process;
using kvtest::WindowsPath;

struct EditionCase {
    const char* edition;
    const std::string* path;
    const char* text;
    const char* caption;
};

TEST(KvcalProgram, NoDriverShowsTheDeviceMessage) {
    const EditionCase cases[] = {
        {"en-US", &g_english, "Device didn't connect or Driver isn't installed.", " Confirm"},
        {"zh-CN", &g_chinese,
         "\xc9\xe8\xb1\xb8\xce\xb4\xc1\xac\xbd\xd3\xbb\xf2\xc7\xfd\xb6\xaf\xb3\xcc\xd0\xf2\xce\xb4\xb0\xb2\xd7\xb0\xa1"
         "\xa3",
         " \xc8\xb7\xc8\xcf"},
    };
    for (const EditionCase& c : cases) {
        Process program(*c.path);
        ASSERT_TRUE(program.Started()) << c.edition;
        HWND message = nullptr;
        ASSERT_TRUE(kvtest::WaitFor([&] { return (message = program.Window()) != nullptr; }, 20000)) << c.edition;
        EXPECT_EQ(kvtest::DialogItemText(message, 1001), c.text) << c.edition;
        EXPECT_EQ(kvtest::WindowTitle(message), c.caption) << c.edition;
        PostMessageA(message, WM_COMMAND, IDOK, 0);
        ASSERT_TRUE(program.Ended(10000)) << c.edition;
        EXPECT_EQ(program.ExitCode(), 0u) << c.edition;
    }
}

TEST(KvcalProgram, SecondInstanceEndsAtOnce) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kvcal::kWindowClass;
    RegisterClassA(&wc);
    HWND running = CreateWindowExA(0, kvcal::kWindowClass, kvcal::kWindowTitle, WS_POPUP, 0, 0, 10, 10, nullptr,
                                   nullptr, wc.hInstance, nullptr);
    ASSERT_NE(running, nullptr);
    Process second(g_english);
    ASSERT_TRUE(second.Started());
    // Without a driver it would wait in its device message; it ends first.
    EXPECT_TRUE(second.Ended(15000));
    EXPECT_EQ(second.ExitCode(), 0u);
    DestroyWindow(running);
    UnregisterClassA(kvcal::kWindowClass, wc.hInstance);
}

struct TextCase {
    UINT id;
    const char* english;  // null: the edition has no such text
    const char* chinese;
};

TEST(KvcalProgram, EditionTextsReachTheAnsiApiInTheirCodePage) {
    const TextCase cases[] = {
        {IDS_NO_DEVICE, "Device didn't connect or Driver isn't installed.",
         "\xc9\xe8\xb1\xb8\xce\xb4\xc1\xac\xbd\xd3\xbb\xf2\xc7\xfd\xb6\xaf\xb3\xcc\xd0\xf2\xce\xb4\xb0\xb2\xd7\xb0\xa1"
         "\xa3"},
        {IDS_NO_DEVICE_CAPTION, " Confirm", " \xc8\xb7\xc8\xcf"},
        {IDS_CONFIRM, "Is cursor lined up with the finger touch on?",
         "\xb9\xe2\xb1\xea\xca\xc7\xb7\xf1\xd3\xeb\xca\xd6\xd6\xb8\xb4\xa5\xc3\xfe\xb5\xe3\xb6\xd4\xc6\xeb\xa3\xbf"},
        {IDS_CONFIRM_CAPTION, " Confirm Calibration", " \xc8\xb7\xc8\xcf\xd0\xa3\xd7\xbc"},
        {IDS_NO_PRIVILEGE, "To do this opration should have administrators privilege.",
         "\xd6\xb4\xd0\xd0\xb4\xcb\xb2\xd9\xd7\xf7\xd0\xe8\xd2\xaa\xb9\xdc\xc0\xed\xd4\xb1\xc8\xa8\xcf\xde\xa1\xa3"},
        {IDS_NO_PRIVILEGE_CAPTION, "Error", "\xb4\xed\xce\xf3"},
        {IDS_WRONG_DRIVER, nullptr,
         "\xd2\xd1\xb0\xb2\xd7\xb0\xb5\xc4\xc7\xfd\xb6\xaf\xb3\xcc\xd0\xf2\xb0\xe6\xb1\xbe\xb2\xbb\xd5\xfd\xc8\xb7\xa1"
         "\xa3"},
        {IDS_INSTRUCTION, "Please touch the cross field to calibrate, and press ESCAPE key to cancel.", ""},
    };
    HMODULE english = LoadLibraryExA(WindowsPath(g_english).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    HMODULE chinese = LoadLibraryExA(WindowsPath(g_chinese).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(english, nullptr);
    ASSERT_NE(chinese, nullptr);
    for (const TextCase& c : cases) {
        std::string text;
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

// Launch to the first target on screen, five times; prints the figures.
TEST(KvcalProgram, StartUpTimeToTheFirstTarget) {
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

// Runs in a prefix of its own where no driver was ever loaded; the
// programs it starts read this at their start-up (see kvcal_prefix.sh).
void UnmanagedWindowsForChildren() {
    kvtest::UserKey("Software\\Wine\\X11 Driver").SetText("Managed", "N");
}

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    UnmanagedWindowsForChildren();
    if (argc != 4) {
        fprintf(stderr, "usage: kvcal_program_test EN_KVCAL ZH_KVCAL SCRIPTED_KVCAL\n");
        return 2;
    }
    g_english = argv[1];
    g_chinese = argv[2];
    g_scripted = argv[3];
    return RUN_ALL_TESTS();
}
