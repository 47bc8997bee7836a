// Control codes: effect, status and returned bytes on buffered requests,
// including short and oversized buffers.
#include <gtest/gtest.h>

#include <vector>

#include "bytes.h"
#include "control.h"
#include "control_cases.h"
#include "core_fakes.h"
#include "settings.h"

namespace {

constexpr uint8_t kStale = 0xCD;

class ControlTest : public ::testing::Test {
protected:
    void SetUp() override {
        kv::ClearDriverState(state);
        kv::ReadSettings(state, ports.source);
    }
    // Runs a request whose input is `words`; the system buffer is
    // max(input, output) bytes and starts with stale bytes past the input.
    kv::ControlResult Run(uint32_t code, std::vector<uint32_t> words = {}, uint32_t outputLength = 0,
                          uint32_t inputLength = UINT32_MAX) {
        const uint32_t wordBytes = static_cast<uint32_t>(words.size() * 4);
        const uint32_t in = inputLength == UINT32_MAX ? wordBytes : inputLength;
        buffer.assign(std::max(in, outputLength), kStale);
        for (size_t i = 0; i < wordBytes && i < buffer.size(); ++i) buffer[i] = uint8_t(words[i / 4] >> (8 * (i % 4)));
        const kv::ControlRequest request = {code, buffer.empty() ? nullptr : buffer.data(), in, outputLength};
        const kv::ControlResult result = kv::DispatchControl(state, ports, request);
        EXPECT_LE(result.bytesReturned, outputLength) << "never more than the output length";
        return result;
    }
    uint32_t Word(size_t index) const { return kv::LoadLe32(&buffer[index * 4]); }

