// The package's whole life on one system through its real programs, from
// the package folders laid out from this build: setup.exe with the
// controller plugged in, the installed driver running in the virtual touch
// controller, a calibration with four touches, a setting changed in the
// applet, and uninst.exe started from its own folder; then the system is
// as it was before setup. And without a controller: setup puts both INF
// files into the system's INF store for one to come, uninst takes them out.
#include <windows.h>
#include <commctrl.h>
#include <cpl.h>
#include <gtest/gtest.h>

#include <memory>

#include "cpl_ids.h"
#include "driver_session.h"
#include "kvshared.h"
#include "package_fixture.h"
#include "package_names.h"
#include "setup_run_fixture.h"
#include "user_actions.h"
#include "window_script.h"
#include "wizard_process.h"

namespace {

const char kHidId[] = "HID\\VID_7A4E&PID_0001";
// The raw touches at the four targets, and the calibration they make.
const POINT kTouches[] = {{500, 400}, {1500, 1200}, {502, 1198}, {1498, 402}};
const DWORD kCalibratedXHigh = 1998;
const DWORD kBeepTone = 5000;

class LifecycleTest : public SetupRunTest {
protected:
    // The system as a user's: the mouse class with its own filter, and the
    // harness's driver file in place (this test's, not the package's).
    void SetUp() override {
        SetupRunTest::SetUp();
        const std::string harnessDriver = kvtest::HarnessFolder() + "\\kvvirt.sys";
        CopyFileA(harnessDriver.c_str(), (SystemFolder() + "\\drivers\\kvvirt.sys").c_str(), FALSE);
        clean_ = TakeSystemSnapshot();
        MachineKey(KV_MOUSE_CLASS_KEY).SetList(KV_UPPER_FILTERS, {"mouclass"});
        before_ = TakeSystemSnapshot();
    }
    void TearDown() override {
        StopHarness();
        SetupRunTest::TearDown();
    }

    // The virtual touch controller on the driver file setup installed (the
    // harness installs the kvusb.sys that lies beside its own driver).
    void StartHarnessOnTheInstalledDriver() {
        char temp[MAX_PATH] = {};
        GetTempPathA(sizeof temp, temp);
        const std::string folder = std::string(temp) + "kv harness";
        CreateDirectoryA(folder.c_str(), nullptr);
        const std::string harnessDriver = kvtest::HarnessFolder() + "\\kvvirt.sys";
        ASSERT_TRUE(CopyFileA(harnessDriver.c_str(), (folder + "\\kvvirt.sys").c_str(), FALSE));
        const std::string installedDriver = SystemFolder() + "\\drivers\\kvusb.sys";
        ASSERT_TRUE(CopyFileA(installedDriver.c_str(), (folder + "\\kvusb.sys").c_str(), FALSE));
        std::string error;
        harnessStarted_ = harness_.Start(folder, &error);
        for (const char* file : {"\\kvvirt.sys", "\\kvusb.sys"}) DeleteFileA((folder + file).c_str());
        RemoveDirectoryA(folder.c_str());
        ASSERT_TRUE(harnessStarted_) << error;
        control_ = kvtest::DriverSession::OpenControlDevice();
        ASSERT_NE(control_, INVALID_HANDLE_VALUE);
    }

    // The harness lets go of kvusb.sys, as the system's restart of the
    // controller's stack does.
    void StopHarness() {
        if (control_ != INVALID_HANDLE_VALUE) CloseHandle(control_);
        control_ = INVALID_HANDLE_VALUE;
        std::string error;
        if (!harnessStarted_) return;
        EXPECT_TRUE(harness_.Unload(&error)) << error;
        harnessStarted_ = false;
    }

    DWORD CaptureState() {
        CaptureRecord record = {};
        DWORD returned = 0;
        DeviceIoControl(control_, IOCTL_POINTER_GET_CAPTURE, nullptr, 0, &record, sizeof record, &returned, nullptr);
        return record.State;
    }

    // kvcal.exe from the program folder, as its link starts it: each target
    // touched once the driver's capture is armed for it, then OK.
    void Calibrate() {
        kvtest::Process kvcal(InstalledProgramFolder() + "kvcal.exe", InstalledProgramFolder());
        for (const POINT& touch : kTouches) {
            ASSERT_TRUE(kvtest::WaitFor([&] { return CaptureState() == CAPTURE_ARMED; }, 20000));
            std::vector<BYTE> arrived;
            std::string error;
            for (BYTE contact : {1, 1, 0}) {
                ASSERT_TRUE(harness_.Report(kvtest::RawReport(contact, touch.x, touch.y), &arrived, &error)) << error;
            }
        }
        HWND confirm = nullptr;
        ASSERT_TRUE(kvtest::WaitFor([&] { return (confirm = kvcal.Window(nullptr, 1001)) != nullptr; }));
        PostMessageA(confirm, WM_COMMAND, IDOK, 0);
        EXPECT_TRUE(kvcal.Ended(10000));
    }

