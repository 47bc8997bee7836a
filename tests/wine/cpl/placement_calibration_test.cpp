// The Screen Placement page on single- and dual-monitor desktops, and the
// Calibration page starting the calibration program.
#include <gtest/gtest.h>

#include "applet_run.h"
#include "gui_wait.h"
#include "process_runner.h"
#include "tab_page4.h"

namespace {

const int kPlacementPage = 3;

// A desktop of the test's: how many monitors, and the last one's name.
int32_t g_fakeMonitors = 1;
int32_t g_fakeLastMonitorCode = 1;
int32_t FakeMonitors() {
    g_lastMonitorCode = g_fakeLastMonitorCode;
    return g_fakeMonitors;
}

enum PlacementAction { kLook, kClickSingle, kClickRight };

struct PlacementPageCase {
    const char* name;
    int32_t monitors;
    int32_t lastMonitor;  // what the monitor enumeration left
    DWORD stored;
    PlacementAction action;
    int checked;          // the one checked button when shown
    bool singleEnabled;   // the other six are the opposite
    DWORD storedOnOk;
};

const PlacementPageCase kPlacementPageCases[] = {
    {"single monitor, stored top: shown checked but disabled", 1, 1, 3, kLook, IDC_PLACE_TOP, true, 3},
    {"single monitor, click single", 1, 1, 3, kClickSingle, IDC_PLACE_TOP, true, 0},
    {"two monitors, stored 0 becomes primary", 2, 2, 0, kLook, IDC_PLACE_PRIMARY, false, 6},
    {"three monitors", 3, 3, 2, kLook, IDC_PLACE_RIGHT, false, 2},
    {"a lone monitor of another name is still one", 1, 4, 5, kLook, IDC_PLACE_SLAVE, true, 5},
    {"two monitors with DISPLAY1 enumerated last are two", 2, 1, 5, kLook, IDC_PLACE_SLAVE, false, 5},
    {"dual, click right", 2, 2, 5, kClickRight, IDC_PLACE_SLAVE, false, 2},
    {"code 9 on a single monitor checks single and stays 9", 1, 1, 9, kLook, IDC_PLACE_SINGLE, true, 9},
    {"code 9 on a dual desktop checks single and stays 9", 2, 2, 9, kLook, IDC_PLACE_SINGLE, false, 9},
};

TEST(PlacementPage, OffersTheChoicesOfTheDesktopAndReturnsTheCode) {
    for (const PlacementPageCase& c : kPlacementPageCases) {
        SCOPED_TRACE(c.name);
        AppletRun run("PlacementPage");
        run.StoreUsual();
        run.keys.driver.SetDword("DBScreenPos", c.stored);
        g_fakeMonitors = c.monitors;
        g_fakeLastMonitorCode = c.lastMonitor;
        run.applet.prepare = [](CControlPanelDlg* d) { d->placementPage.probeMonitors = FakeMonitors; };
        std::vector<int> checked;
        std::vector<int> wrongEnabled;
        run.Open([&](CControlPanelDlg* d) {
            ShowPage(d, kPlacementPage);
            HWND page = d->placementPage.Handle();
            for (int id = IDC_PLACE_SINGLE; id <= IDC_PLACE_BOTTOM; ++id) {
                if (IsDlgButtonChecked(page, id) == BST_CHECKED) checked.push_back(id);
                bool enabled = IsWindowEnabled(GetDlgItem(page, id)) != FALSE;
                if (enabled != ((id == IDC_PLACE_SINGLE) == c.singleEnabled)) wrongEnabled.push_back(id);
            }
            if (c.action == kClickSingle) Click(page, IDC_PLACE_SINGLE);
            if (c.action == kClickRight) Click(page, IDC_PLACE_RIGHT);
            Press(d, IDOK);
        });
        EXPECT_EQ(checked, std::vector<int>{c.checked});
        EXPECT_TRUE(wrongEnabled.empty()) << "first wrongly enabled or disabled: " << wrongEnabled[0];
        EXPECT_EQ(run.Stored("DBScreenPos"), c.storedOnOk);
    }
}

TEST(PlacementPage, NeverShownSendsBackZeroEvenOnADualDesktop) {
    AppletRun run("PlacementHidden");
    run.StoreUsual();
    g_fakeMonitors = 2;
    run.applet.prepare = [](CControlPanelDlg* d) { d->placementPage.probeMonitors = FakeMonitors; };
    run.Open([](CControlPanelDlg* d) { Press(d, IDOK); });
    EXPECT_EQ(run.Stored("DBScreenPos"), 0u);
}

TEST(PlacementPage, MonitorEnumerationNamesWinesOneDisplay) {
    g_lastMonitorCode = 0;
    EXPECT_EQ(ProbeDisplayMonitors(), 1);
    EXPECT_EQ(g_lastMonitorCode, 1) << "Wine's single monitor is \\\\.\\DISPLAY1";
}

// A folder tree under C:\ with a blank in the Program Files folder's name,
// a marker program where the calibration program belongs, and a decoy
// where an unquoted command line would be cut at the blank.
class CalibrationFolders {
public:
    explicit CalibrationFolders(bool withProgram) {
        CreateDirectoryA(kRoot, nullptr);
        CreateDirectoryA(kProgramFiles, nullptr);
        CreateDirectoryA(kKvusb, nullptr);
        if (withProgram) CopyFileA(MarkerPath().c_str(), kProgram, FALSE);
        CopyFileA(MarkerPath().c_str(), kDecoy, FALSE);
    }
    ~CalibrationFolders() {
        const char* files[] = {kProgram, kProgramRan, kDecoy, kDecoyRan};
        for (const char* f : files) DeleteFileA(f);
        RemoveDirectoryA(kKvusb);
        RemoveDirectoryA(kProgramFiles);
        RemoveDirectoryA(kRoot);
    }
    static std::string MarkerPath() { return kvtest::BesideThisProgram("kvtest_marker.exe"); }
    // Lines the marker wrote for FILE within a few seconds, waiting for WANT.
    static int Runs(const char* file, int want) {
        int lines = 0;
        kvtest::WaitFor([&] { return (lines = Lines(file)) >= want; });
        return lines;
    }
    static int Lines(const char* file) {
        int lines = 0;
        HANDLE h = CreateFileA(file, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                               OPEN_EXISTING, 0, nullptr);
        if (h == INVALID_HANDLE_VALUE) return 0;
        char data[256];
        DWORD read = 0;
        ReadFile(h, data, sizeof data, &read, nullptr);
        CloseHandle(h);
        for (DWORD i = 0; i < read; ++i) lines += data[i] == '\n';
        return lines;
    }

