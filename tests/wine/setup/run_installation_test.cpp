// The version check and the whole installation as separate programs, with
// the Windows version that Wine reports set per program
// (HKCU\Software\Wine\AppDefaults\<exe>\Version).
#include <gtest/gtest.h>

#include "gui_wait.h"
#include "process_runner.h"
#include "registry.h"

#include "install_result.h"
#include "package_fixture.h"
#include "os_version.h"
#include "package_names.h"

namespace {

const char kProbe[] = "install_probe.exe";
// Where the probe records what it did.
const char kRecordsKey[] = "Software\\KvSetupTest";

std::string ProbeBesideThisTest() { return kvtest::BesideThisProgram(kProbe); }

// Runs `program` with `argument` as Windows `version` ("" for Wine's own),
// its messages answered as a reader does (Yes to a question); its exit
// code, 0xDEAD when it did not end within two minutes.
DWORD RunProbe(const std::string& program, const char* argument, const char* version) {
    const kvtest::ReportedWindowsVersion reported(program, version);
    kvtest::Process probe(program, std::string(), argument);
    for (const DWORD start = GetTickCount(); !probe.Ended(200) && GetTickCount() - start < 120000;) {
        if (HWND box = probe.Window(nullptr, 0xFFFF)) {
            PostMessageA(box, WM_COMMAND, GetDlgItem(box, IDYES) ? IDYES : IDOK, 0);
        }
    }
    return probe.ExitCodeWithin(0, 0xDEAD);
}

TEST(VersionCheck, ClassifiesTheVersionWineReportsToTheProgram) {
    struct Case {
        const char* version;
        DWORD expected;
    } cases[] = {
        {"win2k", 1}, {"winxp", 0}, {"win2003", 0}, {"vista", 0}, {"win7", 0},
        {"win8", 0xFFFF}, {"win10", 0xFFFF}, {"win98", 120}, {"nt40", 120},
    };
    for (const Case& c : cases) EXPECT_EQ(RunProbe(ProbeBesideThisTest(), "version", c.version), c.expected) << c.version;
}

#ifdef KV_WIN32_PROBE
// The shipped 32-bit code on a 64-bit system (Wine's WOW64 in this 64-bit
// prefix) refuses, whatever Windows version it is told. The runner says
// whether this machine runs 32-bit code at all (natively or emulated).
TEST(VersionCheck, ThirtyTwoBitProgramOnA64BitWindowsIsUnsupported) {
    const char* way = getenv("KV_WIN32_WAY");
    if (way != nullptr && strcmp(way, "none") == 0) GTEST_SKIP() << "this machine runs no 32-bit code";
    const std::string probe = kvtest::WindowsPath(KV_WIN32_PROBE);
    ASSERT_NE(GetFileAttributesA(probe.c_str()), INVALID_FILE_ATTRIBUTES) << "no 32-bit build: " << probe;
    EXPECT_EQ(RunProbe(probe, "version", "win7"), static_cast<DWORD>(OS_UNSUPPORTED));
}
#endif

class RunInstallationTest : public PackageTest {
protected:
    // The probe started from `folder`, as setup.exe from the package folder.
    DWORD InstallFrom(const std::string& folder, const char* version, const char* mode = "install") {
        const std::string probe = folder + kProbe;
        const std::string controlPanel = folder + "control.exe";
        CopyFileA(ProbeBesideThisTest().c_str(), probe.c_str(), FALSE);
        CopyFileA(ProbeBesideThisTest().c_str(), controlPanel.c_str(), FALSE);
        const DWORD result = RunProbe(probe, mode, version);
        DeleteFileA(probe.c_str());
        WaitForAppletCommand(2000);
        DeleteFileA(controlPanel.c_str());
        return result;
    }
    // The applet is started, not waited for: give it time to say it ran.
    std::string WaitForAppletCommand(DWORD milliseconds) {
        std::string command;
        kvtest::WaitFor([&] { return !(command = records_.Text("AppletCommand")).empty(); }, milliseconds);
        return command;
    }
    DWORD RestartFlags() { return records_.Dword("RestartFlags", 0); }
    bool CalibrateLinkExists() { return FileExists(CommonProgramsFolder() + "\\Kestiva USB\\Calibrate.lnk"); }
    // Every shortcut's target is in place, the applet's included.
    void ExpectShortcutTargets() {
        for (const char* target : {"kvcal.exe", "uninst.exe", "readme.htm", "kvcplusb.cpl", "KvUsb.dll"}) {
            EXPECT_TRUE(FileExists(ProgramFilesFolder() + "\\KVUSB\\" + target)) << target;
        }
    }
    bool RunOnceExists() { return MachineKey(KV_RUN_ONCE_KEY).Has("kvusbcal"); }

