// The applet's rules that need no window: corrections, decimal texts,
// dialog placement, mode and delay codes, placement buttons.
#include <gtest/gtest.h>

#include "../../cpl/settings_rules.h"
#include "../../resources/cpl_ids.h"

namespace {

struct PositionCase {
    uint32_t code;
    int32_t w, h;
    bool moved;
    int32_t x, y;
};

const PositionCase kPositions[] = {
    {1, 1024, 768, true, 128, 192},  {2, 1024, 768, true, 640, 192}, {3, 1024, 768, true, 256, 96},
    {4, 1024, 768, true, 256, 480},  {5, 1024, 768, true, 1280, 192},
    {2, 1023, 767, true, 639, 191},  // products before the division, truncated
    {5, 2047, 1, true, 2558, 0},
    {0, 1024, 768, false, 0, 0},     {6, 1024, 768, false, 0, 0},   {7, 1024, 768, false, 0, 0},
    {0xFFFFFFFF, 1024, 768, false, 0, 0},
};

TEST(DialogPosition, Table) {
    for (const PositionCase& c : kPositions) {
        SCOPED_TRACE(testing::Message() << "code " << c.code << " on " << c.w << "x" << c.h);
        int32_t x = -7, y = -7;
        ASSERT_EQ(DialogPositionFor(c.code, c.w, c.h, &x, &y), c.moved);
        if (c.moved) {
            EXPECT_EQ(x, c.x);
            EXPECT_EQ(y, c.y);
        }
    }
}

TEST(ParseDecimalText, Table) {
    struct Case { const char* text; size_t length; int32_t value; } cases[] = {
        {"200", 4, 200},   {"  35", 5, 35},      {"\t7", 3, 7},     {"40px", 5, 40},   {"abc", 4, 0},
        {"", 1, 0},        {"-5", 3, 0},         {"12345", 6, 12345}, {"2147483647", 11, INT32_MAX},
        {"2147483648", 11, INT32_MAX}, {"99999999999999999999", 21, INT32_MAX},
        {"123", 2, 12},    // stops at the stored length, terminator or not
        {"900", 0, 0},
    };
    for (const Case& c : cases) EXPECT_EQ(ParseDecimalText(c.text, c.length), c.value) << '"' << c.text << '"';
}

TEST(CorrectDriverValues, LimitsBeepAndMouseModeOnly) {
    struct Case { uint32_t mode, freq, time, mouse; uint32_t wantMode, wantFreq, wantTime, wantMouse; } cases[] = {
        {0, 1000, 32, 0, 0, 1000, 32, 0},
        {2, 5000, 750, 3, 2, 5000, 750, 3},
        {3, 999, 31, 4, 2, 2000, 32, 3},
        {0xFFFFFFFF, 5001, 751, 0xFFFFFFFF, 2, 2000, 32, 3},
        {1, 0, 0, 1, 1, 2000, 32, 1},
    };
    for (const Case& c : cases) {
        AppletSettings s;
        s.BeepMode = c.mode;
        s.BeepFreq = c.freq;
        s.BeepTime = c.time;
        s.MouseMode = c.mouse;
        s.ButtonMode = 99;
        s.DBScreenPos = 9;
        s.RBNDelay = 5;
        CorrectDriverValues(&s);
        EXPECT_EQ(s.BeepMode, c.wantMode);
        EXPECT_EQ(s.BeepFreq, c.wantFreq);
        EXPECT_EQ(s.BeepTime, c.wantTime);
        EXPECT_EQ(s.MouseMode, c.wantMouse);
        EXPECT_EQ(s.ButtonMode, 99u);
        EXPECT_EQ(s.DBScreenPos, 9u);
        EXPECT_EQ(s.RBNDelay, 5u);
    }
}

TEST(MouseModeIndex, BothWays) {
    struct Case { uint32_t stored; int32_t index; uint32_t back; } cases[] = {
        {16, 0, 16}, {32, 1, 32}, {48, 2, 48}, {0, -1, 0}, {64, 3, 64}, {20, 0, 16}, {15, -1, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ModeIndexFromButtonMode(c.stored), c.index) << c.stored;
        EXPECT_EQ(ButtonModeFromIndex(c.index), c.back) << c.stored;
    }
    EXPECT_EQ(LiveDeviceMode(ButtonModeFromIndex(2)), 304u);
}

TEST(DelayCode, ClampedToTheDriversRange) {
    struct Case { uint32_t in, out; } cases[] = {{0, 12}, {11, 12}, {12, 12}, {122, 122}, {301, 301}, {302, 301},
                                                 {0xFFFFFFFF, 301}};
    for (const Case& c : cases) EXPECT_EQ(ClampDelayCode(c.in), c.out) << c.in;
    for (uint32_t code : kDelayCodes) EXPECT_EQ(ClampDelayCode(code), code);
}

TEST(PlacementButtons, EveryCodeHasItsButtonAndBack) {
    const int buttons[] = {IDC_PLACE_SINGLE, IDC_PLACE_LEFT, IDC_PLACE_RIGHT, IDC_PLACE_TOP,
                           IDC_PLACE_BOTTOM, IDC_PLACE_SLAVE, IDC_PLACE_PRIMARY};
    for (uint32_t code = 0; code <= 6; ++code) {
        EXPECT_EQ(ButtonForPlacement(code), buttons[code]) << code;
        EXPECT_EQ(PlacementForButton(buttons[code]), code);
    }
    EXPECT_EQ(ButtonForPlacement(7), IDC_PLACE_SINGLE);
    EXPECT_EQ(ButtonForPlacement(0xFFFFFFFF), IDC_PLACE_SINGLE);
}

TEST(MonitorCode, ByDeviceName) {
    EXPECT_EQ(MonitorCodeForName("\\\\.\\DISPLAY1"), 1);
    EXPECT_EQ(MonitorCodeForName("\\\\.\\DISPLAY2"), 2);
    EXPECT_EQ(MonitorCodeForName("\\\\.\\DISPLAY3"), 3);
    EXPECT_EQ(MonitorCodeForName("\\\\.\\DISPLAY4"), 4);
    EXPECT_EQ(MonitorCodeForName("\\\\.\\display1"), 4);
    EXPECT_EQ(MonitorCodeForName(""), 4);
}

}  // namespace
