// The real setup.exe of each edition, started from its package folder and
// left with Finish, judged by what it leaves on the system: the files and
// registry entries, the Start-menu links, and the program it starts last
// (the applet, or after a restart the calibration program from RunOnce).
// No controller is plugged in, so neither program finds its driver, except
// in the rollback, whose controller's HID child never comes.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "package_fixture.h"
#include "package_names.h"
#include "shell_link_reader.h"
#include "system_snapshot.h"
#include "texts_cp936.h"
#include "wizard_process.h"

#ifndef KV_TEST_PACKAGE_DIR
#error KV_TEST_PACKAGE_DIR names the package folders laid out from this build
#endif

namespace {

const int kRestartBox = 137;

// What differs between the editions, as far as this test looks.
struct EditionFacts {
    const char* folder;
    const char* links[4];          // Calibrate, Uninstall, Readme, ControlPanel
    const wchar_t* appletTip;      // the applet's caption without a driver
    const wchar_t* calibrateTip;   // the calibration program's, likewise
    const char* rolledBack[2];     // the rollback message's text before its number, and caption
};

const EditionFacts kEnglish = {"en-US",
                               {"Calibrate.lnk", "Uninstall.lnk", "Readme.lnk", "ControlPanel.lnk"},
                               L"Tip",
                               L" Confirm",
                               {"The installation could not be completed and has been undone.\nError number: ",
                                "Error"}};
const EditionFacts kChinese = {"zh-CN",
                               {KV_LINK_CALIBRATE_ZH, KV_LINK_UNINSTALL_ZH, KV_LINK_README_ZH,
                                KV_LINK_CONTROL_PANEL_ZH},
                               L"\u63d0\u793a",       // 提示
                               L" \u786e\u8ba4",      // 确认
                               {KV_TEXT_INSTALL_UNDONE, KV_TEXT_ERROR_CAPTION}};

std::string PackageFolder(const EditionFacts& edition) {
    return kvtest::WindowsPath(std::string(KV_TEST_PACKAGE_DIR) + "/" + edition.folder + "/");
}

std::string ProgramFolder() { return ProgramFilesFolder() + KV_PROGRAM_FOLDER "\\"; }
std::string StartMenuFolder() { return CommonProgramsFolder() + KV_START_MENU_FOLDER; }

std::string FileContent(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

struct TitleSearch {
    const wchar_t* title;
    HWND found;
};

BOOL CALLBACK FindTitled(HWND hwnd, LPARAM lParam) {
    TitleSearch* search = reinterpret_cast<TitleSearch*>(lParam);
    WCHAR text[256] = {};
    GetWindowTextW(hwnd, text, 256);
    if (!IsWindowVisible(hwnd) || wcscmp(text, search->title)) return TRUE;
    search->found = hwnd;
    return FALSE;
}

// A visible top-level window of any process titled `title`, waited for up
// to `milliseconds`.
HWND WaitForAnyWindow(const wchar_t* title, DWORD milliseconds) {
    TitleSearch search = {title, nullptr};
    kvtest::WaitFor(
        [&] {
            EnumWindows(FindTitled, reinterpret_cast<LPARAM>(&search));
            return search.found != nullptr;
        },
        milliseconds);
    return search.found;
}

// The full path of the program that owns `window`.
std::string ProgramOf(HWND window) {
    DWORD id = 0;
    GetWindowThreadProcessId(window, &id);
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, id);
    if (!process) return std::string();
    typedef BOOL(WINAPI * QueryImageName)(HANDLE, DWORD, LPSTR, PDWORD);
    QueryImageName query = reinterpret_cast<QueryImageName>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "QueryFullProcessImageNameA")));
    char path[MAX_PATH] = {};
    DWORD size = sizeof path;
    if (!query || !query(process, 0, path, &size)) path[0] = '\0';
    CloseHandle(process);
    return path;
}

// Answers the message window with OK and waits up to 30 s for its program
// to end; true if it did.
bool AnswerAndWaitForItsProgram(HWND window) {
    DWORD id = 0;
    GetWindowThreadProcessId(window, &id);
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, id);
    PostMessageW(window, WM_COMMAND, IDOK, 0);
    const bool ended = process && WaitForSingleObject(process, 30000) == WAIT_OBJECT_0;
    if (process) CloseHandle(process);
    return ended;
}

// Answers the messages a failed test left open, so that the next test
// starts without them.
void AnswerLeftOverMessages() {
    for (const EditionFacts* edition : {&kEnglish, &kChinese}) {
        for (const wchar_t* title : {edition->appletTip, edition->calibrateTip}) {
            while (HWND window = WaitForAnyWindow(title, 0)) {
                if (!AnswerAndWaitForItsProgram(window)) break;
            }
        }
    }
}