    // The installed applet, loaded as the control panel loads it: a new beep
    // tone, then Ok.
    void ChangeTheBeepToneInTheApplet() {
        typedef LONG(APIENTRY * AppletProc)(HWND, UINT, LPARAM, LPARAM);
        const HMODULE module = LoadLibraryA((SystemFolder() + "\\kvcplusb.cpl").c_str());
        ASSERT_NE(module, nullptr);
        const AppletProc applet =
            reinterpret_cast<AppletProc>(reinterpret_cast<void*>(GetProcAddress(module, "CPlApplet")));
        applet(nullptr, CPL_INIT, 0, 0);
        {
            WindowScript script([] {
                HWND dialog = FindThreadDialog(nullptr);
                HWND sheet = dialog ? FindWindowExA(dialog, nullptr, "#32770", nullptr) : nullptr;
                if (!sheet) return false;
                PropSheet_SetCurSel(sheet, nullptr, 1);
                DragTrackbar(PropSheet_GetCurrentPageHwnd(sheet), IDC_BEEP_TONE, kBeepTone);
                Press(dialog, IDOK);
                return true;
            });
            EXPECT_EQ(applet(nullptr, CPL_DBLCLK, 0, 0), 0);
        }
        applet(nullptr, CPL_STOP, 0, 0);
        applet(nullptr, CPL_EXIT, 0, 0);
        FreeLibrary(module);
    }

    // uninst.exe started in the program folder, as its link starts it, and
    // left with Finish.
    void Uninstall() {
        WizardProcess uninstaller(InstalledProgramFolder() + "uninst.exe", "winxp", InstalledProgramFolder());
        HWND sheet = uninstaller.WaitForWindow(nullptr);
        ASSERT_NE(sheet, nullptr);
        PressWhenSettled(sheet, PSBTN_FINISH);
        EXPECT_EQ(uninstaller.WaitForExit(), 0u);
        // Its batch removes the program folder after it: the next test
        // installs into that folder.
        EXPECT_TRUE(uninstaller.StartedProcessesEnded());
    }

    void RunLifecycle(const EditionFacts& edition) {
        std::unique_ptr<TestDevice> controller(new TestDevice({KV_CONTROLLER_HARDWARE_ID}));
        std::unique_ptr<TestDevice> child(new TestDevice({kHidId}));
        ASSERT_TRUE(controller->Created() && child->Created());
        RunToFinish(edition, "winxp", false);
        ExpectAppletStarted(edition);  // before the driver runs, it only says so
        ExpectSettingsKeyRules();
        // Where Windows keeps the controller's filter entry (Wine's device
        // install writes it into the node's Device Parameters instead).
        ASSERT_TRUE(controller->SetLowerFilters({KV_DRIVER_FILTER_ENTRY}));
        StartHarnessOnTheInstalledDriver();
        Calibrate();
        ChangeTheBeepToneInTheApplet();
        EXPECT_EQ(MachineKey(KV_PARAMETERS_KEY).Dword("XHigh", 0), kCalibratedXHigh);
        EXPECT_EQ(MachineKey(KV_PARAMETERS_KEY).Dword("BeepFreq", 0), kBeepTone);
        StopHarness();
        Uninstall();
        EXPECT_TRUE(WaitUntilGone(InstalledProgramFolder(), 30000));
        // Given back, not removed, and without the package's filter. (Wine's
        // input.inf has no model for a USB node: the system's driver itself
        // cannot come back here.)
        EXPECT_NE(controller->Property(SPDRP_HARDWAREID), "");
        EXPECT_TRUE(controller->LowerFilters().empty());
        child.reset();
        controller.reset();  // unplugged
        EXPECT_EQ(ChangedEntries(before_, TakeSystemSnapshot()), std::set<std::string>());
    }

    // What changed in the system's INF folder since the test began.
    std::set<std::string> InfStoreChanges() {
        const std::string infFolder = "FILE " + WindowsFolder() + "\\inf\\";
        std::set<std::string> changes;
        for (const std::string& entry : ChangedEntries(before_, TakeSystemSnapshot())) {
            if (entry.compare(0, infFolder.size(), infFolder) == 0) changes.insert(entry.substr(infFolder.size()));
        }
        return changes;
    }

    SystemSnapshot before_;
    kvvirt::Client harness_;
    bool harnessStarted_ = false;
    HANDLE control_ = INVALID_HANDLE_VALUE;
};

TEST_F(LifecycleTest, FromSetupToUninstallTheSystemEndsAsItWas) { RunLifecycle(kEnglish); }

// Wine keeps the INF files' own names where Windows says oemN.inf.
TEST_F(LifecycleTest, WithoutAControllerTheInfStoreHoldsBothInfFilesUntilUninstall) {
    RunToFinish(kEnglish, "winxp", false);
    ExpectAppletStarted(kEnglish);
    EXPECT_EQ(InfStoreChanges(), (std::set<std::string>{"kvfilt.inf", "kvfilt.pnf", "kvusb.inf", "kvusb.pnf"}));
    Uninstall();
    EXPECT_EQ(InfStoreChanges(), std::set<std::string>());
}

// Run on a Chinese system (code page 936).
TEST_F(LifecycleTest, ChineseEditionFromSetupToUninstallTheSystemEndsAsItWas) {
    if (GetACP() != 936) GTEST_SKIP() << "needs the Chinese code page";
    RunLifecycle(kChinese);
}

}  // namespace
