// The built kvcplusb.cpl of each edition, loaded as the control panel
// loads it and driven through every control panel message.
#include <gtest/gtest.h>

#include <cpl.h>

#include "kvshared.h"
#include "kvvirt_client.h"
#include "window_script.h"

namespace {

typedef LONG(APIENTRY* AppletProc)(HWND, UINT, LPARAM, LPARAM);

class LoadedApplet {
public:
    explicit LoadedApplet(const char* path) : module_(LoadLibraryA(path)) {
        proc_ = module_ ? reinterpret_cast<AppletProc>(reinterpret_cast<void*>(GetProcAddress(module_, "CPlApplet")))
                        : nullptr;
    }
    ~LoadedApplet() {
        if (module_) FreeLibrary(module_);
    }
    bool Ready() const { return proc_ != nullptr; }
    LONG Send(UINT message, LPARAM a = 0, LPARAM b = 0, HWND panel = nullptr) { return proc_(panel, message, a, b); }
    HMODULE Module() const { return module_; }

private:
    HMODULE module_;
    AppletProc proc_ = nullptr;
};

struct AnswerCase {
    UINT message;
    LPARAM first, second;
    LONG answer;
};

const AnswerCase kAnswers[] = {
    {CPL_INIT, 0, 0, 1},   {CPL_GETCOUNT, 0, 0, 1}, {CPL_SELECT, 0, 0, 1}, {CPL_SELECT, 7, 99, 1},
    {CPL_STOP, 0, 0, 1},   {CPL_STOP, 3, 5, 1},     {CPL_EXIT, 0, 0, 0},   {0, 0, 0, 1},
    {CPL_STARTWPARMSA, 0, 0, 0}, {CPL_STARTWPARMSW, 0, 0, 0}, {11, 0, 0, 1}, {WM_USER, 1, 2, 1},
};

TEST(AppletEntry, AnswersEveryMessage) {
    LoadedApplet applet(KV_CPL_EN_US);
    ASSERT_TRUE(applet.Ready());
    for (const AnswerCase& c : kAnswers) {
        EXPECT_EQ(applet.Send(c.message, c.first, c.second), c.answer) << "message " << c.message;
    }
}

TEST(AppletEntry, InquireLeavesTheRecordAlone) {
    LoadedApplet applet(KV_CPL_EN_US);
    ASSERT_TRUE(applet.Ready());
    CPLINFO info;
    memset(&info, 0xAB, sizeof info);
    EXPECT_EQ(applet.Send(CPL_INQUIRE, 0, reinterpret_cast<LPARAM>(&info)), 0);
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(&info);
    for (size_t i = 0; i < sizeof info; ++i) ASSERT_EQ(bytes[i], 0xAB) << "byte " << i;
}

// The texts as the user reads them, in UTF-16 on every system: the
// control panel tells the wide record by its size.
struct EditionCase {
    const char* path;
    const wchar_t* name;
    const wchar_t* info;
    const wchar_t* deviceText;
    const wchar_t* tipCaption;
};

const EditionCase kEditions[] = {
    {KV_CPL_EN_US, L"Kestiva Settings", L"Kestiva ControlPanel", L"Device didn't connect or Driver isn't installed.",
     L"Tip"},
    {KV_CPL_ZH_CN, L"Kestiva \u89e6\u6478\u5c4f\u8bbe\u7f6e", L"Kestiva \u89e6\u6478\u5c4f\u63a7\u5236\u9762\u677f",
     L"\u8bbe\u5907\u672a\u8fde\u63a5\u6216\u9a71\u52a8\u7a0b\u5e8f\u672a\u5b89\u88c5\u3002", L"\u63d0\u793a"},
};

TEST(AppletEntry, NewInquireFillsTheRecordInEachEdition) {
    for (const EditionCase& c : kEditions) {
        SCOPED_TRACE(c.path);
        LoadedApplet applet(c.path);
        ASSERT_TRUE(applet.Ready());
        NEWCPLINFOW info;
        memset(&info, 0xCD, sizeof info);
        EXPECT_EQ(applet.Send(CPL_NEWINQUIRE, 0, reinterpret_cast<LPARAM>(&info)), 0);
        EXPECT_EQ(info.dwSize, sizeof(NEWCPLINFOW));
        EXPECT_EQ(info.dwFlags, 0u);
        EXPECT_EQ(info.dwHelpContext, 0u);
        EXPECT_EQ(info.lData, 0);
        EXPECT_NE(info.hIcon, nullptr);
        EXPECT_STREQ(info.szHelpFile, L"");
        EXPECT_STREQ(info.szName, c.name);
        EXPECT_STREQ(info.szInfo, c.info);
    }
}

#if defined(__i386__)
static_assert(sizeof(NEWCPLINFOW) == 468, "the control panel's wide record on 32-bit Windows");
#endif

TEST(AppletEntry, RunsWhereItIsMeantTo) {
    // The cp936 run of this program must really have the Chinese code page.
    const char* lang = getenv("LANG");
    if (lang && strncmp(lang, "zh_CN", 5) == 0) {
        EXPECT_EQ(GetACP(), 936u);
    }
}

// Takes away the driver an earlier test may have left loaded in the
// virtual touch controller; true when the control device is gone.
bool DriverAbsent() {
    kvvirt::Client harness;
    std::string error;
    if (harness.Open(&error)) harness.Unload(&error);
    HANDLE device = CreateFileA(KV_CONTROL_DEVICE_PATH, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (device == INVALID_HANDLE_VALUE) return true;
    CloseHandle(device);
    return false;
}

// Without the driver, double-clicking shows only the "Tip" box, owned by
// the control panel's window, and answers 0; in either edition's words on
// any system.
TEST(AppletEntry, DoubleClickWithoutDriverShowsOnlyTheTip) {
    ASSERT_TRUE(DriverAbsent());
    for (const EditionCase& c : kEditions) {
        SCOPED_TRACE(c.path);
        LoadedApplet applet(c.path);
        ASSERT_TRUE(applet.Ready());
        HWND panel = CreateWindowExA(0, "STATIC", "panel", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
        std::vector<SeenBox> seen;
        LONG answer;
        {
            WindowScript script([&] { return CloseMessageBoxes(&seen); });
            answer = applet.Send(CPL_DBLCLK, 0, 0, panel);
        }
        DestroyWindow(panel);
        EXPECT_EQ(answer, 0);
        ASSERT_EQ(seen.size(), 1u);
        EXPECT_EQ(seen[0].title, c.tipCaption);
        EXPECT_EQ(seen[0].text, c.deviceText);
        EXPECT_EQ(seen[0].owner, panel);
    }
}

}  // namespace
