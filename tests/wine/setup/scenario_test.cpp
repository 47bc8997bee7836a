// Install, reinstall, failures and uninstall, one row each. After every row
// no filter names a missing driver, a failed install has changed nothing, an
// uninstall has left the system as before the install (other makers'
// filters, INFs and files included) and the user was told once of every
// outcome but success, in the edition's words. Made as Windows does where
// Wine does not: the device installs' effects (the update's stand-in writes
// them as the INFs say), an unplugged node (Wine lists every node: its update
// answers ERROR_NO_SUCH_DEVINST) and the HID child Windows 2000 removes with
// its parent (gone before).
#include <windows.h>
#include <sddl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <memory>

#include "completion.h"
#include "edition_modules.h"
#include "edition_texts.h"
#include "install_result.h"
#include "install_work.h"
#include "invariants.h"
#include "package_fixture.h"
#include "package_names.h"
#include "process_runner.h"
#include "queue_callback.h"
#include "system_snapshot.h"
#include "uninstall_work.h"
#include "update_recorder.h"
#include "wizard_ids.h"

namespace {

const char kHidId[] = "HID\\VID_7A4E&PID_0001";
const char kParameters[] = KV_DRIVER_SERVICE_KEY "\\Parameters";
const char kForeignInf[] = "oem90.inf";
typedef std::vector<std::string> List;

// kController: its HID child is gone, or never comes, when the row acts.
enum Devices { kNone, kController, kBoth, kOldNodeToo };
enum Trouble : unsigned {
    kControllerFails = 1, kChildRefused = 2, kCopyCancelled = 4, kNoInf = 8, kRestartAsked = 16, kUnplugged = 32,
    kForeignInfOnChild = 64, kHelperRunning = 128, kAgain = 256,  // kAgain: over a working installation
};

// The outcome follows from the row: an uninstall removes, a 64-bit Windows
// is untouched, a failure told is undone, no controller is installed for later.
struct Row {
    const char* name;
    bool uninstall;
    OsClass os;
    Edition edition;
    Devices devices;
    unsigned trouble;
    UINT message;  // the text the one message starts with, or 0 for none
};

const OsClass XP = OS_XP_FAMILY, W2K = OS_WIN2000, X64 = OS_UNSUPPORTED;
const Edition EN = Edition::English, ZH = Edition::Chinese;
const UINT kUndone = IDS_INSTALL_UNDONE;

const Row kRows[] = {
    {"fresh install", false, XP, EN, kBoth, 0, 0},
    {"fresh install without the controller", false, XP, ZH, kNone, 0, IDS_PLUG_IN_CONTROLLER},
    {"reinstall", false, XP, EN, kBoth, kAgain, 0},
    {"controller update fails", false, XP, EN, kBoth, kControllerFails, kUndone},
    {"HID child missing at 5 s", false, XP, ZH, kController, 0, kUndone},
    {"HID child update refused", false, XP, EN, kBoth, kChildRefused, kUndone},
    {"file copy cancelled", false, XP, EN, kBoth, kCopyCancelled, kUndone},
    {"reinstall, controller fails", false, XP, EN, kBoth, kAgain | kControllerFails, kUndone},
    {"reinstall, HID child missing", false, XP, EN, kController, kAgain, kUndone},
    {"reinstall, HID child refused", false, XP, ZH, kBoth, kAgain | kChildRefused, kUndone},
    {"reinstall, copy cancelled", false, XP, EN, kBoth, kAgain | kCopyCancelled, kUndone},
    {"started without its INF", false, XP, EN, kBoth, kNoInf, kUndone},
    {"restart asked by the update", false, XP, EN, kBoth, kRestartAsked, IDS_RESTART_QUESTION},
    {"Windows 2000 install", false, W2K, EN, kBoth, 0, 0},
    {"64-bit Windows install", false, X64, EN, kBoth, 0, IDS_UNSUPPORTED_SYSTEM},
    {"uninstall", true, XP, EN, kBoth, 0, 0},
    {"uninstall, controller unplugged", true, XP, ZH, kBoth, kUnplugged, 0},
    {"uninstall, never plugged", true, XP, EN, kNone, 0, 0},
    {"uninstall, old node on another port", true, XP, EN, kOldNodeToo, 0, 0},
    {"uninstall, child on another's INF", true, XP, EN, kBoth, kForeignInfOnChild, 0},
    {"uninstall, helper running", true, XP, EN, kBoth, kHelperRunning, 0},
    {"Windows 2000 uninstall", true, W2K, EN, kController, 0, 0},
    {"64-bit Windows uninstall", true, X64, ZH, kBoth, 0, IDS_NOT_REMOVED},
};

int g_restarts = 0;
BOOL WINAPI RecordRestart(UINT, DWORD) { return ++g_restarts; }

// A user who cancels the copy at its third file.
UINT CALLBACK CancelThirdCopy(PVOID context, UINT notification, UINT_PTR param1, UINT_PTR param2) {
    static int copies = 0;
    copies = notification == SPFILENOTIFY_STARTQUEUE ? 0 : copies + (notification == SPFILENOTIFY_STARTCOPY);
    if (notification != SPFILENOTIFY_STARTCOPY || copies != 3) {
        return SetupDefaultQueueCallbackA(context, notification, param1, param2);
    }
    SetLastError(ERROR_CANCELLED);
    return FILEOP_ABORT;
}

// The settings key's rules as an earlier version left them: interactive
// users could set values.
void GrantInteractiveUsers() {
    PSECURITY_DESCRIPTOR rules = nullptr;
    HKEY key = nullptr;
    ConvertStringSecurityDescriptorToSecurityDescriptorA("D:P(A;;KA;;;SY)(A;;KA;;;BA)(A;;KR;;;BU)(A;;0x2001b;;;IU)",
                                                         SDDL_REVISION_1, &rules, nullptr);
    RegOpenKeyExA(HKEY_LOCAL_MACHINE, kParameters, 0, WRITE_DAC, &key);
    RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, rules);
    RegCloseKey(key);
    LocalFree(rules);
}

