// InstallByInf against Wine's real SetupAPI and registry: the package INF's
// section, the service keys, the device updates and both rollback orders.
#include <gtest/gtest.h>

#include <memory>

#include "install_by_inf.h"
#include "install_result.h"
#include "package_fixture.h"
#include "package_names.h"
#include "update_recorder.h"

namespace {

const char kHidId[] = "HID\\VID_7A4E&PID_0001";
typedef std::vector<std::string> List;

class InstallByInfTest : public PackageTest {
protected:
    DWORD Install() { return InstallByInf(nullptr, package.DriverInf(), KV_INSTALL_SECTION, KV_CONTROLLER_HARDWARE_ID); }
    std::string ProgramFile(const char* name) const { return ProgramFilesFolder() + "\\KVUSB\\" + name; }

    void ExpectInstalledFiles(bool installed) {
        for (const char* name : {"readme.htm", "kvcal.exe", "uninst.exe", "kvrbtn.exe", "kvusb.inf", "KvUsb.dll"}) {
            EXPECT_EQ(FileExists(ProgramFile(name)), installed) << name;
        }
        for (const char* name : {"\\kvcplusb.cpl", "\\drivers\\kvusb.sys", "\\drivers\\kvfilt.sys"}) {
            EXPECT_EQ(FileExists(SystemFolder() + name), installed) << name;
        }
        EXPECT_EQ(FileExists(ProgramFilesFolder() + "\\KVUSB"), installed);
    }

