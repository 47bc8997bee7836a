// The report path: what reaches the layers above, beeps, dwell right button,
// and the calibration capture.
#include <gtest/gtest.h>

#include <vector>

#include "core_fakes.h"
#include "report.h"
#include "settings.h"

namespace {

class ReportTest : public ::testing::Test {
protected:
    void SetUp() override {
        kv::ClearDriverState(state);
        kv::ReadSettings(state, ports.source);
    }
    void Load(const std::map<int, uint32_t>& stored) {
        ports.source.stored = stored;
        kv::ReadSettings(state, ports.source);
    }
    // Sends one 7-byte report and returns it as processed.
    std::vector<uint8_t> Send(uint8_t contact, uint16_t x, uint16_t y) {
        std::vector<uint8_t> r = {contact, uint8_t(x), uint8_t(x >> 8), uint8_t(y), uint8_t(y >> 8), 0xAA, 0xBB};
        kv::ProcessReport(state, r.data(), static_cast<uint32_t>(r.size()), ports);
        return r;
    }
    kv::DriverState state;
    kvtest::RecordingPorts ports{state};
};

TEST_F(ReportTest, RewritesOnlyCoordinateBytes) {
    Load({{KV_VALUE_XLow, 100}, {KV_VALUE_XHigh, 1900}, {KV_VALUE_YLow, 100}, {KV_VALUE_YHigh, 1900}});
    EXPECT_EQ(Send(1, 1000, 550), (std::vector<uint8_t>{1, 0x00, 0x10, 0x00, 0x08, 0xAA, 0xBB}));
}

TEST_F(ReportTest, ShortOrMissingReportsPassUntouched) {
    uint8_t six[6] = {1, 0xE8, 0x03, 0x26, 0x02, 0};
    kv::ProcessReport(state, six, sizeof six, ports);
    EXPECT_EQ(six[1], 0xE8);
    EXPECT_EQ(state.Settings.TouchState, kv::kTouchUp) << "no state change";
    kv::ProcessReport(state, nullptr, 64, ports);
    EXPECT_EQ(state.Settings.TouchState, kv::kTouchUp);
    Send(1, 1, 1);
    EXPECT_EQ(state.Settings.TouchState, kv::kTouchFirstContact) << "7 bytes are processed";
}

struct BeepCase {
    const char* what;
    uint32_t mode;
    std::vector<uint8_t> contacts;
    size_t beeps;
};

TEST_F(ReportTest, BeepModes) {
    const BeepCase cases[] = {
        {"never", 0, {1, 1, 1, 0}, 0},
        {"touch down: one per touch", 1, {1, 1, 1, 0, 1, 1, 0}, 2},
        {"touch up: when the touch ends", 2, {1, 1, 1, 0}, 1},
        {"touch up: idle reports are silent", 2, {0, 0, 0}, 0},
        {"touch up: one-report touch still beeps", 2, {1, 0}, 1},
        {"other contact value ends the touch", 2, {1, 1, 7}, 1},
        {"other contact value while up is silent", 2, {7, 7}, 0},
    };
    for (const BeepCase& c : cases) {
        SetUp();
        ports.beeps.clear();
        Load({{KV_VALUE_BeepMode, c.mode}, {KV_VALUE_BeepFreq, 1500}, {KV_VALUE_BeepTime, 40}});
        for (uint8_t contact : c.contacts) Send(contact, 10, 10);
        EXPECT_EQ(ports.beeps.size(), c.beeps) << c.what;
        for (const kvtest::Beep& b : ports.beeps) EXPECT_EQ(b, (kvtest::Beep{1500, 40})) << c.what;
    }
}

TEST_F(ReportTest, DwellFiresOnTheDelayedPairAndRestarts) {
    // Default delay 61: the 61st unmoved pair turns its second report into 2.
    std::vector<int> fired;
    for (int report = 1; report <= 2 * 122; ++report) {
        if (Send(1, 300, 400)[0] == kv::kContactSecondaryButton) fired.push_back(report);
    }
    EXPECT_EQ(fired, (std::vector<int>{122, 244}));
}

TEST_F(ReportTest, DwellMovementRestartsCount) {
    Load({{KV_VALUE_RBNDelay, 2}});
    EXPECT_EQ(Send(1, 5, 5)[0], 1);
    EXPECT_EQ(Send(1, 5, 5)[0], 1);  // pair 1
    EXPECT_EQ(Send(1, 5, 5)[0], 1);
    EXPECT_EQ(Send(1, 6, 5)[0], 1);  // moved: restart
    EXPECT_EQ(Send(1, 6, 5)[0], 1);
    EXPECT_EQ(Send(1, 6, 5)[0], 1);  // pair 1
    EXPECT_EQ(Send(1, 6, 5)[0], 1);
    EXPECT_EQ(Send(1, 6, 5)[0], 2);  // pair 2 fires
}

TEST_F(ReportTest, DwellOffAndZeroNeverFire) {
    for (uint32_t delay : {12u, 0u}) {
        SetUp();
        Load({{KV_VALUE_RBNDelay, delay}});
        for (int i = 0; i < 1000; ++i) ASSERT_EQ(Send(1, 9, 9)[0], 1) << "delay " << delay;
    }
}

TEST_F(ReportTest, CaptureArmedTouchingDone) {
    state.Capture.State = CAPTURE_ARMED;
    Send(1, 500, 400);
    EXPECT_EQ(state.Capture.State, CAPTURE_TOUCHING);
    Send(1, 501, 401);
    EXPECT_EQ(state.Capture.State, CAPTURE_TOUCHING);
    Send(0, 502, 402);
    EXPECT_EQ(state.Capture.State, CAPTURE_DONE);
    EXPECT_EQ(state.Capture.X, 502);
    EXPECT_EQ(state.Capture.Y, 402);
    Send(1, 1, 1);
    Send(0, 2, 2);
    EXPECT_EQ(state.Capture.State, CAPTURE_DONE) << "done stays until armed again";
}

TEST_F(ReportTest, CaptureIgnoresTouchInProgress) {
    Send(1, 10, 10);
    state.Capture.State = CAPTURE_ARMED;
    Send(1, 11, 11);
    Send(0, 12, 12);
    EXPECT_EQ(state.Capture.State, CAPTURE_ARMED);
    Send(1, 20, 20);
    Send(0, 21, 21);
    EXPECT_EQ(state.Capture.State, CAPTURE_DONE);
    EXPECT_EQ(state.Capture.X, 21);
}

TEST_F(ReportTest, SingleContactTouchCompletesCaptureWithItsPoint) {
    state.Capture.State = CAPTURE_ARMED;
    Send(1, 700, 800);
    Send(0, 701, 801);
    EXPECT_EQ(state.Settings.TouchState, kv::kTouchUp);
    EXPECT_EQ(state.Capture.State, CAPTURE_DONE);
    EXPECT_EQ(state.Capture.X, 701);
    EXPECT_EQ(state.Capture.Y, 801);
}

TEST_F(ReportTest, RawPointIsUnsignedSixteenBit) {
    Load({{KV_VALUE_XLow, 0}, {KV_VALUE_XHigh, 65535}, {KV_VALUE_YLow, 0}, {KV_VALUE_YHigh, 65535}});
    state.Capture.State = CAPTURE_ARMED;
    Send(1, 0xFFFF, 0x8000);
    Send(0, 0xFFFF, 0x8000);
    EXPECT_EQ(state.Capture.X, 65535);
    EXPECT_EQ(state.Capture.Y, 32768);
}

}  // namespace