List Appended(List list, const std::string& entry) {
    if (std::find(list.begin(), list.end(), entry) == list.end()) list.push_back(entry);
    return list;
}

class ScenarioTest : public PackageTest {
protected:
    void SetUp() override {
        PackageTest::SetUp();
        SetRestartFunction(RecordRestart);
        // The applet's start lands on the probe beside this program.
        CopyFileA(kvtest::BesideThisProgram("install_probe.exe").c_str(), Probe().c_str(), FALSE);
        // Other makers' drivers around ours (Wine's own, with their services and files).
        MachineKey(KV_MOUSE_CLASS_KEY).SetList(KV_UPPER_FILTERS, {"winebus", "winehid"});
        MachineKey(KV_HID_CLASS_KEY).SetList(KV_LOWER_FILTERS, {"mountmgr"});
        std::ofstream(WindowsFolder() + "\\inf\\" + kForeignInf) << "[Version]\r\nSignature=\"$WINDOWS NT$\"\r\n";
    }
    void TearDown() override {
        SetRestartFunction(nullptr);
        devices_.clear();
        PackageTest::TearDown();
        DeleteFileA(Probe().c_str());  // other programs of this folder start the real one
        DeleteFileA((WindowsFolder() + "\\inf\\" + kForeignInf).c_str());
    }
    static std::string Probe() { return kvtest::BesideThisProgram("control.exe"); }

    void AddDevices(const Row& row) {
        for (int i = 0; i < (row.devices == kNone ? 0 : row.devices == kOldNodeToo ? 3 : 2); ++i) {
            devices_.emplace_back(new TestDevice({i == 1 ? kHidId : KV_CONTROLLER_HARDWARE_ID}));
            ASSERT_TRUE(devices_.back()->Created() && (i == 1 || devices_.back()->SetLowerFilters({"wineusb"})));
        }
        if (row.trouble & kForeignInfOnChild) { ASSERT_TRUE(devices_[1]->SetDriverInf(kForeignInf)); }
    }

    // As setup.exe installs; the device installs' effects as the INFs make
    // them: both INFs copied to the INF store, kvusb appended to the
    // controller's own filters, kvfilt to the mouse class's.
    DWORD Install(const Row& row, UpdateRecorder& recorder, bool restart) {
        TestDevice* controller = devices_.empty() ? nullptr : devices_[0].get();
        const std::string folder = (row.trouble & kNoInf) ? WindowsFolder() + "\\" : package.Path();
        recorder.OnUpdateFrom("kvusb.inf", [=] {
            for (const char* inf : {KV_DRIVER_INF, KV_FILTER_INF}) {
                SetupCopyOEMInfA((folder + inf).c_str(), folder.c_str(), SPOST_PATH, 0, nullptr, 0, nullptr, nullptr);
            }
            if (controller) controller->SetLowerFilters(Appended(controller->LowerFilters(), KV_DRIVER_FILTER_ENTRY));
        });
        recorder.OnUpdateFrom("kvfilt.inf", [] {
            const kvtest::RegKey mouse = MachineKey(KV_MOUSE_CLASS_KEY);
            mouse.SetList(KV_UPPER_FILTERS, Appended(mouse.List(KV_UPPER_FILTERS), KV_FILTER_FILTER_ENTRY));
        });
        return RunInstallation(row.os, folder, restart, SetupTexts(row.edition));
    }

    // A working installation, calibrated, its restart to come, with the
    // settings key's rules of an earlier version.
    void InstallBefore(const Row& row) {
        UpdateRecorder recorder;
        DWORD result = 0;
        const Row before = {row.name, false, row.os == X64 ? XP : row.os, row.edition, row.devices, 0, 0};
        MessagesOf([&] { result = Install(before, recorder, true); });
        ASSERT_TRUE(CountsAsInstalled(result));
        MachineKey(kParameters).SetDword("XHigh", 1998);
        GrantInteractiveUsers();
        if (row.devices == kOldNodeToo) devices_[2]->SetLowerFilters({"wineusb", KV_DRIVER_FILTER_ENTRY});
    }

