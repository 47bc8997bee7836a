// The real uninst.exe under Wine, started from the program folder the
// installer made, as the Start-menu link starts it: its one-page wizard,
// Cancel, and Finish on each kind of system, judged by what changed in the
// registry and the file tree.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "device_removal.h"
#include "edition_modules.h"
#include "install_by_inf.h"
#include "package_fixture.h"
#include "package_names.h"
#include "shortcuts.h"
#include "system_snapshot.h"
#include "texts_cp936.h"
#include "wizard_process.h"

namespace {

const char kHidId[] = "HID\\VID_7A4E&PID_0001";
typedef std::vector<std::string> List;

// A process environment variable set for the programs this test starts.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const char* value) : name_(name) {
        char old[MAX_PATH] = {};
        const DWORD length = GetEnvironmentVariableA(name, old, sizeof old);
        had_ = length > 0 && length < sizeof old;
        old_ = old;
        SetEnvironmentVariableA(name, value);
    }
    ~ScopedEnvironment() { SetEnvironmentVariableA(name_.c_str(), had_ ? old_.c_str() : nullptr); }

private:
    std::string name_, old_;
    bool had_ = false;
};

// The state the installer leaves for a controller and its HID child, with
// the real uninst.exe of `edition` in the program folder and the edition's
// Start-menu links; other products' mouse filters around ours.
class UninstallerTest : public PackageTest {
protected:
    void Install(Edition edition) {
        edition_ = edition;
        const char* built = edition == Edition::Chinese ? KV_UNINST_EXE_ZH : KV_UNINST_EXE_EN;
        ASSERT_TRUE(CopyFileA(built, (package.Path() + "uninst.exe").c_str(), FALSE)) << built;
        MachineKey(KV_MOUSE_CLASS_KEY).SetList(KV_UPPER_FILTERS, {"mouclass", "otherflt"});
        controller.reset(new TestDevice({KV_CONTROLLER_HARDWARE_ID}));
        child.reset(new TestDevice({kHidId}));
        ASSERT_EQ(InstallByInf(nullptr, package.DriverInf(), KV_INSTALL_SECTION, KV_CONTROLLER_HARDWARE_ID), 0u);
        CreateStartMenuShortcuts(SetupTexts(edition));
        ASSERT_TRUE(FileExists(Uninstaller()));
        ASSERT_TRUE(FileExists(StartMenuFolder()));
    }
    static std::string ProgramFolder() { return ProgramFilesFolder() + KV_PROGRAM_FOLDER; }
    static std::string Uninstaller() { return ProgramFolder() + "\\uninst.exe"; }
    static std::string StartMenuFolder() { return CommonProgramsFolder() + KV_START_MENU_FOLDER; }

    // Runs uninst.exe told it runs on `version`, in its own folder as the
    // Start-menu link starts it, checks that its welcome page offers Finish
    // only, runs `whileShown` and leaves the page with `button`. The message
    // box it shows afterwards, if `message` asks for one, is read and closed.
    void RunUninstaller(const char* version, int button, std::string* message = nullptr,
                        std::string* caption = nullptr, const std::function<void()>& whileShown = nullptr) {
        WizardProcess uninstaller(Uninstaller(), version, ProgramFolder());
        ASSERT_TRUE(uninstaller.Started());
        HWND sheet = uninstaller.WaitForWindow(nullptr);
        ASSERT_NE(sheet, nullptr);
        EXPECT_TRUE(kvtest::WaitFor([&] { return Usable(sheet, kFinishButton); }));
        EXPECT_EQ(CurrentPageIndex(sheet), 0);
        EXPECT_FALSE(Usable(sheet, kNextButton));
        EXPECT_FALSE(Usable(sheet, kBackButton));
        if (whileShown) whileShown();
        PressWhenSettled(sheet, button);
        if (message) {
            HWND box = uninstaller.WaitForMessageBox(*message, *caption);
            ASSERT_NE(box, nullptr) << "no message box";
            PostMessageA(box, WM_COMMAND, IDOK, 0);
        }
        EXPECT_EQ(uninstaller.WaitForExit(), 0u);
        EXPECT_TRUE(uninstaller.StartedProcessesEnded());
    }

    // Without the Shell Folders key the links cannot be found: the edition's
    // message, then the batch and the service keys as usual. (Wine writes
    // the key anew when a program starts: it goes while the page is shown.)
    void ExpectShellFoldersMessage(const char* expectedText) {
        std::string message, caption;
        std::unique_ptr<kvtest::RemovedRegistry> shellFolders;
        const kvtest::RegKey shellFoldersKey = MachineKey(KV_SHELL_FOLDERS_KEY);
        RunUninstaller("winxp", PSBTN_FINISH, &message, &caption,
                       [&] { shellFolders.reset(new kvtest::RemovedRegistry(shellFoldersKey)); });
        ASSERT_TRUE(shellFolders && shellFolders->Removed());
        shellFolders.reset();
        EXPECT_EQ(message, expectedText);
        EXPECT_EQ(caption, "ERROR");
        EXPECT_TRUE(FileExists(StartMenuFolder()));
        EXPECT_FALSE(MachineKey(KV_DRIVER_SERVICE_KEY).Exists());
        EXPECT_TRUE(WaitUntilGone(ProgramFolder(), 30000));
    }

