// Settings read from the prefix's real registry and the report path of the
// real kvusb.sys, end to end through the virtual controller.
#include <gtest/gtest.h>

#include "driver_session.h"
#include "kvshared.h"

namespace kvtest {
namespace {

class ReportPath : public DriverTest {
protected:
    void Store(const std::vector<StoredValue>& values) {
        std::string error;
        ASSERT_TRUE(session_.StoreSettings(values, &error)) << error;
    }
    std::vector<KvVirtBeep> TakeBeeps() {
        std::vector<KvVirtBeep> beeps;
        std::string error;
        EXPECT_TRUE(session_.harness().TakeBeeps(&beeps, &error)) << error;
        return beeps;
    }
};

TEST_F(ReportPath, SettingsComeFromTheRegistry) {
    struct Case {
        const char* what;
        std::vector<StoredValue> stored;
        int rawX, rawY;
        const char* arrives;
    } cases[] = {
        {"no key: defaults", {}, 1024, 512, "01 00 10 00 08 00 00"},
        {"calibrated X and Y", {Dword("XLow", 100), Dword("XHigh", 1900), Dword("YLow", 100), Dword("YHigh", 1900)},
         1000, 550, "01 00 10 00 08 00 00"},
        {"only X stored, Y keeps its default span", {Dword("XLow", 100), Dword("XHigh", 1900)}, 1000, 512,
         "01 00 10 00 08 00 00"},
        {"a stored XRange never counts", {Dword("XRange", 1), Dword("YProp", 99999)}, 1024, 512,
         "01 00 10 00 08 00 00"},
        {"a string reads like a missing value", {{"XHigh", REG_SZ, {'9', '9', 0}}}, 1024, 512,
         "01 00 10 00 08 00 00"},
        {"a short binary reads like a missing value", {{"XHigh", REG_BINARY, {0x10, 0x00}}}, 1024, 512,
         "01 00 10 00 08 00 00"},
        {"an eight-byte value reads like a missing one", {{"XHigh", REG_QWORD, Bytes(8, 0x01)}}, 1024, 512,
         "01 00 10 00 08 00 00"},
        {"placement 3 halves screen Y", {Dword("DBScreenPos", 3)}, 1024, 512, "01 00 10 00 04 00 00"},
        {"both axes inverted", {Dword("XLow", 1900), Dword("XHigh", 100), Dword("YLow", 1900), Dword("YHigh", 100)},
         50, 50, "01 ff 1f ff 1f 00 00"},
    };
    for (const Case& c : cases) {
        Store(c.stored);
        EXPECT_EQ(Hex(session_.Report(RawReport(1, c.rawX, c.rawY))), c.arrives) << c.what;
        session_.Report(RawReport(0, c.rawX, c.rawY));
    }
}

TEST_F(ReportPath, ValidationOfStoredBeepValues) {
    struct Case { DWORD freq, time, mode, wantFreq, wantTime, wantMode; } cases[] = {
        {999, 31, 7, 0, 0, 2}, {1000, 32, 1, 1000, 32, 1}, {5000, 750, 0, 5000, 750, 0}, {5001, 751, 2, 0, 0, 2}};
    for (const Case& c : cases) {
        Store({Dword("BeepFreq", c.freq), Dword("BeepTime", c.time), Dword("BeepMode", c.mode)});
        const Bytes beep = session_.Ioctl(IOCTL_POINTER_GET_BEEP, {}, 20).output;
        ASSERT_EQ(beep.size(), 20u);
        EXPECT_EQ(WordAt(beep, 0), c.wantMode) << c.mode;
        EXPECT_EQ(WordAt(beep, 1), c.wantFreq) << c.freq;
        EXPECT_EQ(WordAt(beep, 2), c.wantTime) << c.time;
    }
}

TEST_F(ReportPath, TransfersTheFilterMustLeaveAlone) {
    EXPECT_EQ(Hex(session_.Report({1, 0x00, 0x04, 0x00, 0x02, 0x00})), "01 00 04 00 02 00") << "six bytes";
    EXPECT_EQ(Hex(session_.Report({1, 0x00, 0x04, 0x00, 0x02, 0x00, 0x00})), "01 00 10 00 08 00 00") << "seven";
    for (DWORD mode : {KVVIRT_REPORT_NO_BUFFER, KVVIRT_REPORT_FAILED, KVVIRT_REPORT_OUTGOING}) {
        EXPECT_EQ(Hex(session_.Report(RawReport(1, 1024, 512), 0, mode)), "01 00 04 00 02 00 00")
            << "no buffer pointer, a failed or an outgoing transfer: mode " << mode;
    }
    EXPECT_TRUE(session_.Report({}).empty()) << "an empty transfer";
    session_.Report(RawReport(0, 0, 0));
}

TEST_F(ReportPath, ATransferCompletedLaterIsRewrittenToo) {
    for (int i = 0; i < 20; ++i) {
        EXPECT_EQ(Hex(session_.Report(RawReport(1, 1024, 512), 0, KVVIRT_REPORT_COMPLETE_LATER)),
                  "01 00 10 00 08 00 00");
    }
    session_.Report(RawReport(0, 1024, 512), 0, KVVIRT_REPORT_COMPLETE_LATER);
}

TEST_F(ReportPath, BeepsSoundThroughTheSpeaker) {
    ASSERT_TRUE(TakeBeeps().empty());
    Store({Dword("BeepMode", 1), Dword("BeepFreq", 3000), Dword("BeepTime", 40)});
    session_.Touch(500, 500, 3);
    session_.Touch(600, 600, 3);
    Store({Dword("BeepMode", 2), Dword("BeepFreq", 1500), Dword("BeepTime", 40)});
    session_.Touch(500, 500, 3);
    ASSERT_TRUE(session_.WaitForHarness(SpeakerQuiet));
    const std::vector<KvVirtBeep> beeps = TakeBeeps();
    ASSERT_EQ(beeps.size(), 3u) << "one a touch";
    EXPECT_EQ(beeps[0].Frequency, 3000u);
    EXPECT_EQ(beeps[1].Frequency, 3000u);
    EXPECT_EQ(beeps[2].Frequency, 1500u);
    EXPECT_GE(beeps[2].Milliseconds, 30u) << "the timer ends the tone after about 40 ms";
    EXPECT_LE(beeps[2].Milliseconds, 140u);
    // The test beep of the control panel: tone and length as set.
    session_.Ioctl(IOCTL_POINTER_SET_BEEP, Words({0, 4000, 60, 0, 0}), 0);
    ASSERT_TRUE(session_.Ioctl(IOCTL_POINTER_BEEP, {}, 0).ok);
    ASSERT_TRUE(session_.WaitForHarness(SpeakerQuiet));
    const std::vector<KvVirtBeep> test = TakeBeeps();
    ASSERT_EQ(test.size(), 1u);
    EXPECT_EQ(test[0].Frequency, 4000u);
    EXPECT_GE(test[0].Milliseconds, 50u);
}

TEST_F(ReportPath, RestingFingerBecomesASecondaryButtonReport) {
    Store({Dword("RBNDelay", 3)});
    // The dwell phase carries over from earlier reports, so where the first
    // secondary report falls varies by one; the spacing does not.
    std::vector<int> secondary;
    for (int i = 0; i < 14; ++i) {
        const Bytes arrived = session_.Report(RawReport(1, 1024, 512));
        ASSERT_FALSE(arrived.empty()) << session_.lastError();
        if (arrived[0] == 2) secondary.push_back(i);
        else EXPECT_EQ(arrived[0], 1) << i;
    }
    ASSERT_EQ(secondary.size(), 2u);
    EXPECT_EQ(secondary[1] - secondary[0], 6) << "three unmoved pairs each";
    session_.Report(RawReport(0, 1024, 512));
    Store({Dword("RBNDelay", 12)});
    for (int i = 0; i < 40; ++i) EXPECT_EQ(session_.Report(RawReport(1, 1024, 512)).at(0), 1) << i;
    session_.Report(RawReport(0, 1024, 512));
}

}  // namespace
}  // namespace kvtest
