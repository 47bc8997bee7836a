// The real setup.exe under Wine, driven from outside as a user would: its
// wizard pages, buttons and restart box, the refusal of an old system, and
// what Cancel and Finish leave behind.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include "windows_version_setting.h"

#include <string>

namespace {

const char kAppDefaults[] = "Software\\Wine\\AppDefaults\\setup.exe";
// A classic wizard shows the page's caption as its title.
const char kWizardTitle[] = "KESTIVA USB Driver Setup Wizard";
const char kRunOnce[] = "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";

// setup.exe run with the Windows version Wine reports to it ("" for Wine's
// own); ended when the test is over.
class SetupProcess {
public:
    explicit SetupProcess(const char* version) {
        SetReportedWindowsVersion(kAppDefaults, version);
        std::string command = "\"" KV_SETUP_EXE "\"";
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        started_ = CreateProcessA(KV_SETUP_EXE, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                                  &process_) != FALSE;
    }
    ~SetupProcess() {
        if (started_) {
            if (WaitForSingleObject(process_.hProcess, 0) != WAIT_OBJECT_0) TerminateProcess(process_.hProcess, 1);
            CloseHandle(process_.hThread);
            CloseHandle(process_.hProcess);
        }
        RegDeleteKeyA(HKEY_CURRENT_USER, kAppDefaults);
    }
    bool Started() const { return started_; }
    // The process's visible top-level window titled `caption`, waited for.
    HWND WaitForWindow(const char* caption) const {
        for (int i = 0; i < 300; ++i) {
            Search search = {process_.dwProcessId, caption, nullptr};
            EnumWindows(FindWindowOf, reinterpret_cast<LPARAM>(&search));
            if (search.found) return search.found;
            Sleep(100);
        }
        return nullptr;
    }
    // The exit code once the process has ended, or 0xDEAD if it did not.
    DWORD WaitForExit() const {
        DWORD code = 0xDEAD;
        if (WaitForSingleObject(process_.hProcess, 60000) == WAIT_OBJECT_0) GetExitCodeProcess(process_.hProcess, &code);
        return code;
    }

private:
    struct Search {
        DWORD processId;
        const char* caption;
        HWND found;
    };
    static BOOL CALLBACK FindWindowOf(HWND hwnd, LPARAM lParam) {
        Search* search = reinterpret_cast<Search*>(lParam);
        DWORD owner = 0;
        GetWindowThreadProcessId(hwnd, &owner);
        char text[256] = {};
        GetWindowTextA(hwnd, text, sizeof text);
        if (owner != search->processId || !IsWindowVisible(hwnd) || (search->caption && strcmp(text, search->caption)))
            return TRUE;
        search->found = hwnd;
        return FALSE;
    }
    bool started_ = false;
    PROCESS_INFORMATION process_ = {};
};

int CurrentPageIndex(HWND sheet) {
    HWND page = reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
    return static_cast<int>(SendMessageA(sheet, PSM_HWNDTOINDEX, reinterpret_cast<WPARAM>(page), 0));
}

// Presses `button` and waits for the sheet to show page `expected`.
bool Press(HWND sheet, int button, int expected) {
    // The pages post their buttons when they become active: let that land.
    Sleep(300);
    PostMessageA(sheet, PSM_PRESSBUTTON, button, 0);
    for (int i = 0; i < 100; ++i) {
        Sleep(50);
        if (CurrentPageIndex(sheet) == expected) return true;
    }
    return false;
}

HWND RestartBox(HWND sheet) {
    HWND page = reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
    return GetDlgItem(page, 137);
}

bool RestartScheduled() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kRunOnce, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    bool present = RegQueryValueExA(key, "kvusbcal", nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
    RegCloseKey(key);
    return present;
}

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
    Sleep(300);
    PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
    EXPECT_EQ(setup.WaitForExit(), 0u);
    EXPECT_FALSE(RestartScheduled());
}

TEST(SetupWizard, FinishOnANewerSystemEndsWithoutInstalling) {
    SetupProcess setup("win8");
    ASSERT_TRUE(setup.Started());
    HWND sheet = setup.WaitForWindow(kWizardTitle);
    ASSERT_NE(sheet, nullptr);
    ASSERT_TRUE(Press(sheet, PSBTN_NEXT, 1));
    SendMessageA(RestartBox(sheet), BM_CLICK, 0, 0);
    ASSERT_TRUE(Press(sheet, PSBTN_NEXT, 2));
    Sleep(300);
    PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_FINISH, 0);
    EXPECT_EQ(setup.WaitForExit(), 0u);
    EXPECT_FALSE(RestartScheduled());
}

TEST(SetupWizard, RefusesWindows98WithAMessageInsteadOfTheWizard) {
    SetupProcess setup("win98");
    ASSERT_TRUE(setup.Started());
    HWND message = setup.WaitForWindow(nullptr);
    ASSERT_NE(message, nullptr);
    char caption[256] = {};
    GetWindowTextA(message, caption, sizeof caption);
    EXPECT_STRNE(caption, "KvSetup");
    HWND text = GetDlgItem(message, 0xFFFF);
    char body[512] = {};
    GetWindowTextA(text, body, sizeof body);
    EXPECT_NE(std::string(body).find("Windows2000/XP"), std::string::npos) << body;
    PostMessageA(message, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(setup.WaitForExit(), 0u);
}

}  // namespace
