// Shortcuts read back through the shell link object, the RunOnce entry and
// the restart request.
#include <gtest/gtest.h>

#include <objbase.h>
#include <shlobj.h>

#include "completion.h"
#include "edition_modules.h"
#include "package_fixture.h"
#include "package_names.h"
#include "package_paths.h"
#include "shell_link_reader.h"
#include "shortcuts.h"
#include "texts_cp936.h"

namespace {

struct RestartRecord {
    int calls = 0;
    UINT flags = 0;
    DWORD reason = 0;
} g_restart;

BOOL WINAPI RecordRestart(UINT flags, DWORD reason) {
    ++g_restart.calls;
    g_restart.flags = flags;
    g_restart.reason = reason;
    return TRUE;
}

class CompletionTest : public testing::Test {
protected:
    void SetUp() override {
        CoInitialize(nullptr);
        ResetInstalledState();
        g_restart = RestartRecord();
        SetRestartFunction(RecordRestart);
    }
    void TearDown() override {
        SetRestartFunction(nullptr);
        ResetInstalledState();
    }
    std::string StartMenu() const { return CommonProgramsFolder() + "\\Kestiva USB\\"; }
    // The link NAME (code page 936 bytes or ASCII) as the user sees it, on
    // any system: this prefix's code page is not 936.
    LinkData Link(const char* name) const { return ReadLink(WidePath(StartMenu()) + Utf16From936(name)); }
    std::string Program(const char* name) const { return ProgramFilesFolder() + "\\KVUSB\\" + name; }

};

TEST_F(CompletionTest, FourShortcutsInEachEditionPointIntoTheProgramFolder) {
    struct EditionLinks {
        Edition edition;
        const char* names[4];
    } editions[] = {
        {Edition::English, {"Calibrate.lnk", "Uninstall.lnk", "Readme.lnk", "ControlPanel.lnk"}},
        {Edition::Chinese, {KV_LINK_CALIBRATE_ZH, KV_LINK_UNINSTALL_ZH, KV_LINK_README_ZH, KV_LINK_CONTROL_PANEL_ZH}},
    };
    const char* targets[] = {"kvcal.exe", "uninst.exe", "readme.htm", "kvcplusb.cpl"};
    const char* descriptions[] = {"Calibrate the touch field", "Uninstall the application", "Readme", "kvcplusb"};
    for (const EditionLinks& e : editions) {
        ResetInstalledState();
        CreateStartMenuShortcuts(SetupTexts(e.edition));
        for (int i = 0; i < 4; ++i) {
            const LinkData link = Link(e.names[i]);
            EXPECT_EQ(link.path, Program(targets[i])) << e.names[i];
            EXPECT_EQ(link.description, descriptions[i]) << e.names[i];
        }
        const LinkData applet = Link(e.names[3]);
        EXPECT_EQ(applet.icon, Program("KvUsb.dll"));
        EXPECT_EQ(applet.iconIndex, 2);
        EXPECT_EQ(Link(e.names[0]).icon, "") << "the program's own icon";
    }
}

// On a Chinese system (code page 936) the link names are the Chinese words
// themselves; the test runs there too (LC_ALL=zh_CN.UTF-8 under Wine).
TEST_F(CompletionTest, ChineseLinkNamesAreCodePage936Bytes) {
    if (GetACP() != 936) GTEST_SKIP() << "needs the Chinese code page";
    CreateStartMenuShortcuts(SetupTexts(Edition::Chinese));
    WCHAR folder[MAX_PATH] = {};
    MultiByteToWideChar(CP_ACP, 0, StartMenu().c_str(), -1, folder, MAX_PATH);
    for (const wchar_t* name : {L"\u6821\u6b63\u7a0b\u5e8f.lnk", L"\u5378\u8f7d\u9a71\u52a8.lnk",
                                L"\u4f7f\u7528\u8bf4\u660e.lnk", L"\u63a7\u5236\u9762\u677f.lnk"}) {
        const std::wstring path = std::wstring(folder) + name;
        EXPECT_NE(GetFileAttributesW(path.c_str()), INVALID_FILE_ATTRIBUTES);
    }
}

TEST_F(CompletionTest, InstallingTwiceOverwritesTheShortcuts) {
    CreateStartMenuShortcuts(SetupTexts(Edition::English));
    CreateStartMenuShortcuts(SetupTexts(Edition::English));
    EXPECT_EQ(ReadLink(StartMenu() + "Calibrate.lnk").path, Program("kvcal.exe"));
}

TEST_F(CompletionTest, UnknownStartMenuFolderMakesNoShortcutAnywhere) {
    CommonProgramsFolder();
    kvtest::RemovedRegistry commonPrograms(MachineKey(KV_SHELL_FOLDERS_KEY), KV_COMMON_PROGRAMS_VALUE);
    CreateStartMenuShortcuts(SetupTexts(Edition::English));
    EXPECT_FALSE(FileExists("\\Kestiva USB"));
    EXPECT_FALSE(FileExists("\\Kestiva USB\\Calibrate.lnk"));
}

TEST_F(CompletionTest, RestartRegistersTheQuotedCalibrationPathAndAsksForAReboot) {
    EXPECT_EQ(ScheduleCalibrationAndRestart(), 0u);
    EXPECT_EQ(RunOnceValue(), "\"" + Program("kvcal.exe") + "\"");
    EXPECT_EQ(g_restart.calls, 1);
    EXPECT_EQ(g_restart.flags, static_cast<UINT>(EWX_REBOOT));
    EXPECT_EQ(g_restart.reason, 0xFFFFFFFFu);
}

TEST_F(CompletionTest, UnknownProgramFolderNeitherRegistersNorRestarts) {
    kvtest::RemovedRegistry programFiles(MachineKey(KV_CURRENT_VERSION_KEY), KV_PROGRAM_FILES_VALUE);
    EXPECT_NE(ScheduleCalibrationAndRestart(), 0u);
    EXPECT_EQ(RunOnceValue(), "");
    EXPECT_EQ(g_restart.calls, 0);
}

}  // namespace
