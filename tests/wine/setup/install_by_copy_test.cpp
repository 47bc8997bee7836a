// InstallByCopy, the Windows 2000 path: files from the installer's own
// folder, service keys with ErrorControl 0, device updates without rollback.
#include <gtest/gtest.h>

#include "install_by_copy.h"
#include "install_result.h"
#include "package_fixture.h"
#include "package_names.h"
#include "update_recorder.h"

namespace {

const char kHidId[] = "HID\\VID_7A4E&PID_0001";

class InstallByCopyTest : public PackageTest {
protected:
    void SetUp() override {
        PackageTest::SetUp();
        // Sources must come from the package folder, never from here.
        GetCurrentDirectoryA(sizeof savedDirectory_, savedDirectory_);
        SetCurrentDirectoryA(WindowsFolder().c_str());
    }
    void TearDown() override {
        SetCurrentDirectoryA(savedDirectory_);
        PackageTest::TearDown();
    }
    DWORD Install() { return InstallByCopy(package.DriverInf(), KV_CONTROLLER_HARDWARE_ID); }

private:
    char savedDirectory_[MAX_PATH] = {};
};

std::string FileText(const std::string& path) {
    char text[128] = {};
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::string();
    DWORD read = 0;
    ReadFile(file, text, sizeof text - 1, &read, nullptr);
    CloseHandle(file);
    return text;
}

TEST_F(InstallByCopyTest, CopiesThePackageFromTheInstallersFolder) {
    UpdateRecorder recorder;
    EXPECT_EQ(Install(), NO_MATCHING_DEVICE);
    const std::string program = ProgramFilesFolder() + "\\KVUSB\\";
    struct Copy {
        std::string target;
        const char* source;
    } copies[] = {
        {program + "readme.htm", "readme.txt"},
        {program + "kvcal.exe", "kvcal.exe"},
        {program + "uninst.exe", "uninst.exe"},
        {program + "kvrbtn.exe", "kvrbtn.exe"},
        {program + "kvcplusb.cpl", "kvcplusb.cpl"},
        {program + "KvUsb.dll", "KvUsb.dll"},
        {SystemFolder() + "\\kvcplusb.cpl", "kvcplusb.cpl"},
        {SystemFolder() + "\\drivers\\kvfilt.sys", "kvfilt.sys"},
        {SystemFolder() + "\\drivers\\kvusb.sys", "kvusb.sys"},
    };
    for (const Copy& copy : copies) {
        EXPECT_EQ(FileText(copy.target), std::string("stand-in for ") + copy.source) << copy.target;
    }
    for (const std::string& inf : {program + "kvusb.inf", program + "kvfilt.inf", WindowsFolder() + "\\inf\\kvusb.inf",
                                   WindowsFolder() + "\\inf\\kvfilt.inf"}) {
        EXPECT_TRUE(FileExists(inf)) << inf;
    }
    ExpectNewServiceKeys(0);
    EXPECT_TRUE(recorder.Calls().empty());
}

TEST_F(InstallByCopyTest, UpdatesBothDevicesWhenPresent) {
    TestDevice controller({KV_CONTROLLER_HARDWARE_ID});
    TestDevice child({kHidId});
    ASSERT_TRUE(controller.Created() && child.Created());
    UpdateRecorder recorder;
    EXPECT_EQ(Install(), 0u);
    ASSERT_EQ(recorder.Calls().size(), 2u);
    EXPECT_EQ(recorder.Calls()[0].infFile, "kvusb.inf");
    EXPECT_EQ(recorder.Calls()[1].hardwareId, kHidId);
    EXPECT_EQ(recorder.Calls()[1].infFile, "kvfilt.inf");
}

TEST_F(InstallByCopyTest, FailedControllerUpdateEndsWithItsErrorAndTakesBackWhatItAdded) {
    TestDevice controller({KV_CONTROLLER_HARDWARE_ID});
    TestDevice child({kHidId});
    ASSERT_TRUE(controller.Created() && child.Created());
    UpdateRecorder recorder;
    recorder.FailFor(KV_CONTROLLER_HARDWARE_ID, ERROR_SHARING_VIOLATION);
    EXPECT_EQ(Install(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    EXPECT_EQ(recorder.Calls().size(), 1u);
    EXPECT_FALSE(FileExists(SystemFolder() + "\\drivers\\kvusb.sys"));
    EXPECT_FALSE(MachineKey(KV_DRIVER_SERVICE_KEY).Exists());
}

TEST_F(InstallByCopyTest, UnknownProgramFilesFolderCopiesNothingThere) {
    kvtest::RemovedRegistry programFiles(MachineKey(KV_CURRENT_VERSION_KEY), KV_PROGRAM_FILES_VALUE);
    UpdateRecorder recorder;
    EXPECT_EQ(Install(), NO_MATCHING_DEVICE);
    EXPECT_FALSE(FileExists("\\KVUSB")) << "no folder at the root of the current drive";
    EXPECT_TRUE(FileExists(SystemFolder() + "\\drivers\\kvusb.sys"));
}

}  // namespace
