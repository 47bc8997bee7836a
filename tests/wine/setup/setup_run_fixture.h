// The real setup.exe of each edition, run from the package folders laid
// out from this build and driven through its wizard to Finish; each test
// starts and ends with nothing of the package on the system, and checks the
// system is as clean afterwards as it found it (registry and file snapshot).
#pragma once

#include <windows.h>
#include <gtest/gtest.h>

#include <string>

#include "system_snapshot.h"

// What differs between the editions, as far as these tests look.
struct EditionFacts {
    const char* folder;
    const char* links[4];          // Calibrate, Uninstall, Readme, ControlPanel
    const wchar_t* appletTip;      // the applet's caption without a driver
    const wchar_t* calibrateTip;   // the calibration program's, likewise
    const char* rolledBack[2];     // the rollback message's text before its number, and caption
};
extern const EditionFacts kEnglish, kChinese;

std::string EditionPackageFolder(const EditionFacts& edition);  // with trailing backslash
std::string InstalledProgramFolder();                            // likewise
std::string StartMenuFolder();
std::string FileContent(const std::string& path);

// A visible top-level window of any process titled `title`, waited for up
// to `milliseconds`.
HWND WaitForAnyWindow(const wchar_t* title, DWORD milliseconds);
// The full path of the program that owns `window`.
std::string ProgramOf(HWND window);
// Answers the message window with OK and waits up to 30 s for its program
// to end; true if it did.
bool AnswerAndWaitForItsProgram(HWND window);

class SetupRunTest : public testing::Test {
protected:
    void SetUp() override;
    // The prefix is left as clean as it was found, for the uninstaller's
    // tests that share it.
    void TearDown() override;

    // The edition's setup.exe from its package folder, told it runs on
    // `version`: Next, Next (checking the restart box if asked), Finish. The
    // message box it shows afterwards, if `message` asks for one, is read
    // (text and caption) and closed; any other is closed unread.
    void RunToFinish(const EditionFacts& edition, const char* version, bool restart,
                     std::string (*message)[2] = nullptr);

    // The applet came up (without a driver it only tells so) and ends once
    // answered.
    void ExpectAppletStarted(const EditionFacts& edition);

    SystemSnapshot clean_;
};