std::string RunOnceValue() {
    HKEY key = nullptr;
    char value[MAX_PATH + 1] = {};
    DWORD size = MAX_PATH;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, KV_RUN_ONCE_KEY, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return "";
    RegQueryValueExA(key, "kvusbcal", nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size);
    RegCloseKey(key);
    return value;
}

class SetupFinishTest : public testing::Test {
protected:
    void SetUp() override {
        CoInitialize(nullptr);
        AnswerLeftOverMessages();
        ResetInstalledState();
        clean_ = TakeSystemSnapshot();
    }
    // The prefix is left as clean as it was found, for the uninstaller's
    // tests that share it.
    void TearDown() override {
        AnswerLeftOverMessages();
        ResetInstalledState();
        EXPECT_EQ(ChangedEntries(clean_, TakeSystemSnapshot()), std::set<std::string>());
        CoUninitialize();
    }

    // The edition's setup.exe from its package folder, told it runs on
    // `version`: Next, Next (checking the restart box if asked), Finish. The
    // message box it shows afterwards, if `message` asks for one, is read
    // (text and caption) and closed.
    void RunToFinish(const EditionFacts& edition, const char* version, bool restart,
                     std::string (*message)[2] = nullptr) {
        WizardProcess setup(PackageFolder(edition) + "setup.exe", version);
        ASSERT_TRUE(setup.Started());
        HWND sheet = setup.WaitForWindow(nullptr);
        ASSERT_NE(sheet, nullptr);
        ASSERT_TRUE(PressAndWaitForPage(sheet, PSBTN_NEXT, 1));
        if (restart) SendMessageA(CurrentPageControl(sheet, kRestartBox), BM_CLICK, 0, 0);
        ASSERT_TRUE(PressAndWaitForPage(sheet, PSBTN_NEXT, 2));
        PressWhenSettled(sheet, PSBTN_FINISH);
        if (message) {
            HWND box = setup.WaitForMessageBox((*message)[0], (*message)[1]);
            ASSERT_NE(box, nullptr) << "no message box";
            PostMessageA(box, WM_COMMAND, IDOK, 0);
        }
        EXPECT_EQ(setup.WaitForExit(), 0u);
    }

    // A controller whose HID child never comes: the installation is rolled
    // back, then told in the edition's words with its error number.
    void ExpectRollbackTold(const EditionFacts& edition) {
        TestDevice controller({KV_CONTROLLER_HARDWARE_ID});
        ASSERT_TRUE(controller.Created());
        std::string message[2];
        RunToFinish(edition, "winxp", false, &message);
        EXPECT_EQ(message[0], std::string(edition.rolledBack[0]) + "1603");
        EXPECT_EQ(message[1], edition.rolledBack[1]);
        EXPECT_FALSE(KeyExists(KV_DRIVER_SERVICE_KEY));
        EXPECT_FALSE(FileExists(StartMenuFolder())) << "nothing follows a rollback";
    }

    // The applet came up (without a driver it only tells so) and ends once
    // answered.
    void ExpectAppletStarted(const EditionFacts& edition) {
        HWND tip = WaitForAnyWindow(edition.appletTip, 30000);
        ASSERT_NE(tip, nullptr) << "the applet did not start";
        EXPECT_TRUE(AnswerAndWaitForItsProgram(tip));
    }

    // Each package file is in place with the package's content.
    void ExpectFilesCopied(const EditionFacts& edition) {
        const std::string package = PackageFolder(edition);
        const std::string system = SystemFolder() + "\\";
        const struct {
            std::string installed, source;
        } files[] = {
            {ProgramFolder() + "kvcal.exe", "kvcal.exe"},         {ProgramFolder() + "uninst.exe", "uninst.exe"},
            {ProgramFolder() + "kvrbtn.exe", "kvrbtn.exe"},       {ProgramFolder() + "readme.htm", "readme.txt"},
            {ProgramFolder() + "kvusb.inf", "kvusb.inf"},         {ProgramFolder() + "KvUsb.dll", "KvUsb.dll"},
            {ProgramFolder() + "kvcplusb.cpl", "kvcplusb.cpl"},   {system + "kvcplusb.cpl", "kvcplusb.cpl"},
            {system + "drivers\\kvusb.sys", "kvusb.sys"},         {system + "drivers\\kvfilt.sys", "kvfilt.sys"},
        };
        for (const auto& file : files) {
            const std::string expected = FileContent(package + file.source);
            ASSERT_FALSE(expected.empty()) << file.source << " is not in the package";
            EXPECT_TRUE(FileContent(file.installed) == expected) << file.installed;
        }
    }