    void ExpectServiceKeys(bool present) {
        EXPECT_EQ(MachineKey(KV_DRIVER_SERVICE_KEY).Exists(), present);
        EXPECT_EQ(MachineKey(KV_FILTER_SERVICE_KEY).Exists(), present);
    }
};

TEST_F(InstallByInfTest, ControllerAbsentInstallsTheSectionAndTouchesNoDevice) {
    UpdateRecorder recorder;
    EXPECT_EQ(Install(), NO_MATCHING_DEVICE);
    ExpectInstalledFiles(true);
    ExpectServiceKeys(true);
    EXPECT_TRUE(MachineKey(KV_DRIVER_SERVICE_KEY "\\Parameters").Exists());
    ExpectNewServiceKeys(1);
    EXPECT_TRUE(recorder.Calls().empty());
}

TEST_F(InstallByInfTest, ExistingServiceKeysKeepTheirValues) {
    ASSERT_TRUE(MachineKey(KV_DRIVER_SERVICE_KEY).SetDword("Start", 1));
    UpdateRecorder recorder;
    EXPECT_EQ(Install(), NO_MATCHING_DEVICE);
    EXPECT_EQ(MachineKey(KV_DRIVER_SERVICE_KEY).Dword("Start", 99), 1u);
    EXPECT_EQ(MachineKey(KV_DRIVER_SERVICE_KEY).Dword("ErrorControl", 99), 99u);
    EXPECT_EQ(MachineKey(KV_FILTER_SERVICE_KEY).Dword("ErrorControl", 99), 1u);
}

TEST_F(InstallByInfTest, MissingInfFailsWithTheOpenErrorAndChangesNothing) {
    UpdateRecorder recorder;
    const DWORD result = InstallByInf(nullptr, package.Path() + "absent.inf", KV_INSTALL_SECTION,
                                      KV_CONTROLLER_HARDWARE_ID);
    EXPECT_FALSE(CountsAsInstalled(result)) << result;
    ExpectInstalledFiles(false);
    ExpectServiceKeys(false);
    EXPECT_TRUE(recorder.Calls().empty());
}

TEST_F(InstallByInfTest, AbsentHidChildRollsBackOnlyWhatThePackageAdded) {
    MachineKey(KV_HID_CLASS_KEY).SetList(KV_LOWER_FILTERS, {"otherlow", "kvusb"});
    MachineKey(KV_MOUSE_CLASS_KEY).SetList(KV_UPPER_FILTERS, {"mouclass", "kvfilt"});
    TestDevice controller({KV_CONTROLLER_HARDWARE_ID});
    ASSERT_TRUE(controller.Created());
    ASSERT_TRUE(controller.SetLowerFilters({"otherdev", "kvusb"}));
    UpdateRecorder recorder;
    const DWORD started = GetTickCount();
    EXPECT_EQ(Install(), INSTALL_ROLLED_BACK);
    EXPECT_GE(GetTickCount() - started, kHidChildWaitMilliseconds);
    ExpectInstalledFiles(false);
    ExpectServiceKeys(false);
    EXPECT_EQ(MachineKey(KV_HID_CLASS_KEY).List(KV_LOWER_FILTERS), List{"otherlow"});
    EXPECT_EQ(controller.LowerFilters(), List{"otherdev"});
    // kvfilt was listed before without its service, which the rollback
    // leaves gone too: a class filter without its service stops every mouse.
    EXPECT_EQ(MachineKey(KV_MOUSE_CLASS_KEY).List(KV_UPPER_FILTERS), List{"mouclass"});
    ASSERT_EQ(recorder.Calls().size(), 3u);
    EXPECT_EQ(recorder.Calls()[0].infFile, "kvusb.inf");
    EXPECT_EQ(recorder.Calls()[1].hardwareId, KV_CONTROLLER_HARDWARE_ID);
    EXPECT_EQ(recorder.Calls()[1].infFile, "input.inf");
    EXPECT_EQ(recorder.Calls()[2].hardwareId, kHidId);
    EXPECT_EQ(recorder.Calls()[2].infFile, "msmouse.inf");
}

void AddKvfiltAsTheFilterInfWould() {
    List upper = MachineKey(KV_MOUSE_CLASS_KEY).List(KV_UPPER_FILTERS);
    upper.push_back("kvfilt");
    MachineKey(KV_MOUSE_CLASS_KEY).SetList(KV_UPPER_FILTERS, upper);
}

TEST_F(InstallByInfTest, FailedHidChildUpdateReturnsItsErrorAfterTheRollback) {
    MachineKey(KV_HID_CLASS_KEY).SetList(KV_LOWER_FILTERS, {"kvusb"});
    MachineKey(KV_MOUSE_CLASS_KEY).SetList(KV_UPPER_FILTERS, {"mouclass"});
    TestDevice controller({KV_CONTROLLER_HARDWARE_ID});
    TestDevice child({kHidId});
    ASSERT_TRUE(controller.Created() && child.Created());
    UpdateRecorder recorder;
    recorder.OnUpdateFrom("kvfilt.inf", AddKvfiltAsTheFilterInfWould);
    recorder.FailFor(kHidId, ERROR_ACCESS_DENIED);
    EXPECT_EQ(Install(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    ExpectInstalledFiles(false);
    ExpectServiceKeys(false);
    bool present = true;
    MachineKey(KV_HID_CLASS_KEY).List(KV_LOWER_FILTERS, &present);
    EXPECT_FALSE(present) << "a list left empty is deleted";
    EXPECT_EQ(MachineKey(KV_MOUSE_CLASS_KEY).List(KV_UPPER_FILTERS), List{"mouclass"});
    EXPECT_EQ(recorder.Calls().size(), 4u);
}

TEST_F(InstallByInfTest, FailedControllerUpdateRollsBackWithoutRestoringDrivers) {
    MachineKey(KV_HID_CLASS_KEY).SetList(KV_LOWER_FILTERS, {"kvusb", "otherlow"});
    TestDevice controller({KV_CONTROLLER_HARDWARE_ID});
    ASSERT_TRUE(controller.Created());
    ASSERT_TRUE(controller.SetLowerFilters({"kvusb"}));
    UpdateRecorder recorder;
    recorder.FailFor(KV_CONTROLLER_HARDWARE_ID, ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(Install(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    ExpectInstalledFiles(false);
    ExpectServiceKeys(false);
    EXPECT_EQ(MachineKey(KV_HID_CLASS_KEY).List(KV_LOWER_FILTERS), List{"otherlow"});
    // Deleted on Windows; Wine keeps the property as an empty list.
    EXPECT_TRUE(controller.LowerFilters().empty());
    EXPECT_EQ(recorder.Calls().size(), 1u);
}

TEST_F(InstallByInfTest, FailureWithoutAnErrorCodeIsStillAFailure) {
    TestDevice controller({KV_CONTROLLER_HARDWARE_ID});
    ASSERT_TRUE(controller.Created());
    UpdateRecorder recorder;
    recorder.FailFor(KV_CONTROLLER_HARDWARE_ID, ERROR_SUCCESS);
    const DWORD result = Install();
    EXPECT_FALSE(CountsAsInstalled(result)) << result;
    ExpectServiceKeys(false);
}

struct LateChild {
    std::unique_ptr<TestDevice> device;
};

DWORD WINAPI CreateChild(LPVOID late) {
    static_cast<LateChild*>(late)->device.reset(new TestDevice({kHidId}));
    return 0;
}

// The child appears only once the controller has its driver, as the HID
// class makes it, while the installation already waits for it.
TEST_F(InstallByInfTest, HidChildThatAppearsLateIsWaitedFor) {
    TestDevice controller({KV_CONTROLLER_HARDWARE_ID});
    ASSERT_TRUE(controller.Created());
    UpdateRecorder recorder;
    LateChild late;
    HANDLE thread = nullptr;
    recorder.OnUpdateFrom("kvusb.inf", [&] { thread = CreateThread(nullptr, 0, CreateChild, &late, 0, nullptr); });
    EXPECT_EQ(Install(), 0u);
    ASSERT_NE(thread, nullptr);
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    ExpectInstalledFiles(true);
    ASSERT_EQ(recorder.Calls().size(), 2u);
    EXPECT_EQ(recorder.Calls()[1].hardwareId, kHidId);
    EXPECT_EQ(recorder.Calls()[1].infFile, "kvfilt.inf");
}

}  // namespace
