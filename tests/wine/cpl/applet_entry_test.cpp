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

struct EditionCase {
    const char* path;
    const char* name;    // as code page 936 or plain ASCII bytes
    const char* info;
    const char* deviceText;
    const char* tipCaption;
};

const EditionCase kEditions[] = {
    {KV_CPL_EN_US, "Kestiva Settings", "Kestiva ControlPanel", "Device didn't connect or Driver isn't installed.",
     "Tip"},
    {KV_CPL_ZH_CN, "Kestiva \xB4\xA5\xC3\xFE\xC6\xC1\xC9\xE8\xD6\xC3",
     "Kestiva \xB4\xA5\xC3\xFE\xC6\xC1\xBF\xD8\xD6\xC6\xC3\xE6\xB0\xE5",
     "\xC9\xE8\xB1\xB8\xCE\xB4\xC1\xAC\xBD\xD3\xBB\xF2\xC7\xFD\xB6\xAF\xB3\xCC\xD0\xF2\xCE\xB4\xB0\xB2\xD7\xB0\xA1\xA3",
     "\xCC\xE1\xCA\xBE"},
};

// A string of MODULE as the ANSI functions give it on a code page 936 system.
std::string TextIn936(HMODULE module, UINT id) {
    WCHAR wide[256] = L"";
    LoadStringW(module, id, wide, 256);
    char bytes[512] = "";
    WideCharToMultiByte(936, 0, wide, -1, bytes, sizeof bytes, nullptr, nullptr);
    return bytes;
}

TEST(AppletEntry, NewInquireFillsTheRecordInEachEdition) {
    for (const EditionCase& c : kEditions) {
        SCOPED_TRACE(c.path);
        LoadedApplet applet(c.path);
        ASSERT_TRUE(applet.Ready());
        NEWCPLINFOA info;
        memset(&info, 0xCD, sizeof info);
        EXPECT_EQ(applet.Send(CPL_NEWINQUIRE, 0, reinterpret_cast<LPARAM>(&info)), 0);
        EXPECT_EQ(info.dwSize, sizeof(NEWCPLINFOA));
        EXPECT_EQ(info.dwFlags, 0u);
        EXPECT_EQ(info.dwHelpContext, 0u);
        EXPECT_EQ(info.lData, 0);
        EXPECT_NE(info.hIcon, nullptr);
        EXPECT_STREQ(info.szHelpFile, "");
        // The record holds ANSI text of the running code page; what the
        // resources give a code page 936 system is checked byte for byte.
        if (GetACP() == 936 || static_cast<unsigned char>(c.name[8]) < 0x80) {
            EXPECT_STREQ(info.szName, c.name);
        }
        EXPECT_EQ(TextIn936(applet.Module(), 5001), c.name);
        EXPECT_EQ(TextIn936(applet.Module(), 5002), c.info);
        EXPECT_EQ(TextIn936(applet.Module(), 5003), c.deviceText);
        EXPECT_EQ(TextIn936(applet.Module(), 5004), c.tipCaption);
    }
}

#if defined(__i386__)
static_assert(sizeof(NEWCPLINFOA) == 244, "the control panel's record on 32-bit Windows");
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
// the control panel's window, and answers 0. The box's text arrives in the
// running code page, so the zh-CN edition is read where that is 936.
TEST(AppletEntry, DoubleClickWithoutDriverShowsOnlyTheTip) {
    ASSERT_TRUE(DriverAbsent());
    for (const EditionCase& c : kEditions) {
        if (c.path == kEditions[1].path && GetACP() != 936) continue;
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