    kv::DriverState state;
    kvtest::RecordingPorts ports{state};
    std::vector<uint8_t> buffer;
};

TEST_F(ControlTest, ShortBuffersAndOversizedReportsAreRejectedWithoutChange) {
    std::vector<std::pair<kvtest::ShortBufferCase, kv::Status>> cases;
    for (const auto& c : kvtest::kShortBufferCases) cases.emplace_back(c, kv::kStatusBufferTooSmall);
    for (const auto& c : kvtest::kOversizedReportCases) cases.emplace_back(c, kv::kStatusInvalidParameter);
    for (const auto& [c, status] : cases) {
        SetUp();
        state.Settings.ButtonMode = 1;
        const kv::DriverState before = state;
        const kv::ControlResult result = Run(c.code, {1, 1, 1, 1, 1, 1}, c.outputLength, c.inputLength);
        EXPECT_EQ(result.status, status) << c.what;
        EXPECT_EQ(result.bytesReturned, 0u) << c.what;
        EXPECT_EQ(0, memcmp(&before, &state, sizeof state)) << c.what << ": state changed";
        EXPECT_TRUE(ports.requests.empty()) << c.what << ": nothing sent to the controller";
    }
}

TEST_F(ControlTest, UnknownCode) {
    EXPECT_EQ(Run(0xF2404, {}, 64).status, kv::kStatusInvalidDeviceRequest);
    EXPECT_EQ(Run(0x222003).status, kv::kStatusInvalidDeviceRequest);
}

TEST_F(ControlTest, ButtonModeOneShot) {
    EXPECT_EQ(Run(IOCTL_POINTER_ARM_BUTTON_MODE, {1}).status, kv::kStatusSuccess);
    EXPECT_EQ(state.Settings.ButtonMode, 1u);
    Run(IOCTL_POINTER_ARM_BUTTON_MODE, {1});
    EXPECT_EQ(state.Settings.ButtonMode, 0u) << "arming an armed flag clears it";
    Run(IOCTL_POINTER_ARM_BUTTON_MODE, {1});
    EXPECT_EQ(Run(IOCTL_POINTER_TAKE_BUTTON_MODE, {}, 4).bytesReturned, 4u);
    EXPECT_EQ(Word(0), 1u);
    Run(IOCTL_POINTER_TAKE_BUTTON_MODE, {}, 4);
    EXPECT_EQ(Word(0), 0u);
    Run(IOCTL_POINTER_ARM_BUTTON_MODE, {5});
    EXPECT_EQ(state.Settings.ButtonMode, 0u);
}

TEST_F(ControlTest, CaptureArmAndRead) {
    state.Capture = {CAPTURE_DONE, -3, 77};
    EXPECT_EQ(Run(IOCTL_POINTER_ARM_CAPTURE).status, kv::kStatusSuccess);
    const kv::ControlResult result = Run(IOCTL_POINTER_GET_CAPTURE, {}, 12);
    EXPECT_EQ(result.bytesReturned, 12u);
    EXPECT_EQ(Word(0), CAPTURE_ARMED);
    EXPECT_EQ(static_cast<int32_t>(Word(1)), -3) << "the point is left as it was";
    EXPECT_EQ(Word(2), 77u);
}

TEST_F(ControlTest, EchoReturnsTwelveInputBytes) {
    const kv::ControlResult result = Run(IOCTL_POINTER_ECHO, {0x11, 0x22, 0x33, 0x44}, 16);
    EXPECT_EQ(result.bytesReturned, 12u);
    EXPECT_EQ(Word(0), 0x11u);
    EXPECT_EQ(Word(2), 0x33u);
}

TEST_F(ControlTest, CalibrationAndReload) {
    ports.source.stored = {{KV_VALUE_XLow, 100}, {KV_VALUE_XHigh, 1900}};
    Run(IOCTL_POINTER_RELOAD_SETTINGS);
    EXPECT_EQ(Run(IOCTL_POINTER_SET_CALIBRATION, {500, 7, 500, 9, 1, 2, 99, 99}).status, kv::kStatusSuccess);
    EXPECT_EQ(state.Calibration.XRange, 8191u) << "equal low and high";
    EXPECT_EQ(state.Calibration.YProp, 2u);
    EXPECT_EQ(state.Calibration.XMin, 1);
    EXPECT_EQ(state.Calibration.YOffset, 2);
    EXPECT_EQ(Run(IOCTL_POINTER_RELOAD_SETTINGS).status, kv::kStatusSuccess);
    EXPECT_EQ(state.Calibration.XLow, 100) << "a reload restores the stored calibration";
    EXPECT_EQ(state.Calibration.XRange, 1800u);
}

TEST_F(ControlTest, ReloadStatusLoudAndQuiet) {
    ports.source.status = kv::kStatusUnsuccessful;
    EXPECT_EQ(Run(IOCTL_POINTER_RELOAD_SETTINGS).status, kv::kStatusUnsuccessful);
    EXPECT_EQ(Run(IOCTL_POINTER_RELOAD_SETTINGS_QUIET).status, kv::kStatusSuccess);
}

TEST_F(ControlTest, BeepSetGetAndSound) {
    for (const kvtest::BeepBoundCase& c : kvtest::kBeepBoundCases) {
        Run(IOCTL_POINTER_SET_BEEP, {1, c.freq, c.time, 5, 6});
        EXPECT_EQ(state.Settings.BeepFreq, c.wantFreq) << c.freq;
        EXPECT_EQ(state.Settings.BeepTime, c.wantTime) << c.time;
    }
    Run(IOCTL_POINTER_SET_BEEP, {1, 100, 1000, 5, 6});
    const kv::ControlResult result = Run(IOCTL_POINTER_GET_BEEP, {}, 64);
    EXPECT_EQ(result.bytesReturned, 20u) << "exactly the record";
    EXPECT_EQ(Word(0), 1u);
    EXPECT_EQ(Word(1), 2000u);
    EXPECT_EQ(Word(3), 5u);
    EXPECT_EQ(buffer[20], kStale) << "nothing written past the record";
    Run(IOCTL_POINTER_BEEP);
    ASSERT_EQ(ports.beeps.size(), 1u);
    EXPECT_EQ(ports.beeps[0], (kvtest::Beep{2000, 32}));
}

TEST_F(ControlTest, SettingsStoreTakesOnlyWholeRecordsAndChangesNothingInForce) {
    for (const kvtest::StoreCase& c : kvtest::kStoreCases) {
        SetUp();
        ports.stored.clear();
        const kv::DriverState before = state;
        const auto words = kvtest::StoreWords<std::vector<uint32_t>>(c.present);
        const kv::ControlResult result = Run(IOCTL_POINTER_STORE_SETTINGS, words, 0, c.inputLength);
        EXPECT_EQ(result.status, c.stored ? kv::kStatusSuccess : kv::kStatusInvalidParameter) << c.what;
        EXPECT_EQ(0, memcmp(&before, &state, sizeof state)) << c.what << ": settings in force changed";
        ASSERT_EQ(ports.stored.size(), c.stored ? 1u : 0u) << c.what;
        if (c.stored) {
            EXPECT_EQ(0, memcmp(&ports.stored[0], &words[0], sizeof(StoredSettings))) << c.what;
        }
    }
    ports.storeStatus = static_cast<kv::Status>(0xC0000022u);  // the key refused
    EXPECT_EQ(Run(IOCTL_POINTER_STORE_SETTINGS, kvtest::StoreWords<std::vector<uint32_t>>(1)).status,
              ports.storeStatus);
}

TEST_F(ControlTest, Counter) {
    Run(IOCTL_POINTER_COUNTER_DOWN);
    EXPECT_EQ(state.Settings.ClientCounter, 0u);
    Run(IOCTL_POINTER_COUNTER_UP);
    Run(IOCTL_POINTER_COUNTER_UP);
    Run(IOCTL_POINTER_COUNTER_DOWN);
    EXPECT_EQ(state.Settings.ClientCounter, 1u);
}

TEST_F(ControlTest, ScreenPosAndMouseMode) {
    Run(IOCTL_POINTER_SET_SCREEN_POS, {2});
    Run(IOCTL_POINTER_GET_SCREEN_POS, {}, 4);
    EXPECT_EQ(Word(0), 2u);
    Run(IOCTL_POINTER_SET_DEVICE_MODE, {0x130});
    Run(IOCTL_POINTER_GET_MOUSE_MODE, {}, 4);
    EXPECT_EQ(Word(0), 0x130u);
}

TEST_F(ControlTest, DeviceModeWithoutOutputHasNoDataStage) {
    ports.classStatus = static_cast<kv::Status>(0xC0000001u);
    EXPECT_EQ(Run(IOCTL_POINTER_SET_DEVICE_MODE, {0x120}).status, ports.classStatus) << "the USB status";
    ASSERT_EQ(ports.requests.size(), 1u);
    const kv::ClassRequest& r = ports.requests[0];
    EXPECT_EQ(r.Request, 9);
    EXPECT_FALSE(r.DeviceToHost);
    EXPECT_EQ(r.Value, 0x120);
    EXPECT_EQ(r.Index, 0);
    EXPECT_EQ(r.Length, 0u);
}

TEST_F(ControlTest, SetReportSendsOnlyCallerBytes) {
    Run(IOCTL_POINTER_SET_REPORT, {0x0302}, 8);
    ASSERT_EQ(ports.requests.size(), 1u);
    EXPECT_EQ(ports.requests[0].Value, 0x0302);
    EXPECT_EQ(ports.requestData[0], (std::vector<uint8_t>{2, 3, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(Run(IOCTL_POINTER_SET_REPORT, {}, 24).status, kv::kStatusSuccess) << "as long as the longest record";
}

TEST_F(ControlTest, SetReportWithOneInputByte) {
    Run(IOCTL_POINTER_SET_REPORT, {0x07}, 2, 1);
    EXPECT_EQ(ports.requests[0].Value, 0x0007) << "missing value byte counts as 0";
    EXPECT_EQ(ports.requestData[0], (std::vector<uint8_t>{7, 0}));
}

TEST_F(ControlTest, GetReportReturnsWhatTheControllerSent) {
    ports.deviceAnswer = {1, 2, 3};
    const kv::ControlResult result = Run(IOCTL_POINTER_GET_REPORT, {}, 8);
    EXPECT_EQ(result.bytesReturned, 3u);
    EXPECT_EQ(ports.requests[0].Request, 1);
    EXPECT_TRUE(ports.requests[0].DeviceToHost);
    EXPECT_EQ(ports.requests[0].Value, 0x0101);
    EXPECT_EQ(ports.requests[0].Length, 8u);
    ports.deviceAnswer.assign(20, 9);
    EXPECT_EQ(Run(IOCTL_POINTER_GET_REPORT, {}, 4).bytesReturned, 4u) << "capped at the output length";
    ports.classStatus = static_cast<kv::Status>(0xC0000001u);
    EXPECT_EQ(Run(IOCTL_POINTER_GET_REPORT, {}, 4).bytesReturned, 0u) << "no data on failure";
}

}  // namespace