    static constexpr const char* kRoot = "C:\\kvtest";
    static constexpr const char* kProgramFiles = "C:\\kvtest\\Program Files";
    static constexpr const char* kKvusb = "C:\\kvtest\\Program Files\\KVUSB";
    static constexpr const char* kProgram = "C:\\kvtest\\Program Files\\KVUSB\\kvcal.exe";
    static constexpr const char* kProgramRan = "C:\\kvtest\\Program Files\\KVUSB\\kvcal.exe.ran";
    static constexpr const char* kDecoy = "C:\\kvtest\\Program.exe";
    static constexpr const char* kDecoyRan = "C:\\kvtest\\Program.exe.ran";
};

// Opens the applet with ProgramFilesDir in a test key and clicks Calibrate
// CLICKS times; returns the message boxes that came up.
std::vector<SeenBox> ClickCalibrate(AppletRun* run, const char* programFilesDir, int clicks) {
    const kvtest::RegKey versionKey = run->keys.root.Sub("CurrentVersion");
    if (programFilesDir) versionKey.SetText("ProgramFilesDir", programFilesDir);
    static std::string place;
    place = versionKey.Path();
    run->applet.programFiles = {HKEY_CURRENT_USER, place.c_str()};
    std::vector<SeenBox> seen;
    run->Open([&](CControlPanelDlg* d) {
        HWND page = d->calibrationPage.Handle();
        for (int i = 0; i < clicks; ++i) {
            // The page's message box runs its own loop; close it from there.
            WindowScript closer([&] { return CloseMessageBoxes(&seen); });
            Click(page, IDC_CALIBRATE);
        }
        Press(d, IDCANCEL);
    });
    return seen;
}

TEST(CalibrationPage, StartsTheProgramQuotedEvenWithABlankInTheFolder) {
    CalibrationFolders folders(true);
    AppletRun run("Calibrate");
    std::vector<SeenBox> seen = ClickCalibrate(&run, CalibrationFolders::kProgramFiles, 2);
    EXPECT_TRUE(seen.empty());
    EXPECT_EQ(CalibrationFolders::Runs(CalibrationFolders::kProgramRan, 2), 2) << "each click starts one program";
    EXPECT_EQ(CalibrationFolders::Runs(CalibrationFolders::kDecoyRan, 0), 0) << "the decoy at the blank ran";
}

TEST(CalibrationPage, MissingProgramHasNoVisibleEffect) {
    CalibrationFolders folders(false);
    AppletRun run("CalibrateMissing");
    EXPECT_TRUE(ClickCalibrate(&run, CalibrationFolders::kProgramFiles, 1).empty());
    // A decoy the click started has run to its end.
    EXPECT_TRUE(kvtest::WaitFor([] {
        return !kvtest::AnyProcess([](const PROCESSENTRY32& p) { return lstrcmpiA(p.szExeFile, "Program.exe") == 0; });
    }));
    EXPECT_EQ(CalibrationFolders::Runs(CalibrationFolders::kDecoyRan, 0), 0);
}

TEST(CalibrationPage, UnreadableKeySaysSoWithTheApplicationsName) {
    AppletRun run("CalibrateNoKey");
    std::vector<SeenBox> seen = ClickCalibrate(&run, nullptr, 1);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, L"Open Registry failed.");
    EXPECT_EQ(seen[0].title, L"cpl_dialog_test");
}

}  // namespace
