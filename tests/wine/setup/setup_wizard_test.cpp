// The real setup.exe under Wine, driven from outside as a user would: its
// wizard pages, buttons and restart box, the refusal of an old system, and
// what Cancel and Finish leave behind.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include "wizard_process.h"

#include <string>

namespace {

// A classic wizard shows the page's caption as its title.
const char kWizardTitle[] = "KESTIVA USB Driver Setup Wizard";
const char kRunOnce[] = "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";

// The built setup.exe, told it runs on `version`.
class SetupProcess : public WizardProcess {
public:
    explicit SetupProcess(const char* version) : WizardProcess(KV_SETUP_EXE, version) {}
};

bool Press(HWND sheet, int button, int expected) { return PressAndWaitForPage(sheet, button, expected); }

HWND RestartBox(HWND sheet) { return CurrentPageControl(sheet, 137); }

bool RestartScheduled() { return kvtest::MachineKey(kRunOnce).Has("kvusbcal"); }

TEST(SetupWizard, WalksThePagesAndKeepsTheRestartChoiceUntilCancel) {
    SetupProcess setup("winxp");
    ASSERT_TRUE(setup.Started());
    HWND sheet = setup.WaitForWindow(kWizardTitle);
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(CurrentPageIndex(sheet), 0);
    ASSERT_TRUE(Press(sheet, PSBTN_NEXT, 1));
    HWND box = RestartBox(sheet);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(SendMessageA(box, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    SendMessageA(box, BM_CLICK, 0, 0);
    EXPECT_EQ(SendMessageA(box, BM_GETCHECK, 0, 0), BST_CHECKED);
    ASSERT_TRUE(Press(sheet, PSBTN_NEXT, 2));
    ASSERT_TRUE(Press(sheet, PSBTN_BACK, 1));
    EXPECT_EQ(SendMessageA(RestartBox(sheet), BM_GETCHECK, 0, 0), BST_CHECKED);
    ASSERT_TRUE(Press(sheet, PSBTN_NEXT, 2));
    PressWhenSettled(sheet, PSBTN_CANCEL);
    EXPECT_EQ(setup.WaitForExit(), 0u);
    EXPECT_FALSE(RestartScheduled());
}

TEST(SetupWizard, FinishOnANewerSystemEndsWithoutInstallingAndSaysSo) {
    SetupProcess setup("win8");
    ASSERT_TRUE(setup.Started());
    HWND sheet = setup.WaitForWindow(kWizardTitle);
    ASSERT_NE(sheet, nullptr);
    ASSERT_TRUE(Press(sheet, PSBTN_NEXT, 1));
    SendMessageA(RestartBox(sheet), BM_CLICK, 0, 0);
    ASSERT_TRUE(Press(sheet, PSBTN_NEXT, 2));
    PressWhenSettled(sheet, PSBTN_FINISH);
    std::string body, caption;
    ASSERT_NE(setup.WaitForMessageBox(body, caption), nullptr);
    EXPECT_NE(body.find("Windows2000/XP"), std::string::npos) << body;
    EXPECT_EQ(setup.WaitForExit(true), 0u);
    EXPECT_FALSE(RestartScheduled());
}

TEST(SetupWizard, RefusesWindows98WithAMessageInsteadOfTheWizard) {
    SetupProcess setup("win98");
    ASSERT_TRUE(setup.Started());
    std::string body, caption;
    HWND message = setup.WaitForMessageBox(body, caption);
    ASSERT_NE(message, nullptr);
    EXPECT_NE(caption, "KvSetup");
    EXPECT_NE(body.find("Windows2000/XP"), std::string::npos) << body;
    PostMessageA(message, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(setup.WaitForExit(), 0u);
}

}  // namespace