    DWORD Act(const Row& row, const std::string& programFolder) {
        UpdateRecorder recorder;
        for (const char* id : {KV_CONTROLLER_HARDWARE_ID, kHidId}) {
            if (row.trouble & kUnplugged) recorder.FailFor(id, ERROR_NO_SUCH_DEVINST);
        }
        if (row.trouble & kControllerFails) recorder.FailFor(KV_CONTROLLER_HARDWARE_ID, ERROR_FILE_NOT_FOUND);
        if (row.trouble & kChildRefused) recorder.FailFor(kHidId, ERROR_ACCESS_DENIED);
        if (row.trouble & kRestartAsked) recorder.RestartFor(KV_CONTROLLER_HARDWARE_ID);
        SetDefaultQueueCallbackFunction((row.trouble & kCopyCancelled) ? CancelThirdCopy : nullptr);
        const HINSTANCE texts = UninstTexts(row.edition);
        const DWORD result = row.uninstall ? !RunUninstall(row.os, programFolder + "\\uninst.exe", texts).cleanedUp
                                           : Install(row, recorder, false);
        SetDefaultQueueCallbackFunction(nullptr);
        return result;
    }

    void Run(const Row& row) {
        SCOPED_TRACE(row.name);
        ASSERT_NO_FATAL_FAILURE(AddDevices(row));
        const SystemSnapshot clean = TakeSystemSnapshot();
        if (row.uninstall || (row.trouble & kAgain)) { ASSERT_NO_FATAL_FAILURE(InstallBefore(row)); }
        if (row.devices == kController) devices_.erase(devices_.begin() + 1);
        const std::string programFolder = ProgramFilesFolder() + KV_PROGRAM_FOLDER;
        const std::string helperFile = programFolder + "\\kvrbtn.exe";
        std::unique_ptr<kvtest::Process> helper;
        if (row.trouble & kHelperRunning) {
            ASSERT_TRUE(CopyFileA(kvtest::WindowsPath(KV_KVRBTN_EXE).c_str(), helperFile.c_str(), FALSE));
            helper.reset(new kvtest::Process(helperFile, programFolder));
            // Up once it shows a window: its own, or its message that no driver runs.
            ASSERT_TRUE(kvtest::WaitFor([&] { return helper->Window() != nullptr; }, 30000));
        }
        const SystemSnapshot before = TakeSystemSnapshot();
        g_restarts = 0;
        DWORD result = 0;
        const std::vector<std::wstring> messages = MessagesOf([&] { result = Act(row, programFolder); });
        const bool removed = row.uninstall && row.os != X64;
        EXPECT_TRUE(!removed || WaitUntilGone(programFolder, 30000));

        EXPECT_EQ(DanglingFilters(), List()) << "I1";
        std::set<std::string> changed = ChangedEntries(removed ? clean : before, TakeSystemSnapshot());
        for (auto entry = changed.begin(); row.os == W2K && entry != changed.end();) {
            // Windows 2000's uninstall removes the nodes themselves.
            entry = entry->find("\\Enum\\ROOT\\KVTEST") != std::string::npos ? changed.erase(entry) : ++entry;
        }
        const bool failed = row.message == kUndone || row.os == X64;
        if (removed || failed) { EXPECT_EQ(changed, std::set<std::string>()) << "I2, I3, I4"; }
        const DWORD expected = row.devices == kNone && !row.uninstall ? NO_MATCHING_DEVICE : 0;
        if (!failed) { EXPECT_EQ(result, expected); }
        if (failed && row.os != X64) { EXPECT_FALSE(CountsAsInstalled(result)) << result; }
        if (row.trouble & kAgain) { EXPECT_EQ(MachineKey(kParameters).Dword("XHigh", 0), 1998u) << "calibration"; }
        if (!failed && !row.uninstall && row.os == XP) ExpectSettingsKeyRules();
        EXPECT_EQ(g_restarts, (row.trouble & kRestartAsked) ? 1 : 0);
        const HINSTANCE texts = row.uninstall ? UninstTexts(row.edition) : SetupTexts(row.edition);
        const std::wstring text = EditionText(texts, row.message);
        ASSERT_EQ(messages.size(), row.message ? 1u : 0u) << "I5";
        if (row.message) { EXPECT_EQ(messages[0].substr(0, text.size()), text) << "I5"; }
    }

    std::vector<std::unique_ptr<TestDevice>> devices_;
};

TEST_F(ScenarioTest, EveryRowKeepsTheInvariants) {
    for (const Row& row : kRows) {
        TearDown();
        SetUp();
        Run(row);
    }
}

}  // namespace
