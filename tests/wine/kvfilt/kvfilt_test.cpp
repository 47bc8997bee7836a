// kvfilt.sys in a mouse stack under Wine (kvfhost.sys plays the system
// around it): pass-through on every mouse, the virtual-desktop stamp on the
// touch screen's absolute packets for the monitor-pair placements only, and
// clean Plug and Play, power and removal.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kvfhost_protocol.h"
#include "kvshared.h"
#include "service_install.h"

namespace {

constexpr USHORT kAbsolute = 0x01;        // MOUSE_MOVE_ABSOLUTE
constexpr USHORT kVirtualDesktop = 0x02;  // MOUSE_VIRTUAL_DESKTOP
constexpr LONG kSharingViolation = static_cast<LONG>(0xC0000043);

std::string Folder() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path);
    return folder.substr(0, folder.find_last_of('\\'));
}

// The harness as the test sees it: services installed, kvfilt loaded.
class MouseStack : public ::testing::Test {
protected:
    void SetUp() override {
        // kvfilt is unloaded after every test, so each test installs the
        // current build; the harness stays loaded while the prefix runs.
        const std::string harness = Folder() + "\\..\\kvfhost";
        std::string error;
        ASSERT_TRUE(kvvirt::InstallKernelService(harness, "kvfilt.sys", KVFHOST_TARGET_SERVICE, &error)) << error;
        device_ = Open();
        if (device_ == INVALID_HANDLE_VALUE) {
            ASSERT_TRUE(kvvirt::InstallKernelService(harness, "kvfhost.sys", KVFHOST_SERVICE, &error)) << error;
            ASSERT_TRUE(kvvirt::StartKernelService(KVFHOST_SERVICE, &error)) << error;
            device_ = Open();
        }
        ASSERT_NE(device_, INVALID_HANDLE_VALUE) << GetLastError();
        ASSERT_EQ(Call(IOCTL_KVFHOST_LOAD, {}).Status, 0);
    }
    void TearDown() override {
        if (device_ == INVALID_HANDLE_VALUE) return;
        EXPECT_EQ(Call(IOCTL_KVFHOST_UNLOAD, {}).Status, 0) << "kvfilt unloads once its nodes are gone";
        CloseHandle(device_);
        SetPlacement(nullptr);
    }