    // The four links point into the program folder; the applet's shows the
    // icon library's third icon.
    void ExpectLinks(const EditionFacts& edition) {
        const char* targets[] = {"kvcal.exe", "uninst.exe", "readme.htm", "kvcplusb.cpl"};
        const char* descriptions[] = {"Calibrate the touch field", "Uninstall the application", "Readme", "kvcplusb"};
        for (int i = 0; i < 4; ++i) {
            const LinkData link = ReadLink(StartMenuFolder() + edition.links[i]);
            EXPECT_EQ(link.path, ProgramFolder() + targets[i]) << i;
            EXPECT_EQ(link.description, descriptions[i]) << i;
        }
        const LinkData applet = ReadLink(StartMenuFolder() + edition.links[3]);
        EXPECT_EQ(applet.icon, ProgramFolder() + "KvUsb.dll");
        EXPECT_EQ(applet.iconIndex, 2);
    }

    SystemSnapshot clean_;
};

TEST_F(SetupFinishTest, XpWithoutControllerInstallsThroughTheInfAndStartsTheApplet) {
    RunToFinish(kEnglish, "winxp", false);
    ExpectAppletStarted(kEnglish);
    ExpectFilesCopied(kEnglish);
    ExpectLinks(kEnglish);
    // Kept, not rolled back: the service keys as the XP path makes them, the
    // INF section's settings key that users may write.
    ExpectNewServiceKeys(SERVICE_ERROR_NORMAL);
    ExpectSettingsKeyRules();
    EXPECT_EQ(RunOnceValue(), "");
}

// Wine's ExitWindowsEx restarts no machine: it starts wineboot, which closes
// the windows of the session and runs (and deletes) the RunOnce entries at
// once, so the calibration program comes up from the installer's entry.
TEST_F(SetupFinishTest, XpWithRestartRunsTheCalibrationProgramFromRunOnceInsteadOfTheApplet) {
    RunToFinish(kEnglish, "winxp", true);
    HWND calibration = WaitForAnyWindow(kEnglish.calibrateTip, 30000);
    ASSERT_NE(calibration, nullptr) << "the calibration program did not start";
    EXPECT_EQ(ProgramOf(calibration), ProgramFolder() + "kvcal.exe");
    EXPECT_EQ(RunOnceValue(), "") << "run once and deleted";
    EXPECT_EQ(WaitForAnyWindow(kEnglish.appletTip, 0), nullptr) << "no applet before the restart";
    EXPECT_TRUE(AnswerAndWaitForItsProgram(calibration));
    ExpectFilesCopied(kEnglish);
    ExpectLinks(kEnglish);
}

TEST_F(SetupFinishTest, Windows2000CopiesTheFilesItselfAndStartsTheApplet) {
    RunToFinish(kEnglish, "win2k", false);
    ExpectAppletStarted(kEnglish);
    ExpectFilesCopied(kEnglish);
    ExpectLinks(kEnglish);
    EXPECT_EQ(FileContent(WindowsFolder() + "\\inf\\" KV_DRIVER_INF),
              FileContent(PackageFolder(kEnglish) + KV_DRIVER_INF));
    EXPECT_TRUE(FileExists(WindowsFolder() + "\\inf\\" KV_FILTER_INF));
    ExpectNewServiceKeys(SERVICE_ERROR_IGNORE);
    ExpectSettingsKeyRules();
}

TEST_F(SetupFinishTest, XpWithAControllerButNoHidChildRollsBackAndSaysSo) { ExpectRollbackTold(kEnglish); }

// Run on a Chinese system (code page 936), where the link names are the
// edition's Chinese words.
TEST_F(SetupFinishTest, ChineseEditionOnXpMakesItsChineseLinks) {
    if (GetACP() != 936) GTEST_SKIP() << "needs the Chinese code page";
    RunToFinish(kChinese, "winxp", false);
    ExpectAppletStarted(kChinese);
    ExpectFilesCopied(kChinese);
    ExpectLinks(kChinese);
    ExpectNewServiceKeys(SERVICE_ERROR_NORMAL);
}

TEST_F(SetupFinishTest, ChineseEditionTellsARollbackInChinese) {
    if (GetACP() != 936) GTEST_SKIP() << "needs the Chinese code page";
    ExpectRollbackTold(kChinese);
}

}  // namespace
