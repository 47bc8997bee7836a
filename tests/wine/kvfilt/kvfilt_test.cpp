// kvfilt.sys in a mouse stack under Wine (kvfhost.sys plays the system
// around it), at the place its INF puts it: pass-through on every mouse,
// the virtual-desktop stamp on the touch screen's absolute packets for the
// monitor-pair placements only, and clean Plug and Play, power and removal.
#include <windows.h>
#include <setupapi.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kernel_services.h"
#include "kvfhost_protocol.h"
#include "kvshared.h"
#include "process_runner.h"
#include "registry.h"

namespace {

constexpr USHORT kAbsolute = 0x01;        // MOUSE_MOVE_ABSOLUTE
constexpr USHORT kVirtualDesktop = 0x02;  // MOUSE_VIRTUAL_DESKTOP
constexpr LONG kDeletePending = static_cast<LONG>(0xC0000056);
const char kMouseClassKey[] = "SYSTEM\\CurrentControlSet\\Control\\Class\\{4D36E96F-E325-11CE-BFC1-08002BE10318}";
const kvtest::RegKey kParameters = kvtest::MachineKey(KV_PARAMETERS_KEY);

// The mouse class's upper filters as Windows has them, then kvfilt.inf's
// registry part as its installation applies it.
void InstallFilterInf() {
    ASSERT_TRUE(kvtest::MachineKey(kMouseClassKey).SetList("UpperFilters", {"mouclass"}));
    const std::string inf = kvtest::BesideThisProgram("..\\..\\..\\package\\kvfilt.inf");
    HINF handle = SetupOpenInfFileA(inf.c_str(), nullptr, INF_STYLE_WIN4, nullptr);
    ASSERT_NE(handle, INVALID_HANDLE_VALUE) << inf << ": " << GetLastError();
    EXPECT_TRUE(SetupInstallFromInfSectionA(nullptr, handle, "KvFilt_Device.NT", SPINST_REGISTRY, nullptr, nullptr,
                                            0, nullptr, nullptr, nullptr, nullptr))
        << GetLastError();
    SetupCloseInfFile(handle);
}

// The harness as the test sees it: services installed, the INF applied,
// kvfilt loaded.
class MouseStack : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(InstallFilterInf());
        // kvfilt is unloaded after every test, so each test installs the
        // current build; the harness stays loaded while the prefix runs.
        const std::string harness = kvtest::BesideThisProgram("..\\kvfhost");
        std::string error;
        ASSERT_TRUE(kvtest::InstallKernelService(harness, "kvfilt.sys", KVFHOST_TARGET_SERVICE, &error)) << error;
        const kvtest::TestDriverPair drivers = {"kvfhost.sys", KVFHOST_SERVICE, KVFHOST_DEVICE_PATH, "kvfilt.sys",
                                                KVFHOST_TARGET_SERVICE};
        device_ = kvtest::OpenTestHarness(drivers, harness, &error);
        ASSERT_NE(device_, INVALID_HANDLE_VALUE) << error;
        ASSERT_EQ(Call(IOCTL_KVFHOST_LOAD, {}).Status, 0);
    }
    void TearDown() override {
        if (device_ == INVALID_HANDLE_VALUE) return;
        EXPECT_EQ(Call(IOCTL_KVFHOST_UNLOAD, {}).Status, 0) << "kvfilt unloads once its nodes are gone";
        CloseHandle(device_);
        SetPlacement(nullptr);
    }

    KvfStatus Call(DWORD code, const std::vector<DWORD>& words) {
        KvfStatus answer = {-1, 0};
        DWORD got = 0;
        if (!DeviceIoControl(device_, code, const_cast<DWORD*>(words.data()), static_cast<DWORD>(words.size() * 4),
                             &answer, sizeof answer, &got, nullptr)) {
            ADD_FAILURE() << "harness request failed with " << GetLastError();
        }
        return answer;
    }
    DWORD AddNode(DWORD kind) {
        const KvfStatus added = Call(IOCTL_KVFHOST_ADD_NODE, {kind});
        EXPECT_EQ(added.Status, 0) << "node kind " << kind;
        return added.Value;
    }
    // A read from the top of the node while the HID mouse driver reports
    // packets with these flags: the records as the reader gets them.
    KvfPacketsSeen Read(DWORD node, const std::vector<USHORT>& flags) {
        KvfPackets in = {};
        in.Node = node;
        in.Count = static_cast<uint32_t>(flags.size());
        for (size_t i = 0; i < flags.size(); ++i) in.Flags[i] = flags[i];
        KvfPacketsSeen seen = {};
        DWORD got = 0;
        EXPECT_TRUE(DeviceIoControl(device_, IOCTL_KVFHOST_READ, &in, sizeof in, &seen, sizeof seen, &got, nullptr))
            << GetLastError();
        return seen;
    }
    // DBScreenPos in the touch driver's Parameters key; null deletes it.
    static void SetPlacement(const void* data, DWORD type = REG_DWORD, DWORD bytes = 4) {
        if (data) {
            ASSERT_TRUE(kParameters.Set("DBScreenPos", {type, std::string(static_cast<const char*>(data), bytes)}));
        } else {
            kParameters.Delete("DBScreenPos");
        }
    }

    HANDLE device_ = INVALID_HANDLE_VALUE;
};

