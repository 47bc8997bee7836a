// The setup.exe runs' shared fixture.
#include "setup_run_fixture.h"

#include <commctrl.h>
#include <objbase.h>

#include <fstream>
#include <iterator>

#include "package_fixture.h"
#include "package_names.h"
#include "texts_cp936.h"
#include "wizard_process.h"

#ifndef KV_TEST_PACKAGE_DIR
#error KV_TEST_PACKAGE_DIR names the package folders laid out from this build
#endif

const EditionFacts kEnglish = {"en-US",
                               {"Calibrate.lnk", "Uninstall.lnk", "Readme.lnk", "ControlPanel.lnk"},
                               L"Tip",
                               L" Confirm",
                               {"The installation could not be completed; the system is as it was before.\n"
                                "Plug the touch screen in again, then run setup once more.\nError number: ",
                                "Error"}};
const EditionFacts kChinese = {"zh-CN",
                               {KV_LINK_CALIBRATE_ZH, KV_LINK_UNINSTALL_ZH, KV_LINK_README_ZH,
                                KV_LINK_CONTROL_PANEL_ZH},
                               L"\u63d0\u793a",       // 提示
                               L" \u786e\u8ba4",      // 确认
                               {KV_TEXT_INSTALL_UNDONE "\n" KV_TEXT_HINT_RETRY "\n" KV_TEXT_ERROR_NUMBER,
                                KV_TEXT_ERROR_CAPTION}};

std::string EditionPackageFolder(const EditionFacts& edition) {
    return kvtest::WindowsPath(std::string(KV_TEST_PACKAGE_DIR) + "/" + edition.folder + "/");
}

std::string InstalledProgramFolder() { return ProgramFilesFolder() + KV_PROGRAM_FOLDER "\\"; }
std::string StartMenuFolder() { return CommonProgramsFolder() + KV_START_MENU_FOLDER; }

std::string FileContent(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

HWND WaitForAnyWindow(const wchar_t* title, DWORD milliseconds) {
    const auto titled = [title](HWND window) {
        WCHAR text[256] = {};
        GetWindowTextW(window, text, 256);
        return IsWindowVisible(window) && wcscmp(text, title) == 0;
    };
    HWND found = nullptr;
    kvtest::WaitFor([&] { return (found = kvtest::FirstWindow(titled)) != nullptr; }, milliseconds);
    return found;
}

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

bool AnswerAndWaitForItsProgram(HWND window) {
    DWORD id = 0;
    GetWindowThreadProcessId(window, &id);
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, id);
    PostMessageW(window, WM_COMMAND, IDOK, 0);
    const bool ended = process && WaitForSingleObject(process, 30000) == WAIT_OBJECT_0;
    if (process) CloseHandle(process);
    return ended;
}

namespace {

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

}  // namespace

void SetupRunTest::SetUp() {
    CoInitialize(nullptr);
    AnswerLeftOverMessages();
    ResetInstalledState();
    clean_ = TakeSystemSnapshot();
}

void SetupRunTest::TearDown() {
    AnswerLeftOverMessages();
    ResetInstalledState();
    EXPECT_EQ(ChangedEntries(clean_, TakeSystemSnapshot()), std::set<std::string>());
    CoUninitialize();
}

void SetupRunTest::RunToFinish(const EditionFacts& edition, const char* version, bool restart,
                               std::string (*message)[2]) {
    const int kRestartBox = 137;
    WizardProcess setup(EditionPackageFolder(edition) + "setup.exe", version);
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
    EXPECT_EQ(setup.WaitForExit(true), 0u);
}

void SetupRunTest::ExpectAppletStarted(const EditionFacts& edition) {
    HWND tip = WaitForAnyWindow(edition.appletTip, 30000);
    ASSERT_NE(tip, nullptr) << "the applet did not start";
    EXPECT_TRUE(AnswerAndWaitForItsProgram(tip));
}
