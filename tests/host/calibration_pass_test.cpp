// Pass sequencing against a double of the driver: the order of requests,
// the trial record, quitting mid-pass, Cancel starting over at target 1,
// and a capture wait that outlasts failing polls.
#include <gtest/gtest.h>

#include <cstring>

#include "calibration_pass.h"
#include "scripted_control_device.h"

namespace {

// The driver's control device as the program has it: open.
struct FakeControlDevice : kvtest::ScriptedControlDevice {
    FakeControlDevice() { Open(); }
};

// The window side as the reader thread sees it. `quitAfterTarget` sets the
// quit flag once that target code has been shown and `quitAfterPolls`
// polls have passed; `passesBeforeQuit` ends the reader after that many
// confirmation requests (the user cancelling each one).
class RecordingHost : public kvcal::PassHost {
public:
    std::vector<int32_t> shown;
    std::vector<uint32_t> sleeps;
    int starts = 0, confirmations = 0;
    int32_t quitAfterTarget = -1;
    int quitAfterPolls = 0;
    int passesBeforeQuit = 1;

    bool Quitting() override { return quit_; }
    void Sleep(uint32_t ms) override {
        sleeps.push_back(ms);
        if (!shown.empty() && shown.back() == quitAfterTarget && --quitAfterPolls < 0) quit_ = true;
    }
    void WaitForStart() override { ++starts; }
    void ShowTarget(int32_t code) override { shown.push_back(code); }
    void RequestConfirmation() override {
        if (++confirmations >= passesBeforeQuit) quit_ = true;
    }

private:
    bool quit_ = false;
};

void ScriptWorkedExample(FakeControlDevice* device, int pollsEach) {
    const kvcal::Point raw[] = {{500, 400}, {1500, 1200}, {502, 1198}, {1498, 402}};
    for (const kvcal::Point& p : raw) device->AddTouch(p.x, p.y, pollsEach);
}


TEST(RunPass, WorkedExampleSendsTheTrialRecord) {
    FakeControlDevice device;
    ScriptWorkedExample(&device, 2);
    RecordingHost host;
    kvcal::CalibrationRecord record;
    ASSERT_EQ(kvcal::RunPass(device, host, &record), kvcal::PassResult::Computed);
    EXPECT_EQ(host.shown, (std::vector<int32_t>{16, 32, 48, 64, 0}));
    EXPECT_EQ(record.XLow, 2);
    EXPECT_EQ(record.YHigh, 1598);

    // Per point: arm, then polls until done (two touching, one done).
    std::vector<uint32_t> expected;
    for (int i = 0; i < 4; ++i) {
        expected.push_back(IOCTL_POINTER_ARM_CAPTURE);
        for (int poll = 0; poll < 3; ++poll) expected.push_back(IOCTL_POINTER_GET_CAPTURE);
    }
    expected.push_back(IOCTL_POINTER_SET_CALIBRATION);
    EXPECT_EQ(device.Codes(), expected);
    EXPECT_EQ(host.sleeps, std::vector<uint32_t>(12, kvcal::kPollMilliseconds)) << "one 50 ms wait per poll";

    // The whole 56-byte record goes down; the driver's first six words are
    // the first diagonal: L1 0, T1 0, R1 2000, B1 1600.
    const std::vector<uint8_t> sent = device.Requests().back().input;
    ASSERT_EQ(sent.size(), 56u);
    int32_t words[14];
    std::memcpy(words, sent.data(), sizeof words);
    const int32_t want[14] = {0, 0, 2000, 1600, 4, 1596, 1996, 4, 2, 2, 1998, 1598, 0, 0};
    for (int i = 0; i < 14; ++i) EXPECT_EQ(words[i], want[i]) << "word " << i;
}

struct QuitCase {
    const char* what;
    int32_t quitAfterTarget;
    int quitAfterPolls;
    size_t arms;
    std::vector<int32_t> shown;
};

TEST(RunPass, QuittingStopsBetweenPointsAndSendsNothing) {
    const QuitCase cases[] = {
        {"during the first target", 16, 0, 1, {16}},
        {"during the third target, mid-touch", 48, 1, 3, {16, 32, 48}},
        {"during the fourth target", 64, 0, 4, {16, 32, 48, 64}},
    };
    for (const QuitCase& c : cases) {
        FakeControlDevice device;
        ScriptWorkedExample(&device, 5);
        RecordingHost host;
        host.quitAfterTarget = c.quitAfterTarget;
        host.quitAfterPolls = c.quitAfterPolls;
        kvcal::CalibrationRecord record;
        EXPECT_EQ(kvcal::RunPass(device, host, &record), kvcal::PassResult::Quit) << c.what;
        EXPECT_EQ(device.Count(IOCTL_POINTER_ARM_CAPTURE), c.arms) << c.what;
        EXPECT_EQ(device.Count(IOCTL_POINTER_SET_CALIBRATION), 0u) << c.what;
        EXPECT_EQ(host.shown, c.shown) << c.what;
    }
}

TEST(CapturePoint, TouchEndingInTheLastPollStillCounts) {
    // The touch ends in the very poll after which the program quits: the
    // point is kept.
    FakeControlDevice device;
    device.AddTouch(7, 9, 1);
    RecordingHost host;
    host.shown.push_back(16);
    host.quitAfterTarget = 16;
    host.quitAfterPolls = 1;
    kvcal::Point p = {};
    EXPECT_TRUE(kvcal::CapturePoint(device, host, &p));
    EXPECT_EQ(p.x, 7);
    EXPECT_EQ(p.y, 9);
}

TEST(CapturePoint, FailingPollsKeepWaiting) {
    FakeControlDevice device;
    device.failPolls = true;
    RecordingHost host;
    host.shown.push_back(16);
    host.quitAfterTarget = 16;
    host.quitAfterPolls = 20;
    kvcal::Point p = {-1, -1};
    EXPECT_FALSE(kvcal::CapturePoint(device, host, &p));
    EXPECT_EQ(device.Count(IOCTL_POINTER_GET_CAPTURE), 21u) << "polls until the program quits";
    EXPECT_EQ(p.x, -1) << "no point without CAPTURE_DONE";
}

TEST(RunReader, CancelStartsOverAtTheFirstTarget) {
    FakeControlDevice device;
    ScriptWorkedExample(&device, 0);
    // The second pass: a sensor turned by 90 degrees.
    const kvcal::Point turned[] = {{400, 1500}, {1200, 500}, {1200, 1500}, {400, 500}};
    for (const kvcal::Point& p : turned) device.AddTouch(p.x, p.y);
    RecordingHost host;
    host.passesBeforeQuit = 2;
    kvcal::CalibrationRecord record;
    kvcal::RunReader(device, host, &record);
    EXPECT_EQ(host.starts, 2);
    EXPECT_EQ(host.confirmations, 2);
    EXPECT_EQ(host.shown, (std::vector<int32_t>{16, 32, 48, 64, 0, 16, 32, 48, 64, 0}));
    EXPECT_EQ(device.Count(IOCTL_POINTER_SET_CALIBRATION), 2u);
    EXPECT_EQ(record.XHigh, 1600) << "the record holds the latest pass";
    EXPECT_EQ(record.YLow, 2000);
    EXPECT_EQ(host.sleeps.back(), kvcal::kConfirmPauseMilliseconds);
}

TEST(RunReader, QuitWhileWaitingForStartRunsNoPass) {
    FakeControlDevice device;
    // Quit arrives with the start signal (Escape sets the flag, then signals).
    struct QuitOnStart : RecordingHost {
        bool quit = false;
        bool Quitting() override { return quit; }
        void WaitForStart() override { quit = true; }
    } quitting;
    kvcal::CalibrationRecord record;
    kvcal::RunReader(device, quitting, &record);
    EXPECT_TRUE(device.Requests().empty());
    EXPECT_TRUE(quitting.shown.empty());
}

}  // namespace