struct PlacementCase {
    const char* what;
    DWORD kind;
    const void* value;  // DBScreenPos data, null: none
    DWORD type;
    DWORD bytes;
    bool stamped;       // absolute packets get the virtual-desktop flag
};

const DWORD kPositions[] = {0, 1, 2, 3, 4, 5, 6};
const char kFiveAsText[] = "5";

// Every placement on the touch screen (only the monitor pairs, 5 and 6,
// stamp), the stored value's type and size, and another mouse.
TEST_F(MouseStack, StampsOnlyTheTouchScreensAbsolutePacketsForMonitorPairs) {
    std::vector<PlacementCase> cases;
    for (const DWORD& position : kPositions) {
        cases.push_back({"placement", KVFHOST_NODE_TOUCH, &position, REG_DWORD, 4,
                         position == DBSCREENPOS_SLAVE || position == DBSCREENPOS_PRIMARY});
    }
    cases.push_back({"id with revision, lower case", KVFHOST_NODE_TOUCH_SUFFIX, &kPositions[5], REG_DWORD, 4, true});
    cases.push_back({"no placement stored", KVFHOST_NODE_TOUCH, nullptr, REG_DWORD, 0, false});
    cases.push_back({"placement stored as text", KVFHOST_NODE_TOUCH, kFiveAsText, REG_SZ, sizeof kFiveAsText, false});
    cases.push_back({"placement of the wrong size", KVFHOST_NODE_TOUCH, &kPositions[5], REG_BINARY, 2, false});
    cases.push_back({"another mouse", KVFHOST_NODE_OTHER_MOUSE, &kPositions[5], REG_DWORD, 4, false});
    for (const PlacementCase& c : cases) {
        const bool word = c.value && c.type == REG_DWORD;
        SCOPED_TRACE(std::string(c.what) + (word ? " " + std::to_string(*static_cast<const DWORD*>(c.value)) : ""));
        SetPlacement(c.value, c.type, c.bytes);
        // The placement is taken as the node starts.
        const DWORD target = AddNode(c.kind);
        const KvfPacketsSeen seen = Read(target, {kAbsolute, 0, kAbsolute | 0x04, 0x04});
        EXPECT_EQ(seen.ReadStatus, 0);
        ASSERT_EQ(seen.Count, 4u);
        const USHORT stamp = c.stamped ? kVirtualDesktop : 0;
        EXPECT_EQ(seen.Flags[0], kAbsolute | stamp);
        EXPECT_EQ(seen.Flags[1], 0) << "relative packets are left alone";
        EXPECT_EQ(seen.Flags[2], kAbsolute | 0x04 | stamp);
        EXPECT_EQ(seen.Flags[3], 0x04);
        for (int i = 0; i < 4; ++i) EXPECT_EQ(seen.LastX[i], 1000 * (i + 1)) << "coordinates pass unchanged";
        EXPECT_EQ(Call(IOCTL_KVFHOST_REQUEST, {target, KVFHOST_PNP_REMOVE}).Status, 0);
    }
}

// A placement changed while the node runs holds from its next start: no
// read waits on the registry.
TEST_F(MouseStack, PassesPlugAndPlayAndPowerDownAndStaysUsable) {
    SetPlacement(&kPositions[5]);
    const DWORD node = AddNode(KVFHOST_NODE_TOUCH);
    SetPlacement(&kPositions[0]);
    EXPECT_EQ(Read(node, {kAbsolute}).Flags[0], kAbsolute | kVirtualDesktop) << "decided at the start";
    const DWORD sequence[] = {KVFHOST_PNP_QUERY_STOP, KVFHOST_PNP_STOP,         KVFHOST_PNP_START,
                              KVFHOST_POWER_D3,       KVFHOST_POWER_D0,         KVFHOST_PNP_QUERY_REMOVE,
                              KVFHOST_PNP_CANCEL_REMOVE};
    for (DWORD request : sequence) {
        const KvfStatus answer = Call(IOCTL_KVFHOST_REQUEST, {node, request});
        EXPECT_EQ(answer.Status, 0) << "request " << request;
        EXPECT_EQ(answer.Value, 1u) << "request " << request << " reached the device below, once";
    }
    EXPECT_EQ(Read(node, {kAbsolute}).Flags[0], kAbsolute) << "still reading after a restart, with the new placement";
    EXPECT_EQ(Call(IOCTL_KVFHOST_REQUEST, {node, KVFHOST_PNP_REMOVE}).Value, 1u);
}

// The input thread keeps a read pending on the class: a removal completes
// it, and the filter lets go of its node and unloads (TearDown).
TEST_F(MouseStack, RemovalWhileAReadIsPending) {
    SetPlacement(&kPositions[6]);
    const DWORD touch = AddNode(KVFHOST_NODE_TOUCH);
    const DWORD other = AddNode(KVFHOST_NODE_OTHER_MOUSE);
    const KvfStatus removed = Call(IOCTL_KVFHOST_REQUEST, {touch, KVFHOST_REMOVE_WHILE_READING});
    EXPECT_EQ(removed.Status, 0);
    EXPECT_EQ(removed.Value, 1u) << "the pending read completed";
    EXPECT_EQ(Call(IOCTL_KVFHOST_REQUEST, {other, KVFHOST_PNP_SURPRISE_REMOVAL}).Value, 1u);
    const KvfPacketsSeen refused = Read(other, {kAbsolute});
    EXPECT_EQ(refused.ReadStatus, kDeletePending) << "the class fails reads once its node is going";
}

}  // namespace
