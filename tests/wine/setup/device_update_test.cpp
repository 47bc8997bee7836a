// Device search by hardware id and the driver updates of the package's INF
// files through Wine's real device installation.
#include <gtest/gtest.h>

#include "device_update.h"
#include "install_by_inf.h"
#include "install_result.h"
#include "package_fixture.h"
#include "package_names.h"
#include "update_recorder.h"

namespace {

const char kHidId[] = "HID\\VID_7A4E&PID_0001";

typedef PackageTest DeviceUpdateTest;

TEST_F(DeviceUpdateTest, MatchesWholeIdsInAnyLetterCase) {
    struct Case {
        std::vector<std::string> deviceIds;
        DWORD expected;
        const char* what;
    } cases[] = {
        {{"usb\\vid_7a4e&pid_0001"}, 0, "lower case"},
        {{"USB\\VID_7A4E&PID_0001&REV_0100"}, NO_MATCHING_DEVICE, "revision suffix only"},
        {{"USB\\VID_7A4E&PID_0001&REV_0100", "USB\\VID_7A4E&PID_0001"}, 0, "second entry"},
        {{"USB\\VID_7A4E&PID_0002"}, NO_MATCHING_DEVICE, "other product"},
    };
    for (const Case& c : cases) {
        TestDevice device(c.deviceIds);
        ASSERT_TRUE(device.Created()) << c.what;
        UpdateRecorder recorder;
        EXPECT_EQ(UpdateMatchingDevice(package.DriverInf(), KV_CONTROLLER_HARDWARE_ID), c.expected) << c.what;
        // The update gets the id as the caller gave it, not the device's spelling.
        const size_t expectedCalls = c.expected == 0 ? 1 : 0;
        ASSERT_EQ(recorder.Calls().size(), expectedCalls) << c.what;
        if (expectedCalls) {
            EXPECT_EQ(recorder.Calls()[0].hardwareId, KV_CONTROLLER_HARDWARE_ID) << c.what;
        }
    }
}

TEST_F(DeviceUpdateTest, BothDevicesGetThePackageDriversFromTheRealUpdate) {
    MachineKey(KV_MOUSE_CLASS_KEY).SetList(KV_UPPER_FILTERS, {"mouclass"});
    TestDevice controller({KV_CONTROLLER_HARDWARE_ID});
    TestDevice child({kHidId});
    ASSERT_TRUE(controller.Created() && child.Created());
    // Another maker's filter on the node stays (Wine appends only to a list
    // that is there; Windows makes one).
    ASSERT_TRUE(controller.SetHardwareKeyList("LowerFilters", {"otherdev"}));
    EXPECT_EQ(InstallByInf(nullptr, package.DriverInf(), KV_INSTALL_SECTION, KV_CONTROLLER_HARDWARE_ID), 0u);
    // kvusb below the controller's function driver, for this device only.
    EXPECT_EQ(controller.HardwareKeyList("LowerFilters"), (std::vector<std::string>{"otherdev", "kvusb"}));
    EXPECT_EQ(child.HardwareKeyList("LowerFilters"), std::vector<std::string>());
    EXPECT_EQ(MachineKey(KV_MOUSE_CLASS_KEY).List(KV_UPPER_FILTERS), (std::vector<std::string>{"mouclass", "kvfilt"}));
    EXPECT_TRUE(FileExists(SystemFolder() + "\\drivers\\kvfilt.sys"));
    EXPECT_TRUE(MachineKey(KV_DRIVER_SERVICE_KEY).Exists());
    EXPECT_TRUE(MachineKey(KV_FILTER_SERVICE_KEY).Exists());
    EXPECT_NE(controller.Property(SPDRP_DRIVER), "");
    EXPECT_NE(child.Property(SPDRP_DRIVER), "");
}

}  // namespace
