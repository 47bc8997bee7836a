// Plug and Play, power, removal and unload of the real kvusb.sys, with the
// virtual controller as the Plug and Play manager and the device below.
#include <gtest/gtest.h>

#include "driver_session.h"
#include "kvshared.h"

namespace kvtest {
namespace {

constexpr LONG kDeletePending = static_cast<LONG>(0xC0000056);
// Request codes as the device sees them (wdm.h is not for user mode).
constexpr DWORD IRP_MJ_POWER = 0x16, IRP_MJ_SYSTEM_CONTROL = 0x17, IRP_MJ_PNP = 0x1B;
constexpr DWORD IRP_MN_SET_POWER = 0x02, IRP_MN_REMOVE_DEVICE = 0x02, IRP_MN_STOP_DEVICE = 0x04,
                IRP_MN_QUERY_STOP_DEVICE = 0x05;

class DeviceLifecycle : public DriverTest {
protected:
    // Every test ends with an unload that leaves nothing behind, and leaves
    // one fresh controller for the next.
    void TearDown() override {
        std::string error;
        session_.CloseControl();
        EXPECT_TRUE(session_.harness().Unload(&error)) << error;
        EXPECT_EQ(session_.AccountingFaults(), "");
        DriverSession fresh;
        EXPECT_TRUE(fresh.Start(&error)) << error;
    }
    LONG Pnp(DWORD controller, DWORD request) {
        LONG status = 0;
        std::string error;
        EXPECT_TRUE(session_.harness().Pnp(controller, request, &status, &error)) << error;
        return status;
    }
    // The major/minor pairs that reached the physical device.
    std::vector<std::pair<DWORD, DWORD>> PassedDown() {
        std::vector<KvVirtStackEvent> events;
        std::string error;
        EXPECT_TRUE(session_.harness().TakeStackEvents(&events, &error)) << error;
        std::vector<std::pair<DWORD, DWORD>> pairs;
        for (const KvVirtStackEvent& e : events) pairs.emplace_back(e.Major, e.Minor);
        return pairs;
    }
};

using Pairs = std::vector<std::pair<DWORD, DWORD>>;

// A stop reaches the device in any power state, and is never failed.
TEST_F(DeviceLifecycle, StopPassesDownWhilePoweredDown) {
    PassedDown();
    EXPECT_EQ(Pnp(0, KVVIRT_POWER_D3), 0);
    EXPECT_EQ(Pnp(0, KVVIRT_PNP_QUERY_STOP), 0);
    EXPECT_EQ(Pnp(0, KVVIRT_PNP_STOP), 0);
    EXPECT_EQ(Pnp(0, KVVIRT_POWER_D0), 0);
    EXPECT_EQ(PassedDown(), (Pairs{{IRP_MJ_POWER, IRP_MN_SET_POWER},
                                   {IRP_MJ_PNP, IRP_MN_QUERY_STOP_DEVICE},
                                   {IRP_MJ_PNP, IRP_MN_STOP_DEVICE},
                                   {IRP_MJ_POWER, IRP_MN_SET_POWER}}));
}

// What a gone controller cannot serve is refused; power and WMI requests
// still pass, as the system needs them to tear the stack down.
TEST_F(DeviceLifecycle, AfterSurpriseRemovalOnlyPowerAndWmiPass) {
    EXPECT_EQ(Pnp(0, KVVIRT_READ), 0) << "a read passes down while the device works";
    EXPECT_EQ(Pnp(0, KVVIRT_PNP_SURPRISE_REMOVAL), 0);
    PassedDown();
    EXPECT_EQ(Pnp(0, KVVIRT_READ), kDeletePending);
    EXPECT_EQ(Pnp(0, KVVIRT_POWER_D3), 0);
    EXPECT_EQ(Pnp(0, KVVIRT_WMI), 0);
    EXPECT_EQ(PassedDown(), (Pairs{{IRP_MJ_POWER, IRP_MN_SET_POWER}, {IRP_MJ_SYSTEM_CONTROL, 0}}));
    // The full removal still runs once: device, link and control device go.
    EXPECT_EQ(Pnp(0, KVVIRT_PNP_REMOVE), 0);
    EXPECT_EQ(PassedDown(), (Pairs{{IRP_MJ_PNP, IRP_MN_REMOVE_DEVICE}}));
    HANDLE control = DriverSession::OpenControlDevice();
    EXPECT_EQ(control, INVALID_HANDLE_VALUE) << "the link went with the device";
    if (control != INVALID_HANDLE_VALUE) CloseHandle(control);
}

TEST_F(DeviceLifecycle, SecondControllerFiltersWithoutAControlDevice) {
    DWORD second = 0;
    std::string error;
    ASSERT_TRUE(session_.harness().AddController(&second, &error)) << error;
    EXPECT_EQ(second, 1u);
    EXPECT_EQ(Hex(session_.Report(RawReport(1, 1024, 512), second)), "01 00 10 00 08 00 00");
    // The one control device acts on both: settings are driver-wide.
    ASSERT_TRUE(session_.Ioctl(IOCTL_POINTER_SET_SCREEN_POS, Words({1}), 0).ok);
    EXPECT_EQ(Hex(session_.Report(RawReport(1, 1024, 512), second)), "01 00 08 00 08 00 00");
    // Removing the first controller takes the control device and its link.
    EXPECT_EQ(Pnp(0, KVVIRT_PNP_REMOVE), 0);
    HANDLE control = DriverSession::OpenControlDevice();
    EXPECT_EQ(control, INVALID_HANDLE_VALUE);
    if (control != INVALID_HANDLE_VALUE) CloseHandle(control);
    // A handle opened before the removal gets a clear refusal, not a crash.
    EXPECT_FALSE(session_.Ioctl(IOCTL_POINTER_GET_SCREEN_POS, {}, 4).ok);
    EXPECT_EQ(Hex(session_.Report(RawReport(1, 1024, 512), second)), "01 00 08 00 08 00 00")
        << "the second keeps filtering";
    session_.Report(RawReport(0, 1024, 512), second);
}

// A handle opened before the controller went keeps working for the
// driver's own state, but nothing more is sent to the controller.
TEST_F(DeviceLifecycle, ClassRequestsNeverReachAGoingController) {
    const struct {
        DWORD code;
        Bytes input;
        DWORD outputLength;
    } requests[] = {{IOCTL_POINTER_SET_REPORT, {0x02, 0x03}, 2},
                    {IOCTL_POINTER_GET_REPORT, {}, 4},
                    {IOCTL_POINTER_SET_DEVICE_MODE, Words({0x120}), 0}};
    for (DWORD removal : {KVVIRT_PNP_SURPRISE_REMOVAL, KVVIRT_PNP_REMOVE}) {
        EXPECT_EQ(Pnp(0, removal), 0);
        for (const auto& r : requests) {
            const IoctlResult result = session_.Ioctl(r.code, r.input, r.outputLength);
            EXPECT_FALSE(result.ok) << std::hex << r.code;
            EXPECT_EQ(result.error, Win32ErrorOf(kDeletePending)) << std::hex << r.code;
        }
        EXPECT_EQ(session_.AccountingFaults(), "") << "after removal request " << removal;
    }
}

// A controller that never answers: its removal cancels the class request it
// holds, so neither the caller nor the removal waits for ever, and nothing
// reaches the controller after the removal.
TEST_F(DeviceLifecycle, RemovalCancelsAClassRequestTheControllerHolds) {
    EXPECT_EQ(Pnp(0, KVVIRT_SILENT_REMOVAL), 0);
    const IoctlResult report = session_.Ioctl(IOCTL_POINTER_GET_REPORT, {}, 8);
    EXPECT_FALSE(report.ok);
    EXPECT_EQ(report.error, static_cast<DWORD>(ERROR_OPERATION_ABORTED));
    KvVirtState state = {};
    std::string error;
    for (int i = 0; i < 500 && session_.harness().Query(&state, &error) && (state.Controllers & 1); ++i) Sleep(10);
    EXPECT_EQ(state.Controllers & 1, 0u) << "the removal finished";
}

// The beep's ending DPC has expired when the driver unloads: queued (the
// system offers KeFlushQueuedDpcs, XP on) or already running (Windows
// 2000). The unload returns only once it is done with. The driver loads
// on the model's system.
TEST_F(DeviceLifecycle, UnloadWaitsForTheEndingDpc) {
    const struct {
        const char* system;
        KvVirtDpcModel model;
        uint32_t phase;  // where the DPC is when the unload starts
    } cases[] = {{"XP", {0, 300, 0, 0}, KVVIRT_DPC_QUEUED}, {"Windows 2000", {1, 0, 250, 0}, KVVIRT_DPC_RUNNING}};
    session_.CloseControl();
    std::string error;
    for (const auto& c : cases) {
        DriverSession session;
        ASSERT_TRUE(session.harness().SetDpcModel(c.model, &error)) << error;
        ASSERT_TRUE(session.Start(&error)) << error;
        ASSERT_TRUE(session.Ioctl(IOCTL_POINTER_SET_BEEP, Words({0, 1000, 32, 0, 0}), 0).ok);
        ASSERT_TRUE(session.Ioctl(IOCTL_POINTER_BEEP, {}, 0).ok);
        ASSERT_TRUE(session.WaitForHarness([&](const KvVirtState& s) { return s.DpcPhase == c.phase; })) << c.system;
        session.CloseControl();
        EXPECT_TRUE(session.harness().Unload(&error)) << error;
        EXPECT_TRUE(session.harness().SetDpcModel({}, &error)) << error;
        EXPECT_EQ(session.AccountingFaults(), "") << c.system;
    }
}

TEST_F(DeviceLifecycle, UnloadStopsASoundingBeep) {
    std::vector<KvVirtBeep> beeps;
    std::string error;
    session_.harness().TakeBeeps(&beeps, &error);
    ASSERT_TRUE(session_.Ioctl(IOCTL_POINTER_SET_BEEP, Words({0, 1000, 750, 0, 0}), 0).ok);
    ASSERT_TRUE(session_.Ioctl(IOCTL_POINTER_BEEP, {}, 0).ok);
    session_.CloseControl();
    ASSERT_TRUE(session_.harness().Unload(&error)) << error;
    ASSERT_TRUE(session_.harness().TakeBeeps(&beeps, &error)) << error;
    ASSERT_EQ(beeps.size(), 1u);
    EXPECT_EQ(beeps[0].Frequency, 1000u);
    EXPECT_LT(beeps[0].Milliseconds, 750u) << "the tone ended at unload, not by its timer";
}

}  // namespace
}  // namespace kvtest
