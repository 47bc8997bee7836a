// kvsim replay: the printed form of reports, control codes and errors.
#include <gtest/gtest.h>

#include <sstream>

#include "replay.h"

namespace {

struct Output {
    bool ok;
    std::string out, err;
};

Output RunReplay(const kvsim::StoredValues& stored, const std::string& script) {
    std::istringstream in(script);
    std::ostringstream out, err;
    const bool ok = kvsim::Replay(stored, in, out, err);
    return {ok, out.str(), err.str()};
}

const kvsim::StoredValues kExample = {{"xlow", 100}, {"xhigh", 1900}, {"ylow", 100}, {"yhigh", 1900},
                                      {"beepfreq", 2000}, {"beeptime", 40}};

TEST(Replay, WorkedExampleWithBeepAtTouchUp) {
    const Output o = RunReplay(kExample, "# touch and lift\n\n01 e8 03 26 02 00 00\n00 E8 3 26 02 00 00\n");
    EXPECT_TRUE(o.ok) << o.err;
    EXPECT_EQ(o.out, "01 00 10 00 08 00 00\n00 00 10 00 08 00 00  beep 2000 40\n");
}

TEST(Replay, SilentBeepIsStillPrinted) {
    const Output o = RunReplay({}, "01 00 00 00 00 00 00\n00 00 00 00 00 00 00\n");
    EXPECT_EQ(o.out, "01 00 00 00 00 00 00\n00 00 00 00 00 00 00  beep 0 0\n");
}

TEST(Replay, ControlCodes) {
    const Output o = RunReplay(kExample,
                               "ioctl SET_SCREEN_POS 2\n"
                               "01 e8 03 26 02 00 00\n"
                               "ioctl IOCTL_POINTER_GET_SCREEN_POS\n"
                               "ioctl GET_CAPTURE --out 8\n"
                               "ioctl GET_BEEP --out 64\n"
                               "ioctl BEEP\n"
                               "ioctl STORE_SETTINGS 0x1000 0 0 0 0 0 0 0 0 0 0 0 0 3 0\n"
                               "ioctl RELOAD_SETTINGS\n"
                               "ioctl GET_SCREEN_POS\n"
                               "ioctl SET_REPORT 0x110\n"
                               "ioctl NO_SUCH_THING\n");
    EXPECT_FALSE(o.ok);
    EXPECT_EQ(o.out,
              "ioctl SET_SCREEN_POS status=0x00000000 out=\n"
              "01 00 18 00 08 00 00\n"
              "ioctl GET_SCREEN_POS status=0x00000000 out=02 00 00 00\n"
              "ioctl GET_CAPTURE status=0xC0000023 out=\n"
              "ioctl GET_BEEP status=0x00000000 out=02 00 00 00 d0 07 00 00 28 00 00 00 00 00 00 00 00 00 00 00\n"
              "ioctl BEEP status=0x00000000 out=  beep 2000 40\n"
              "ioctl STORE_SETTINGS status=0x00000000 out=\n"
              "ioctl RELOAD_SETTINGS status=0x00000000 out=\n"
              "ioctl GET_SCREEN_POS status=0x00000000 out=03 00 00 00\n"
              "ioctl SET_REPORT status=0x00000000 out=\n");
    EXPECT_EQ(o.err, "kvsim: line 11: unknown control code: NO_SUCH_THING\n");
}

TEST(Replay, MalformedLinesAreNamedAndTheRestStillRuns) {
    const Output o = RunReplay({}, "01 0g\nioctl\nioctl ECHO --out\nioctl ECHO x\n00 00 00\n");
    EXPECT_FALSE(o.ok);
    EXPECT_EQ(o.out, "00 00 00\n");
    EXPECT_NE(o.err.find("line 1: not a hex byte: 0g"), std::string::npos) << o.err;
    EXPECT_NE(o.err.find("line 2:"), std::string::npos);
    EXPECT_NE(o.err.find("line 3:"), std::string::npos);
    EXPECT_NE(o.err.find("line 4: not a 32-bit word: x"), std::string::npos);
}

}  // namespace