    std::unique_ptr<TestDevice> controller, child;
    Edition edition_ = Edition::English;
};

TEST_F(UninstallerTest, CancelChangesNothing) {
    Install(Edition::English);
    const SystemSnapshot before = TakeSystemSnapshot();
    ASSERT_TRUE(before.count("HKLM\\" KV_DRIVER_SERVICE_KEY));
    ASSERT_TRUE(before.count("FILE " + Uninstaller()));
    RunUninstaller("winxp", PSBTN_CANCEL);
    EXPECT_EQ(ChangedEntries(before, TakeSystemSnapshot()), std::set<std::string>());
}

TEST_F(UninstallerTest, FinishOnXpGivesTheDevicesBackAndRemovesThePackage) {
    Install(Edition::English);
    const std::string pnf = WindowsFolder() + "\\inf\\kvusb.pnf";
    RunUninstaller("winxp", PSBTN_FINISH);
    EXPECT_EQ(MachineKey(KV_MOUSE_CLASS_KEY).List(KV_UPPER_FILTERS), (List{"mouclass", "otherflt"}));
    EXPECT_FALSE(MachineKey(KV_DRIVER_SERVICE_KEY).Exists());
    EXPECT_FALSE(MachineKey(KV_FILTER_SERVICE_KEY).Exists());
    EXPECT_FALSE(FileExists(StartMenuFolder()));
    EXPECT_FALSE(FileExists(SystemFolder() + "\\kvcplusb.cpl"));
    EXPECT_FALSE(FileExists(SystemFolder() + "\\drivers\\kvusb.sys"));
    EXPECT_FALSE(FileExists(pnf));
    // Given the system's drivers, not removed.
    EXPECT_EQ(FindDeviceByHardwareId(KV_CONTROLLER_HARDWARE_ID), 0u);
    EXPECT_EQ(FindDeviceByHardwareId(kHidId), 0u);
    // The batch removes the folder, the uninstaller's own file included,
    // once the uninstaller has exited.
    EXPECT_TRUE(WaitUntilGone(ProgramFolder(), 30000));
}

// Unplugged is not failed: the nodes lose the package's filters and the
// rest goes as with the controller present.
TEST_F(UninstallerTest, FinishOnXpWithTheControllerUnpluggedRemovesThePackage) {
    Install(Edition::English);
    child.reset();
    controller.reset();
    RunUninstaller("winxp", PSBTN_FINISH);
    EXPECT_EQ(MachineKey(KV_MOUSE_CLASS_KEY).List(KV_UPPER_FILTERS), (List{"mouclass", "otherflt"}));
    EXPECT_FALSE(MachineKey(KV_DRIVER_SERVICE_KEY).Exists());
    EXPECT_FALSE(MachineKey(KV_FILTER_SERVICE_KEY).Exists());
    EXPECT_FALSE(FileExists(StartMenuFolder()));
    EXPECT_FALSE(FileExists(SystemFolder() + "\\kvcplusb.cpl"));
    EXPECT_TRUE(WaitUntilGone(ProgramFolder(), 30000));
}

TEST_F(UninstallerTest, FinishOnWindows2000RemovesFilesAndDeviceNodes) {
    Install(Edition::English);
    RunUninstaller("win2k", PSBTN_FINISH);
    EXPECT_EQ(MachineKey(KV_MOUSE_CLASS_KEY).List(KV_UPPER_FILTERS), (List{"mouclass", "otherflt"}));
    EXPECT_EQ(FindDeviceByHardwareId(KV_CONTROLLER_HARDWARE_ID), static_cast<DWORD>(ERROR_NO_MORE_ITEMS));
    EXPECT_EQ(FindDeviceByHardwareId(kHidId), static_cast<DWORD>(ERROR_NO_MORE_ITEMS));
    EXPECT_FALSE(FileExists(SystemFolder() + "\\drivers\\kvfilt.sys"));
    EXPECT_FALSE(FileExists(ProgramFolder() + "\\kvcal.exe"));
    EXPECT_FALSE(MachineKey(KV_DRIVER_SERVICE_KEY).Exists());
    EXPECT_FALSE(FileExists(StartMenuFolder()));
    EXPECT_TRUE(WaitUntilGone(ProgramFolder(), 30000));
}