    const kvtest::ScratchKey records_{HKEY_CURRENT_USER, kRecordsKey};
};

TEST_F(RunInstallationTest, Windows2000CopiesTheFilesThenMakesShortcutsAndRestarts) {
    EXPECT_EQ(InstallFrom(package.Path(), "win2k"), NO_MATCHING_DEVICE);
    EXPECT_TRUE(FileExists(WindowsFolder() + "\\inf\\kvusb.inf"));
    EXPECT_EQ(MachineKey(KV_DRIVER_SERVICE_KEY).Dword("ErrorControl", 99), 0u);
    EXPECT_TRUE(CalibrateLinkExists());
    EXPECT_TRUE(RunOnceExists());
    EXPECT_EQ(RestartFlags(), static_cast<DWORD>(EWX_REBOOT));
    EXPECT_EQ(WaitForAppletCommand(0), "") << "no applet before a restart";
    ExpectShortcutTargets();
}

TEST_F(RunInstallationTest, XpFamilyInstallsThroughTheInf) {
    EXPECT_EQ(InstallFrom(package.Path(), "win7"), NO_MATCHING_DEVICE);
    // Both INF files staged for a controller to come (Wine keeps their names).
    EXPECT_TRUE(FileExists(WindowsFolder() + "\\inf\\kvusb.inf"));
    EXPECT_TRUE(FileExists(WindowsFolder() + "\\inf\\kvfilt.inf"));
    EXPECT_EQ(MachineKey(KV_DRIVER_SERVICE_KEY).Dword("ErrorControl", 99), 1u);
    ExpectShortcutTargets();
    EXPECT_TRUE(CalibrateLinkExists());
    EXPECT_EQ(RestartFlags(), static_cast<DWORD>(EWX_REBOOT));
}

TEST_F(RunInstallationTest, WithoutRestartTheAppletStartsAndNothingIsScheduled) {
    EXPECT_EQ(InstallFrom(package.Path(), "win7", "install-applet"), NO_MATCHING_DEVICE);
    EXPECT_EQ(WaitForAppletCommand(0), "control.exe kvcplusb.cpl");
    EXPECT_TRUE(CalibrateLinkExists());
    EXPECT_FALSE(RunOnceExists());
    EXPECT_EQ(RestartFlags(), 0u);
}

TEST_F(RunInstallationTest, NothingFollowsAFailedOrSkippedInstallation) {
    struct Case {
        bool withPackage;
        const char* version;
        const char* what;
    } cases[] = {
        {false, "win7", "INF missing"},
        {true, "win8", "unknown system"},
    };
    char temp[MAX_PATH] = {};
    GetTempPathA(sizeof temp, temp);
    const std::string empty = std::string(temp) + "kv empty folder\\";
    CreateDirectoryA(empty.c_str(), nullptr);
    for (const Case& c : cases) {
        const DWORD result = InstallFrom(c.withPackage ? package.Path() : empty, c.version);
        EXPECT_FALSE(CountsAsInstalled(result)) << c.what << " " << result;
        EXPECT_FALSE(MachineKey(KV_DRIVER_SERVICE_KEY).Exists()) << c.what;
        EXPECT_FALSE(CalibrateLinkExists()) << c.what;
        EXPECT_FALSE(RunOnceExists()) << c.what;
        EXPECT_EQ(RestartFlags(), 0u) << c.what;
        EXPECT_EQ(WaitForAppletCommand(0), "") << c.what;
    }
    RemoveDirectoryA(empty.c_str());
}

}  // namespace
