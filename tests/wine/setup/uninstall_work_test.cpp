// The uninstaller's work under Wine's real SetupAPI and registry, on the
// state the installer's INF leaves: filter list, branches by system, and
// what stays when a step fails.
#include <gtest/gtest.h>

#include <fstream>
#include <memory>

#include "device_removal.h"
#include "edition_modules.h"
#include "install_by_inf.h"
#include "invariants.h"
#include "oem_inf.h"
#include "package_inf_copies.h"
#include "package_fixture.h"
#include "package_names.h"
#include "uninstall_work.h"
#include "update_recorder.h"
#include "upper_filter.h"

namespace {

const char kHidId[] = "HID\\VID_7A4E&PID_0001";
typedef std::vector<std::string> List;
const Edition EN = Edition::English;

typedef PackageTest UninstallTest;

TEST_F(UninstallTest, FilterListRewrittenWithoutKvfiltOnlyWhenReadWhole) {
    struct Case {
        List stored;
        bool present;
        List expected;
        const char* what;
    } cases[] = {
        {{"mouclass", "kvfilt"}, true, {"mouclass"}, "ours after mouclass"},
        {{"kvfilt"}, true, {}, "only ours"},
        {{}, false, {}, "absent value"},
        {{"other", "kvfilt", "mouclass", "kvfilt", "KVFILT"}, true, {"other", "mouclass", "KVFILT"}, "twice"},
    };
    for (const Case& c : cases) {
        MachineKey(KV_MOUSE_CLASS_KEY).Delete(KV_UPPER_FILTERS);
        if (c.present) MachineKey(KV_MOUSE_CLASS_KEY).SetList(KV_UPPER_FILTERS, c.stored);
        EXPECT_EQ(RemoveMouseUpperFilter(), ERROR_SUCCESS) << c.what;
        bool present = false;
        EXPECT_EQ(MachineKey(KV_MOUSE_CLASS_KEY).List(KV_UPPER_FILTERS, &present), c.expected) << c.what;
        EXPECT_TRUE(present) << c.what << ": the value is written, never deleted";
    }
}

TEST_F(UninstallTest, FilterValueOfAnotherTypeIsLeftUntouched) {
    const kvtest::RegKey mouseClass = MachineKey(KV_MOUSE_CLASS_KEY);
    ASSERT_TRUE(mouseClass.SetText(KV_UPPER_FILTERS, "mouclass"));
    EXPECT_NE(RemoveMouseUpperFilter(), ERROR_SUCCESS);
    kvtest::RegValue left;
    EXPECT_TRUE(mouseClass.Get(KV_UPPER_FILTERS, &left));
    EXPECT_EQ(left.type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(left.data, std::string("mouclass", 9));
}

TEST_F(UninstallTest, FindReportsNoMoreItemsWithoutAPresentDevice) {
    EXPECT_EQ(FindDeviceByHardwareId(KV_CONTROLLER_HARDWARE_ID), static_cast<DWORD>(ERROR_NO_MORE_ITEMS));
    TestDevice device({"usb\\vid_7a4e&pid_0001"});
    ASSERT_TRUE(device.Created());
    EXPECT_EQ(FindDeviceByHardwareId(KV_CONTROLLER_HARDWARE_ID), 0u);
}

TEST_F(UninstallTest, OnlyThePackagesOemInfIsDeletedDirectlyWithoutPnputil) {
    const std::string infFolder = WindowsFolder() + "\\inf\\";
    ASSERT_TRUE(CopyFileA(package.DriverInf().c_str(), (infFolder + "oem77.inf").c_str(), FALSE));
    for (const char* name : {"oem77.PNF", "oem78.inf", "kvother.inf"}) std::ofstream(infFolder + name) << "x";
    for (const char* name : {"oem77.inf", "oem78.inf", "kvother.inf"}) DeleteOemInf(name, package.Path());
    EXPECT_FALSE(FileExists(infFolder + "oem77.inf"));
    EXPECT_FALSE(FileExists(infFolder + "oem77.PNF"));
    EXPECT_TRUE(FileExists(infFolder + "oem78.inf")) << "another maker's";
    EXPECT_TRUE(FileExists(infFolder + "kvother.inf")) << "not an OEM copy";
    for (const char* name : {"oem78.inf", "kvother.inf"}) DeleteFileA((infFolder + name).c_str());
}

// The package installed through its INF for a controller and its HID
// child (the installer rolls back without it); other products' mouse
// filters around ours. Without `keepChild` the child is unplugged after.
class InstalledTest : public UninstallTest {
protected:
    void Install(bool keepChild = true) {
        MachineKey(KV_MOUSE_CLASS_KEY).SetList(KV_UPPER_FILTERS, {"mouclass", "otherflt"});
        controller.reset(new TestDevice({KV_CONTROLLER_HARDWARE_ID}));
        child.reset(new TestDevice({kHidId}));
        ASSERT_EQ(InstallByInf(nullptr, package.DriverInf(), KV_INSTALL_SECTION, KV_CONTROLLER_HARDWARE_ID), 0u);
        if (!keepChild) child.reset();
        ASSERT_EQ(MachineKey(KV_MOUSE_CLASS_KEY).List(KV_UPPER_FILTERS), (List{"mouclass", "otherflt", "kvfilt"}));
        ASSERT_TRUE(MachineKey(KV_DRIVER_SERVICE_KEY).Exists());
    }
    std::string Uninstaller() const { return package.Path() + "uninst.exe"; }
    std::unique_ptr<TestDevice> controller, child;
};

// The controller's own lower filters when the system driver is put back.
TestDevice* g_controller = nullptr;
List g_filtersAtRestore;
void NoteControllerFilters() { g_filtersAtRestore = g_controller->LowerFilters(); }

TEST_F(InstalledTest, XpFamilyGivesBothDevicesTheSystemDriversAndCleansUp) {
    Install(true);
    ASSERT_TRUE(controller->SetLowerFilters({"otherdev", "kvusb", "otherlow"}));  // as Windows keeps them
    g_controller = controller.get();
    UpdateRecorder recorder;
    recorder.OnUpdateFrom("input.inf", NoteControllerFilters);
    const UninstallOutcome outcome = RunUninstall(OS_XP_FAMILY, Uninstaller(), UninstTexts(Edition::English));
    EXPECT_EQ(g_filtersAtRestore, (List{"otherdev", "otherlow"})) << "kvusb gone before the restore";
    EXPECT_TRUE(outcome.branchRan);
    EXPECT_EQ(outcome.result, 0u);
    EXPECT_TRUE(outcome.cleanedUp);
    EXPECT_EQ(MachineKey(KV_MOUSE_CLASS_KEY).List(KV_UPPER_FILTERS), (List{"mouclass", "otherflt"}));
    ASSERT_EQ(recorder.Calls().size(), 2u);
    EXPECT_EQ(recorder.Calls()[0].hardwareId, KV_CONTROLLER_HARDWARE_ID);
    EXPECT_EQ(recorder.Calls()[0].infFile, "input.inf");
    EXPECT_EQ(recorder.Calls()[1].hardwareId, kHidId);
    EXPECT_EQ(recorder.Calls()[1].infFile, "msmouse.inf");
    EXPECT_FALSE(MachineKey(KV_DRIVER_SERVICE_KEY).Exists());
    EXPECT_FALSE(MachineKey(KV_FILTER_SERVICE_KEY).Exists());
    EXPECT_FALSE(FileExists(SystemFolder() + "\\drivers\\kvfilt.sys"));
}

// An absent child is nothing to restore; a refused update keeps the
// service keys for the device that may still run on the package, and is told.
TEST_F(InstalledTest, XpFamilyCleansUpWithoutTheChildAndKeepsServiceKeysWhenItsUpdateFails) {
    struct Case {
        bool withChild;
        DWORD childFailure;
        DWORD expected;
        const char* what;
    } cases[] = {
        {false, 0, 0, "child absent"},
        {true, ERROR_ACCESS_DENIED, ERROR_ACCESS_DENIED, "child update fails"},
    };
    for (const Case& c : cases) {
        ResetInstalledState();
        Install(c.withChild);
        if (::testing::Test::HasFatalFailure()) return;
        UpdateRecorder recorder;
        if (c.childFailure) recorder.FailFor(kHidId, c.childFailure);
        UninstallOutcome outcome;
        const size_t told =
            MessagesOf([&] { outcome = RunUninstall(OS_XP_FAMILY, Uninstaller(), UninstTexts(EN)); }).size();
        EXPECT_EQ(outcome.result, c.expected) << c.what;
        EXPECT_EQ(outcome.cleanedUp, c.expected == 0) << c.what;
        EXPECT_EQ(told, c.expected == 0 ? 0u : 1u) << c.what;
        EXPECT_EQ(MachineKey(KV_MOUSE_CLASS_KEY).List(KV_UPPER_FILTERS), (List{"mouclass", "otherflt"})) << c.what;
        EXPECT_EQ(MachineKey(KV_DRIVER_SERVICE_KEY).Exists(), c.expected != 0) << c.what;
        EXPECT_FALSE(FileExists(WindowsFolder() + "\\inf\\kvusb.pnf")) << c.what;
        child.reset();
    }
}

TEST_F(InstalledTest, XpFamilyWithoutItsInfTouchesNoDevice) {
    Install(true);
    DeleteFileA(package.DriverInf().c_str());
    UpdateRecorder recorder;
    UninstallOutcome outcome;
    EXPECT_EQ(MessagesOf([&] { outcome = RunUninstall(OS_XP_FAMILY, Uninstaller(), UninstTexts(EN)); }).size(), 1u);
    EXPECT_NE(outcome.result, 0u);
    EXPECT_FALSE(outcome.cleanedUp);
    EXPECT_TRUE(recorder.Calls().empty());
    EXPECT_TRUE(MachineKey(KV_DRIVER_SERVICE_KEY).Exists());
    EXPECT_EQ(MachineKey(KV_MOUSE_CLASS_KEY).List(KV_UPPER_FILTERS), (List{"mouclass", "otherflt"}));
}

TEST_F(InstalledTest, Windows2000RemovesBothDeviceNodesAndTheFiles) {
    Install(true);
    UpdateRecorder recorder;
    const UninstallOutcome outcome = RunUninstall(OS_WIN2000, Uninstaller(), UninstTexts(Edition::Chinese));
    EXPECT_EQ(outcome.result, 0u);
    EXPECT_TRUE(outcome.cleanedUp);
    EXPECT_TRUE(recorder.Calls().empty());
    EXPECT_EQ(FindDeviceByHardwareId(KV_CONTROLLER_HARDWARE_ID), static_cast<DWORD>(ERROR_NO_MORE_ITEMS));
    EXPECT_EQ(FindDeviceByHardwareId(kHidId), static_cast<DWORD>(ERROR_NO_MORE_ITEMS));
    EXPECT_FALSE(FileExists(SystemFolder() + "\\drivers\\kvusb.sys"));
    EXPECT_FALSE(MachineKey(KV_FILTER_SERVICE_KEY).Exists());
}

// Newer systems lose only the filter entry; a refused one (a 64-bit
// Windows among them) keeps even that.
TEST_F(InstalledTest, NewerAndRefusedSystemsKeepThePackage) {
    const struct {
        OsClass os;
        List filters;
    } cases[] = {{OS_UNKNOWN, {"mouclass", "otherflt"}}, {OS_UNSUPPORTED, {"mouclass", "otherflt", "kvfilt"}}};
    for (const auto& c : cases) {
        ResetInstalledState();
        Install(true);
        UpdateRecorder recorder;
        UninstallOutcome outcome;
        EXPECT_EQ(MessagesOf([&] { outcome = RunUninstall(c.os, Uninstaller(), UninstTexts(EN)); }).size(), 1u) << c.os;
        EXPECT_FALSE(outcome.branchRan) << c.os;
        EXPECT_TRUE(recorder.Calls().empty()) << c.os;
        EXPECT_EQ(MachineKey(KV_MOUSE_CLASS_KEY).List(KV_UPPER_FILTERS), c.filters) << c.os;
        EXPECT_TRUE(MachineKey(KV_DRIVER_SERVICE_KEY).Exists()) << c.os;
        EXPECT_EQ(FindDeviceByHardwareId(kHidId), 0u) << c.os;
        child.reset();
        controller.reset();
    }
}

// A copy staged by an earlier version (found by its original name; Wine
// keeps the name), one the system made under an oem name (found by its
// bytes; Wine tells no original names of those) and another product's:
// only the first two go, with their precompiled files.
TEST_F(UninstallTest, OnlyCopiesOfThePackageInfsLeaveTheInfStore) {
    const std::string infFolder = WindowsFolder() + "\\inf\\";
    ASSERT_TRUE(SetupCopyOEMInfA(package.DriverInf().c_str(), package.Path().c_str(), SPOST_PATH, 0, nullptr, 0,
                                 nullptr, nullptr));
    std::ofstream(package.DriverInf(), std::ios::app) << std::string("\r\0\n\0", 4);  // this version's INF
    ASSERT_TRUE(CopyFileA((package.Path() + KV_FILTER_INF).c_str(), (infFolder + "oem91.inf").c_str(), FALSE));
    std::ofstream(infFolder + "oem91.PNF") << "x";
    std::ofstream(infFolder + "oem92.inf") << "[Version]\r\nSignature=\"$WINDOWS NT$\"\r\n";
    RemovePackageInfCopies(package.Path());
    for (const char* name : {"kvusb.inf", "kvusb.pnf", "oem91.inf", "oem91.PNF"}) {
        EXPECT_FALSE(FileExists(infFolder + name)) << name;
    }
    EXPECT_TRUE(FileExists(infFolder + "oem92.inf"));
    DeleteFileA((infFolder + "oem92.inf").c_str());
}

// The command interpreter reads a batch in the console's code page: "é"
// is another byte there than in the system's.
TEST_F(UninstallTest, SelfDeleteBatchRemovesTheProgramFolderAndItself) {
    for (const std::string& programFiles : {ProgramFilesFolder(), std::string("C:\\Programme Caf\xe9")}) {
        const kvtest::RemovedRegistry saved(MachineKey(KV_CURRENT_VERSION_KEY), KV_PROGRAM_FILES_VALUE);
        MachineKey(KV_CURRENT_VERSION_KEY).SetText(KV_PROGRAM_FILES_VALUE, programFiles);
        const std::string folder = programFiles + "\\KVUSB";
        CreateDirectoryA(programFiles.c_str(), nullptr);
        CreateDirectoryA(folder.c_str(), nullptr);
        std::ofstream(folder + "\\kvcal.exe") << "x";
        ASSERT_TRUE(WriteSelfDeleteBatch(UninstTexts(Edition::English))) << programFiles;
        EXPECT_TRUE(WaitUntilGone(folder, 30000)) << programFiles;
    }
    RemoveDirectoryA("C:\\Programme Caf\xe9");
    // Wine's command interpreter usually keeps its batch open, so the
    // batch's last line may fail to delete it here as it does on Windows:
    // whatever is left, the test removes.
    char temp[MAX_PATH] = {};
    GetTempPathA(sizeof temp, temp);
    WIN32_FIND_DATAA found;
    const HANDLE search = FindFirstFileA((std::string(temp) + "kvu*.bat").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do DeleteFileA((std::string(temp) + found.cFileName).c_str());
    while (FindNextFileA(search, &found));
    FindClose(search);
}

TEST_F(UninstallTest, NoBatchWithoutAProgramFilesFolder) {
    kvtest::RemovedRegistry gone(MachineKey(KV_CURRENT_VERSION_KEY), KV_PROGRAM_FILES_VALUE);
    EXPECT_FALSE(WriteSelfDeleteBatch(UninstTexts(Edition::English)));
}

}  // namespace
