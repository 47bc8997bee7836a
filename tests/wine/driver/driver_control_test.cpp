// The control device of the real kvusb.sys, opened as a program opens it,
// with reports travelling through the real stack in the virtual controller.
#include <gtest/gtest.h>

#include <sddl.h>

#include <vector>

#include "control_cases.h"
#include "driver_session.h"
#include "kvshared.h"
#include "registry.h"

namespace kvtest {
namespace {

using ControlDevice = DriverTest;

TEST_F(ControlDevice, ShortBuffersAndOversizedReportsFailWithNoDataAndChangeNothing) {
    const IoctlResult beepBefore = session_.Ioctl(IOCTL_POINTER_GET_BEEP, {}, 20);
    std::vector<std::pair<ShortBufferCase, DWORD>> cases;
    for (const auto& c : kShortBufferCases) cases.emplace_back(c, ERROR_INSUFFICIENT_BUFFER);
    for (const auto& c : kOversizedReportCases) cases.emplace_back(c, ERROR_INVALID_PARAMETER);
    for (const auto& [c, error] : cases) {
        const IoctlResult r = session_.Ioctl(c.code, Bytes(c.inputLength, 0x11), c.outputLength);
        EXPECT_FALSE(r.ok) << c.what;
        EXPECT_EQ(r.error, error) << c.what;
        EXPECT_TRUE(r.output.empty()) << c.what;
    }
    std::vector<KvVirtClassRequest> sent;
    std::string failure;
    EXPECT_TRUE(session_.harness().TakeRequests(&sent, &failure) && sent.empty()) << "nothing reached the controller";
    EXPECT_EQ(session_.Ioctl(IOCTL_POINTER_GET_BEEP, {}, 20).output, beepBefore.output);
    EXPECT_EQ(WordAt(session_.Ioctl(IOCTL_POINTER_GET_SCREEN_POS, {}, 4).output, 0), 0u);
    // Default calibration still in force: raw (1024, 512) is (4096, 2048).
    EXPECT_EQ(Hex(session_.Report(RawReport(1, 1024, 512))), "01 00 10 00 08 00 00");
}

TEST_F(ControlDevice, UnknownCodeIsAnInvalidRequest) {
    const IoctlResult r = session_.Ioctl(KV_CTL_CODE(0x9FF), {}, 16);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.error, static_cast<DWORD>(ERROR_INVALID_FUNCTION));
}

TEST_F(ControlDevice, RecordsComeBackAtTheirOwnSize) {
    const IoctlResult beep = session_.Ioctl(IOCTL_POINTER_GET_BEEP, {}, 64);
    ASSERT_TRUE(beep.ok);
    EXPECT_EQ(beep.output.size(), sizeof(BeepSettings)) << "no bytes past the record";
    EXPECT_EQ(WordAt(beep.output, 0), 2u) << "default beep mode";
    const IoctlResult echo = session_.Ioctl(IOCTL_POINTER_ECHO, Words({7, 8, 9, 10}), 32);
    ASSERT_TRUE(echo.ok);
    EXPECT_EQ(echo.output, Words({7, 8, 9}));
    const IoctlResult capture = session_.Ioctl(IOCTL_POINTER_GET_CAPTURE, {}, 100);
    EXPECT_EQ(capture.output.size(), sizeof(CaptureRecord));
}

TEST_F(ControlDevice, ButtonModeIsAOneShotFlag) {
    ASSERT_TRUE(session_.Ioctl(IOCTL_POINTER_ARM_BUTTON_MODE, Words({1}), 0).ok);
    EXPECT_EQ(WordAt(session_.Ioctl(IOCTL_POINTER_TAKE_BUTTON_MODE, {}, 4).output, 0), 1u);
    EXPECT_EQ(WordAt(session_.Ioctl(IOCTL_POINTER_TAKE_BUTTON_MODE, {}, 4).output, 0), 0u);
    session_.Ioctl(IOCTL_POINTER_ARM_BUTTON_MODE, Words({1}), 0);
    session_.Ioctl(IOCTL_POINTER_ARM_BUTTON_MODE, Words({1}), 0);
    EXPECT_EQ(WordAt(session_.Ioctl(IOCTL_POINTER_TAKE_BUTTON_MODE, {}, 4).output, 0), 0u) << "arming twice clears";
}

TEST_F(ControlDevice, SetBeepReplacesOutOfRangeValues) {
    for (const BeepBoundCase& c : kBeepBoundCases) {
        ASSERT_TRUE(session_.Ioctl(IOCTL_POINTER_SET_BEEP, Words({1, c.freq, c.time, 7, 9}), 0).ok);
        const Bytes beep = session_.Ioctl(IOCTL_POINTER_GET_BEEP, {}, 20).output;
        ASSERT_EQ(beep.size(), 20u);
        EXPECT_EQ(WordAt(beep, 1), c.wantFreq) << c.freq;
        EXPECT_EQ(WordAt(beep, 2), c.wantTime) << c.time;
        EXPECT_EQ(WordAt(beep, 3), 7u);
        EXPECT_EQ(WordAt(beep, 4), 9u);
    }
}

TEST_F(ControlDevice, CalibrationAndPlacementReachTheNextReport) {
    // XLow 100, YLow 100, XHigh 1900, YHigh 1900.
    ASSERT_TRUE(session_.Ioctl(IOCTL_POINTER_SET_CALIBRATION, Words({100, 100, 1900, 1900, 0, 0, 0xDEAD}), 0).ok);
    EXPECT_EQ(Hex(session_.Report(RawReport(1, 1000, 550))), "01 00 10 00 08 00 00");
    ASSERT_TRUE(session_.Ioctl(IOCTL_POINTER_SET_SCREEN_POS, Words({2}), 0).ok);
    EXPECT_EQ(WordAt(session_.Ioctl(IOCTL_POINTER_GET_SCREEN_POS, {}, 4).output, 0), 2u);
    EXPECT_EQ(Hex(session_.Report(RawReport(1, 1000, 550))), "01 00 18 00 08 00 00");
    // Inverted X exchanges the axes.
    session_.Ioctl(IOCTL_POINTER_SET_SCREEN_POS, Words({0}), 0);
    session_.Ioctl(IOCTL_POINTER_SET_CALIBRATION, Words({1900, 100, 100, 1900, 0, 0}), 0);
    EXPECT_EQ(Hex(session_.Report(RawReport(1, 1000, 550))), "01 00 08 00 10 00 00");
    // Reload restores what the key holds: nothing, so the defaults.
    ASSERT_TRUE(session_.Ioctl(IOCTL_POINTER_RELOAD_SETTINGS, {}, 0).ok);
    EXPECT_EQ(Hex(session_.Report(RawReport(1, 1024, 512))), "01 00 10 00 08 00 00");
}

TEST_F(ControlDevice, CaptureFollowsTheNextWholeTouch) {
    session_.Report(RawReport(1, 300, 300));  // a touch in progress does not count
    ASSERT_TRUE(session_.Ioctl(IOCTL_POINTER_ARM_CAPTURE, {}, 0).ok);
    session_.Report(RawReport(0, 300, 300));
    EXPECT_EQ(WordAt(session_.Ioctl(IOCTL_POINTER_GET_CAPTURE, {}, 12).output, 0), CAPTURE_ARMED);
    session_.Report(RawReport(1, 1000, 550));
    EXPECT_EQ(WordAt(session_.Ioctl(IOCTL_POINTER_GET_CAPTURE, {}, 12).output, 0), CAPTURE_TOUCHING);
    session_.Report(RawReport(1, 1001, 551));
    session_.Report(RawReport(0, 1002, 552));
    const Bytes capture = session_.Ioctl(IOCTL_POINTER_GET_CAPTURE, {}, 12).output;
    EXPECT_EQ(capture, Words({CAPTURE_DONE, 1002, 552}));
}

TEST_F(ControlDevice, ClassRequestsReachTheController) {
    std::vector<KvVirtClassRequest> requests;
    std::string error;
    // The applet's mouse-mode change: no output buffer, so no data stage.
    ASSERT_TRUE(session_.Ioctl(IOCTL_POINTER_SET_DEVICE_MODE, Words({0x120}), 0).ok);
    EXPECT_EQ(WordAt(session_.Ioctl(IOCTL_POINTER_GET_MOUSE_MODE, {}, 4).output, 0), 0x120u);
    // SET_REPORT with more output than input: the extra bytes go out as zeroes.
    ASSERT_TRUE(session_.Ioctl(IOCTL_POINTER_SET_REPORT, {0x02, 0x03, 0x44}, 6).ok);
    const IoctlResult got = session_.Ioctl(IOCTL_POINTER_GET_REPORT, {}, 5);
    ASSERT_TRUE(got.ok);
    EXPECT_EQ(Hex(got.output), "a0 a1 a2 a3 a4");
    ASSERT_TRUE(session_.harness().TakeRequests(&requests, &error)) << error;
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(requests[0].Function, 0x1Bu) << "class interface request";
    EXPECT_EQ(requests[0].Request, 9u);
    EXPECT_EQ(requests[0].Value, 0x120u);
    EXPECT_EQ(requests[0].Length, 0u);
    EXPECT_EQ(requests[1].Value, 0x0302u);
    EXPECT_EQ(requests[1].Length, 6u);
    EXPECT_EQ(Hex(Bytes(requests[1].Data, requests[1].Data + 6)), "02 03 44 00 00 00");
    EXPECT_EQ(requests[2].Request, 1u);
    EXPECT_EQ(requests[2].DeviceToHost, 1u);
    EXPECT_EQ(requests[2].Value, 0x0101u);
    EXPECT_EQ(requests[2].Length, 5u);
}

// A settings read that finds no pool (for the key's path, then for the
// query table) fails with its own status and leaves the running settings.
TEST_F(ControlDevice, ReloadWithoutPoolChangesNothing) {
    const struct {
        DWORD failingAllocation;
        LONG status;
    } cases[] = {{1, static_cast<LONG>(0xC0000099)}, {2, static_cast<LONG>(0xC0000001)}};
    std::string error;
    ASSERT_TRUE(session_.StoreSettings({Dword("DBScreenPos", 2)}, &error)) << error;
    for (const auto& c : cases) {
        ASSERT_TRUE(session_.harness().FailAllocation(c.failingAllocation, &error)) << error;
        EXPECT_FALSE(session_.StoreSettings({Dword("DBScreenPos", 3)}, &error));
        EXPECT_EQ(error, "reload failed with error " + std::to_string(Win32ErrorOf(c.status)));
        EXPECT_EQ(WordAt(session_.Ioctl(IOCTL_POINTER_GET_SCREEN_POS, {}, 4).output, 0), 2u);
    }
}

// The store writes the present values of a whole record under their names
// and nothing else, into the existing key only; what is in force waits for
// a reload.
TEST_F(ControlDevice, SettingsStoreWritesWholeRecordsIntoTheExistingKeyOnly) {
    const char* const names[] = {KV_FOR_EACH_STORED_VALUE(KV_VALUE_NAME_ITEM)};
    const DWORD kMarker = 7;
    std::vector<StoredValue> marked;
    for (const char* name : names) marked.push_back(Dword(name, kMarker));
    const RegKey parameters = MachineKey(KV_PARAMETERS_KEY);
    std::string error;
    for (const StoreCase& c : kStoreCases) {
        ASSERT_TRUE(session_.StoreSettings(marked, &error)) << error;
        Bytes input = Words(StoreWords<std::vector<DWORD>>(c.present));
        input.resize(c.inputLength, 0x11);
        const IoctlResult r = session_.Ioctl(IOCTL_POINTER_STORE_SETTINGS, input, 0);
        EXPECT_EQ(r.ok, c.stored) << c.what;
        EXPECT_EQ(r.error, c.stored ? 0u : static_cast<DWORD>(ERROR_INVALID_PARAMETER)) << c.what;
        for (DWORD i = 0; i < KV_STORED_VALUE_COUNT; ++i) {
            const bool written = c.stored && (c.present & (1u << i));
            EXPECT_EQ(parameters.Dword(names[i], 0), written ? kStoredValueBase + i : kMarker) << c.what << names[i];
        }
        EXPECT_EQ(parameters.Values().size(), KV_STORED_VALUE_COUNT) << c.what << ": nothing else written";
    }
    const Bytes all = Words(StoreWords<std::vector<DWORD>>(KV_STORED_PRESENT_ALL));
    ASSERT_TRUE(session_.Ioctl(IOCTL_POINTER_STORE_SETTINGS, all, 0).ok);
    EXPECT_EQ(WordAt(session_.Ioctl(IOCTL_POINTER_GET_SCREEN_POS, {}, 4).output, 0), kMarker) << "not yet in force";
    ASSERT_TRUE(session_.Ioctl(IOCTL_POINTER_RELOAD_SETTINGS, {}, 0).ok);
    EXPECT_EQ(WordAt(session_.Ioctl(IOCTL_POINTER_GET_SCREEN_POS, {}, 4).output, 0), kStoredValueBase + 12);

    ASSERT_TRUE(parameters.Remove());
    const IoctlResult missing = session_.Ioctl(IOCTL_POINTER_STORE_SETTINGS, all, 0);
    EXPECT_EQ(missing.error, static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_FALSE(parameters.Exists()) << "the key is never created";
}

// SYSTEM and administrators have full access, interactive users read and
// write; nobody else may open the device.
TEST_F(ControlDevice, OnlyInteractiveUsersAndAdministratorsMayOpen) {
    std::vector<BYTE> descriptor;
    std::string error;
    ASSERT_TRUE(session_.harness().ControlDacl(&descriptor, &error)) << error;
    char* sddl = nullptr;
    ASSERT_TRUE(ConvertSecurityDescriptorToStringSecurityDescriptorA(descriptor.data(), SDDL_REVISION_1,
                                                                     DACL_SECURITY_INFORMATION, &sddl, nullptr));
    // 0x12019f: generic read and write of a file.
    EXPECT_STREQ(sddl, "D:(A;;FA;;;SY)(A;;FA;;;BA)(A;;0x12019f;;;IU)");
    LocalFree(sddl);
}

TEST_F(ControlDevice, AnyNumberOfHandlesMayOpenTheDeviceButNoPathBelowIt) {
    for (const auto& [path, status] : {std::pair<std::wstring, LONG>{L"", 0}, {L"\\x", LONG(0xC0000034)}}) {
        LONG opened = -1;
        std::string error;
        ASSERT_TRUE(session_.harness().OpenControl(path, &opened, &error)) << error;
        EXPECT_EQ(opened, status) << "a path below the device names nothing";
    }
    HANDLE second = DriverSession::OpenControlDevice();
    ASSERT_NE(second, INVALID_HANDLE_VALUE) << GetLastError();
    DWORD returned = 0, position = 99;
    EXPECT_TRUE(DeviceIoControl(second, IOCTL_POINTER_GET_SCREEN_POS, nullptr, 0, &position, 4, &returned, nullptr));
    EXPECT_EQ(position, 0u);
    CloseHandle(second);
    std::string error;
    EXPECT_TRUE(session_.Replug(&error)) << "every open was closed again: " << error;
}

// A hostile caller: every function number around the codes, each transfer
// method, odd lengths and garbage, each request followed by the applet's
// test beep (whose stored length of 0 makes its end run at once).
DWORD WINAPI SendGarbage(void* context) {
    auto* sent = static_cast<volatile LONG*>(context);
    HANDLE device = DriverSession::OpenControlDevice();
    if (device == INVALID_HANDLE_VALUE) return 1;
    const DWORD lengths[][2] = {{0, 0}, {1, 3}, {3, 4096}, {5, 11}, {13, 12}, {21, 19}, {25, 23}, {61, 64}, {4096, 0}};
    std::vector<BYTE> input(4096), output(4096);
    DWORD seed = GetCurrentThreadId(), returned = 0;
    for (DWORD function = 0x8F0; function <= 0x9B0; ++function) {
        for (DWORD method = 0; method < 4; ++method) {
            for (const auto& length : lengths) {
                for (BYTE& b : input) b = static_cast<BYTE>((seed = seed * 1103515245 + 12345) >> 16);
                DeviceIoControl(device, KV_CTL_CODE(function) | method, input.data(), length[0], output.data(),
                                length[1], &returned, nullptr);
                DeviceIoControl(device, IOCTL_POINTER_BEEP, output.data(), 3, nullptr, 0, &returned, nullptr);
                InterlockedExchangeAdd(sent, 2);
            }
        }
    }
    CloseHandle(device);
    return 0;
}

// No sequence of control requests, from two callers at once, may hang a
// caller or the driver: each returns, and the device answers afterwards.
TEST_F(ControlDevice, NoSequenceOfRequestsHangsACaller) {
    volatile LONG sent = 0;
    HANDLE callers[2];
    for (HANDLE& caller : callers) caller = CreateThread(nullptr, 0, SendGarbage, const_cast<LONG*>(&sent), 0, nullptr);
    // Stuck means no request returned for 30 s: a loaded machine is only slow.
    DWORD ended = WAIT_TIMEOUT;
    for (DWORD quietMs = 0; ended == WAIT_TIMEOUT && quietMs < 30000;) {
        const LONG before = sent;
        ended = WaitForMultipleObjects(2, callers, TRUE, 1000);
        quietMs = sent == before ? quietMs + 1000 : 0;
    }
    EXPECT_EQ(ended, WAIT_OBJECT_0) << "stuck after " << sent << " requests";
    for (HANDLE caller : callers) CloseHandle(caller);
    std::string error;
    ASSERT_TRUE(session_.StoreSettings({}, &error)) << error;
    EXPECT_EQ(WordAt(session_.Ioctl(IOCTL_POINTER_GET_SCREEN_POS, {}, 4).output, 0), 0u);
}

}  // namespace
}  // namespace kvtest