    static HANDLE Open() {
        return CreateFileA(KVFHOST_DEVICE_PATH, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
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
    KvfPacketsSeen Packets(DWORD node, const std::vector<USHORT>& flags) {
        KvfPackets in = {};
        in.Node = node;
        in.Count = static_cast<uint32_t>(flags.size());
        for (size_t i = 0; i < flags.size(); ++i) in.Flags[i] = flags[i];
        KvfPacketsSeen seen = {};
        DWORD got = 0;
        EXPECT_TRUE(DeviceIoControl(device_, IOCTL_KVFHOST_PACKETS, &in, sizeof in, &seen, sizeof seen, &got, nullptr))
            << GetLastError();
        return seen;
    }
    // DBScreenPos in the touch driver's Parameters key; null deletes it.
    static void SetPlacement(const void* data, DWORD type = REG_DWORD, DWORD bytes = 4) {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, KV_PARAMETERS_KEY, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                                  nullptr), ERROR_SUCCESS);
        if (data) {
            RegSetValueExA(key, "DBScreenPos", 0, type, static_cast<const BYTE*>(data), bytes);
        } else {
            RegDeleteValueA(key, "DBScreenPos");
        }
        RegCloseKey(key);
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

const DWORD kSlave = DBSCREENPOS_SLAVE, kPrimary = DBSCREENPOS_PRIMARY, kSingle = 0, kRight = DBSCREENPOS_RIGHT;
const char kFiveAsText[] = "5";

TEST_F(MouseStack, StampsOnlyTheTouchScreensAbsolutePacketsForMonitorPairs) {
    const PlacementCase cases[] = {
        {"secondary monitor", KVFHOST_NODE_TOUCH, &kSlave, REG_DWORD, 4, true},
        {"primary monitor", KVFHOST_NODE_TOUCH, &kPrimary, REG_DWORD, 4, true},
        {"id with revision, lower case", KVFHOST_NODE_TOUCH_SUFFIX, &kSlave, REG_DWORD, 4, true},
        {"single monitor", KVFHOST_NODE_TOUCH, &kSingle, REG_DWORD, 4, false},
        {"half of a stretched desktop", KVFHOST_NODE_TOUCH, &kRight, REG_DWORD, 4, false},
        {"no placement stored", KVFHOST_NODE_TOUCH, nullptr, REG_DWORD, 0, false},
        {"placement stored as text", KVFHOST_NODE_TOUCH, kFiveAsText, REG_SZ, sizeof kFiveAsText, false},
        {"placement of the wrong size", KVFHOST_NODE_TOUCH, &kSlave, REG_BINARY, 2, false},
        {"another mouse", KVFHOST_NODE_OTHER_MOUSE, &kSlave, REG_DWORD, 4, false},
    };
    for (const PlacementCase& c : cases) {
        SCOPED_TRACE(c.what);
        SetPlacement(c.value, c.type, c.bytes);
        const DWORD node = AddNode(c.kind);
        const KvfStatus connected = Call(IOCTL_KVFHOST_CONNECT, {node});
        EXPECT_EQ(connected.Status, 0);
        // Another mouse keeps its direct line to the class.
        EXPECT_EQ(connected.Value, c.kind == KVFHOST_NODE_OTHER_MOUSE ? 1u : 0u);
        const KvfPacketsSeen seen = Packets(node, {kAbsolute, 0, kAbsolute | 0x04, 0x04});
        EXPECT_EQ(seen.Count, 4u);
        EXPECT_EQ(seen.Consumed, 4u) << "the class's answer reaches the port";
        const USHORT stamp = c.stamped ? kVirtualDesktop : 0;
        EXPECT_EQ(seen.Flags[0], kAbsolute | stamp);
        EXPECT_EQ(seen.Flags[1], 0) << "relative packets are left alone";
        EXPECT_EQ(seen.Flags[2], kAbsolute | 0x04 | stamp);
        EXPECT_EQ(seen.Flags[3], 0x04);
        for (int i = 0; i < 4; ++i) EXPECT_EQ(seen.LastX[i], 1000 * (i + 1)) << "coordinates pass unchanged";
        EXPECT_EQ(Call(IOCTL_KVFHOST_REQUEST, {node, KVFHOST_PNP_REMOVE}).Status, 0);
    }
}

TEST_F(MouseStack, PassesPlugAndPlayAndPowerDownAndStaysUsable) {
    SetPlacement(&kSlave);
    const DWORD node = AddNode(KVFHOST_NODE_TOUCH);
    ASSERT_EQ(Call(IOCTL_KVFHOST_CONNECT, {node}).Status, 0);
    const DWORD sequence[] = {KVFHOST_PNP_QUERY_STOP, KVFHOST_PNP_STOP, KVFHOST_PNP_START, KVFHOST_POWER_D3,
                              KVFHOST_POWER_D0, KVFHOST_READ, KVFHOST_PNP_QUERY_REMOVE,
                              KVFHOST_PNP_CANCEL_REMOVE};
    for (DWORD request : sequence) {
        const KvfStatus answer = Call(IOCTL_KVFHOST_REQUEST, {node, request});
        EXPECT_EQ(answer.Status, 0) << "request " << request;
        EXPECT_EQ(answer.Value, 1u) << "request " << request << " reached the device below, once";
    }
    EXPECT_EQ(Packets(node, {kAbsolute}).Flags[0], kAbsolute | kVirtualDesktop) << "still connected after restart";
    EXPECT_EQ(Call(IOCTL_KVFHOST_REQUEST, {node, KVFHOST_PNP_REMOVE}).Value, 1u);
}

TEST_F(MouseStack, SurpriseRemovalStillPassesRequestsUntilRemoval) {
    const DWORD touch = AddNode(KVFHOST_NODE_TOUCH);
    const DWORD other = AddNode(KVFHOST_NODE_OTHER_MOUSE);
    EXPECT_EQ(Call(IOCTL_KVFHOST_REQUEST, {touch, KVFHOST_PNP_SURPRISE_REMOVAL}).Value, 1u);
    EXPECT_EQ(Call(IOCTL_KVFHOST_REQUEST, {touch, KVFHOST_READ}).Value, 1u);
    EXPECT_EQ(Call(IOCTL_KVFHOST_REQUEST, {touch, KVFHOST_PNP_REMOVE}).Status, 0);
    // The other mouse is untouched by its neighbour's removal.
    EXPECT_EQ(Call(IOCTL_KVFHOST_REQUEST, {other, KVFHOST_READ}).Value, 1u);
    EXPECT_EQ(Call(IOCTL_KVFHOST_CONNECT, {other}).Value, 1u);
}

TEST_F(MouseStack, OneClassConnectionAtATimeOnTheTouchScreen) {
    SetPlacement(&kPrimary);
    const DWORD node = AddNode(KVFHOST_NODE_TOUCH);
    ASSERT_EQ(Call(IOCTL_KVFHOST_CONNECT, {node}).Status, 0);
    EXPECT_EQ(Call(IOCTL_KVFHOST_CONNECT, {node}).Status, kSharingViolation);
    EXPECT_EQ(Packets(node, {kAbsolute}).Flags[0], kAbsolute | kVirtualDesktop) << "the first connection stands";
    EXPECT_EQ(Call(IOCTL_KVFHOST_REQUEST, {node, KVFHOST_DISCONNECT}).Status, 0);
    EXPECT_EQ(Call(IOCTL_KVFHOST_CONNECT, {node}).Status, 0) << "connects again after a disconnect";
    EXPECT_EQ(Packets(node, {kAbsolute}).Count, 1u);
}

}  // namespace