// Windows 2000 removes the child with its parent; one already gone is
// nothing left to remove (Wine keeps children: here it is gone before).
TEST_F(UninstallerTest, FinishOnWindows2000WithoutTheChildRemovesEverything) {
    Install(Edition::English);
    child.reset();
    RunUninstaller("win2k", PSBTN_FINISH);
    EXPECT_EQ(FindDeviceByHardwareId(KV_CONTROLLER_HARDWARE_ID), static_cast<DWORD>(ERROR_NO_MORE_ITEMS));
    EXPECT_FALSE(FileExists(SystemFolder() + "\\drivers\\kvusb.sys"));
    EXPECT_FALSE(MachineKey(KV_DRIVER_SERVICE_KEY).Exists());
    EXPECT_FALSE(FileExists(StartMenuFolder()));
    EXPECT_TRUE(WaitUntilGone(ProgramFolder(), 30000));
}

TEST_F(UninstallerTest, FinishOnWindows8RemovesOnlyTheFilterEntryAndSaysSo) {
    Install(Edition::English);
    const SystemSnapshot before = TakeSystemSnapshot();
    std::string message, caption;
    RunUninstaller("win8", PSBTN_FINISH, &message, &caption);
    EXPECT_EQ(message, "This version of Windows is not supported; the touch screen software was not removed.");
    EXPECT_EQ(caption, "KvSetup");
    EXPECT_EQ(ChangedEntries(before, TakeSystemSnapshot()),
              std::set<std::string>{"HKLM\\" KV_MOUSE_CLASS_KEY "\\[" KV_UPPER_FILTERS "]"});
    EXPECT_EQ(MachineKey(KV_MOUSE_CLASS_KEY).List(KV_UPPER_FILTERS), (List{"mouclass", "otherflt"}));
}

TEST_F(UninstallerTest, FinishOnXpWithoutItsInfChangesOnlyTheFilterEntryAndSaysSo) {
    Install(Edition::English);
    DeleteFileA((ProgramFolder() + "\\" KV_DRIVER_INF).c_str());
    const SystemSnapshot before = TakeSystemSnapshot();
    std::string message, caption;
    RunUninstaller("winxp", PSBTN_FINISH, &message, &caption);
    EXPECT_EQ(message.substr(0, message.find('\n')),
              "The touch screen software could not be removed completely. Log on as an administrator, then run "
              "the uninstaller again.");
    EXPECT_EQ(caption, "Error");
    EXPECT_EQ(ChangedEntries(before, TakeSystemSnapshot()),
              std::set<std::string>{"HKLM\\" KV_MOUSE_CLASS_KEY "\\[" KV_UPPER_FILTERS "]"});
}

TEST_F(UninstallerTest, BatchThatCannotBeWrittenIsToldAndNothingIsStarted) {
    Install(Edition::English);
    std::string message, caption;
    {
        ScopedEnvironment tmp("TMP", "C:\\no such temp folder");
        ScopedEnvironment temp("TEMP", "C:\\no such temp folder");
        RunUninstaller("winxp", PSBTN_FINISH, &message, &caption);
    }
    EXPECT_EQ(message, "The program folder could not be removed. Please delete it yourself:\n" + ProgramFolder());
    EXPECT_EQ(caption, "KvSetup");
    // The service keys still go; the program folder stays.
    EXPECT_FALSE(MachineKey(KV_DRIVER_SERVICE_KEY).Exists());
    EXPECT_TRUE(FileExists(ProgramFolder()));
}

// Run on a Chinese system (code page 936): the edition's own link names go.
TEST_F(UninstallerTest, ChineseEditionFinishRemovesItsLinks) {
    Install(Edition::Chinese);
    RunUninstaller("winxp", PSBTN_FINISH);
    EXPECT_FALSE(FileExists(StartMenuFolder()));
    EXPECT_FALSE(MachineKey(KV_DRIVER_SERVICE_KEY).Exists());
    EXPECT_TRUE(WaitUntilGone(ProgramFolder(), 30000));
}

TEST_F(UninstallerTest, UnreadableStartMenuFolderIsToldThenTheRestGoes) {
    Install(Edition::English);
    ExpectShellFoldersMessage("Open registry failure");
}

TEST_F(UninstallerTest, ChineseEditionTellsAnUnreadableStartMenuFolderInChinese) {
    Install(Edition::Chinese);
    ExpectShellFoldersMessage(KV_TEXT_UNINSTALL_OPEN_REGISTRY_FAILED);
}

TEST_F(UninstallerTest, ChineseEditionCancelChangesNothing) {
    Install(Edition::Chinese);
    const SystemSnapshot before = TakeSystemSnapshot();
    RunUninstaller("winxp", PSBTN_CANCEL);
    EXPECT_EQ(ChangedEntries(before, TakeSystemSnapshot()), std::set<std::string>());
}

}  // namespace
