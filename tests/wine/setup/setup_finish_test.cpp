// The real setup.exe of each edition, started from its package folder and
// left with Finish, judged by what it leaves on the system: the files and
// registry entries, the Start-menu links, and the program it starts last
// (the applet, or after a restart the calibration program from RunOnce).
// No controller is plugged in, so neither program finds its driver, except
// in the rollback, whose controller's HID child never comes.
#include <windows.h>
#include <gtest/gtest.h>

#include <string>

#include "package_fixture.h"
#include "package_names.h"
#include "setup_run_fixture.h"
#include "shell_link_reader.h"

namespace {

class SetupFinishTest : public SetupRunTest {
protected:
    // A controller whose HID child never comes: the installation is rolled
    // back, then told in the edition's words with its error number.
    void ExpectRollbackTold(const EditionFacts& edition) {
        TestDevice controller({KV_CONTROLLER_HARDWARE_ID});
        ASSERT_TRUE(controller.Created());
        std::string message[2];
        RunToFinish(edition, "winxp", false, &message);
        EXPECT_EQ(message[0], std::string(edition.rolledBack[0]) + "1603");
        EXPECT_EQ(message[1], edition.rolledBack[1]);
        EXPECT_FALSE(MachineKey(KV_DRIVER_SERVICE_KEY).Exists());
        EXPECT_FALSE(FileExists(StartMenuFolder())) << "nothing follows a rollback";
    }

    // Each package file is in place with the package's content.
    void ExpectFilesCopied(const EditionFacts& edition) {
        const std::string package = EditionPackageFolder(edition);
        const std::string program = InstalledProgramFolder();
        const std::string system = SystemFolder() + "\\";
        const struct {
            std::string installed, source;
        } files[] = {
            {program + "kvcal.exe", "kvcal.exe"},         {program + "uninst.exe", "uninst.exe"},
            {program + "kvrbtn.exe", "kvrbtn.exe"},       {program + "readme.htm", "readme.txt"},
            {program + "kvusb.inf", "kvusb.inf"},         {program + "KvUsb.dll", "KvUsb.dll"},
            {program + "kvcplusb.cpl", "kvcplusb.cpl"},   {system + "kvcplusb.cpl", "kvcplusb.cpl"},
            {system + "drivers\\kvusb.sys", "kvusb.sys"}, {system + "drivers\\kvfilt.sys", "kvfilt.sys"},
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
            EXPECT_EQ(link.path, InstalledProgramFolder() + targets[i]) << i;
            EXPECT_EQ(link.description, descriptions[i]) << i;
        }
        const LinkData applet = ReadLink(StartMenuFolder() + edition.links[3]);
        EXPECT_EQ(applet.icon, InstalledProgramFolder() + "KvUsb.dll");
        EXPECT_EQ(applet.iconIndex, 2);
    }
};

TEST_F(SetupFinishTest, XpWithoutControllerInstallsThroughTheInfAndStartsTheApplet) {
    std::string message[2];
    RunToFinish(kEnglish, "winxp", false, &message);
    EXPECT_EQ(message[0], "The software is installed, but no touch screen was found. Plug the touch screen in, then "
                          "run setup again to finish.");
    EXPECT_EQ(message[1], "KvSetup");
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
    EXPECT_EQ(ProgramOf(calibration), InstalledProgramFolder() + "kvcal.exe");
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
              FileContent(EditionPackageFolder(kEnglish) + KV_DRIVER_INF));
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
