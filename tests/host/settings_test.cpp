// Settings read: defaults, derived spans, validation and the control-code forms.
#include <gtest/gtest.h>

#include "core_fakes.h"
#include "settings.h"

namespace {

using kvtest::MapSource;

kv::DriverState ReadWith(const std::map<int, uint32_t>& stored) {
    kv::DriverState state;
    kv::ClearDriverState(state);
    MapSource source;
    source.stored = stored;
    EXPECT_EQ(kv::ReadSettings(state, source), kv::kStatusSuccess);
    return state;
}

TEST(ReadSettings, EmptyKeyGivesDefaults) {
    const kv::DriverState s = ReadWith({});
    EXPECT_EQ(s.Calibration.XLow, 0);
    EXPECT_EQ(s.Calibration.XHigh, 2048);
    EXPECT_EQ(s.Calibration.YHigh, 2048);
    EXPECT_EQ(s.Calibration.XRange, 2048u);
    EXPECT_EQ(s.Calibration.YProp, 2048u);
    EXPECT_EQ(s.Settings.BeepMode, 2u);
    EXPECT_EQ(s.Settings.RBNDelay, 61u);
    EXPECT_EQ(s.Settings.BeepFreq, 0u);
    EXPECT_EQ(s.Settings.DBScreenPos, 0u);
}

TEST(ReadSettings, PartialKeyKeepsOtherDefaults) {
    const kv::DriverState s = ReadWith({{KV_VALUE_XLow, 100}, {KV_VALUE_XHigh, 1900}});
    EXPECT_EQ(s.Calibration.XRange, 1800u);
    EXPECT_EQ(s.Calibration.YProp, 2048u);
    EXPECT_EQ(s.Settings.BeepMode, 2u);
    EXPECT_EQ(s.Settings.RBNDelay, 61u);
}

TEST(ReadSettings, StoredSpansNeverSurvive) {
    const kv::DriverState s = ReadWith({{KV_VALUE_XRange, 5}, {KV_VALUE_YProp, 0}, {KV_VALUE_YLow, 7}, {KV_VALUE_YHigh, 7}});
    EXPECT_EQ(s.Calibration.XRange, 2048u);
    EXPECT_EQ(s.Calibration.YProp, 8191u);
}

struct ValidationCase {
    const char* what;
    int id;
    uint32_t stored;
    uint32_t kv::DriverSettings::*field;
    uint32_t kept;
};

TEST(ReadSettings, ValidationTable) {
    using S = kv::DriverSettings;
    const ValidationCase cases[] = {
        {"tone below range", KV_VALUE_BeepFreq, 999, &S::BeepFreq, 0},
        {"tone at low bound", KV_VALUE_BeepFreq, 1000, &S::BeepFreq, 1000},
        {"tone at high bound", KV_VALUE_BeepFreq, 5000, &S::BeepFreq, 5000},
        {"tone above range", KV_VALUE_BeepFreq, 5001, &S::BeepFreq, 0},
        {"time below range", KV_VALUE_BeepTime, 31, &S::BeepTime, 0},
        {"time at low bound", KV_VALUE_BeepTime, 32, &S::BeepTime, 32},
        {"time at high bound", KV_VALUE_BeepTime, 750, &S::BeepTime, 750},
        {"time above range", KV_VALUE_BeepTime, 751, &S::BeepTime, 0},
        {"control panel mode code 16", KV_VALUE_ButtonMode, 16, &S::ButtonMode, 0},
        {"control panel mode code 48", KV_VALUE_ButtonMode, 48, &S::ButtonMode, 0},
        {"one-shot flag", KV_VALUE_ButtonMode, 1, &S::ButtonMode, 1},
        {"mouse mode 3", KV_VALUE_MouseMode, 3, &S::MouseMode, 2},
        {"mouse mode compared unsigned", KV_VALUE_MouseMode, 0xFFFFFFFF, &S::MouseMode, 2},
        {"beep mode 7", KV_VALUE_BeepMode, 7, &S::BeepMode, 2},
        {"beep mode 0 stays", KV_VALUE_BeepMode, 0, &S::BeepMode, 0},
        {"delay 0 accepted", KV_VALUE_RBNDelay, 0, &S::RBNDelay, 0},
        {"delay off", KV_VALUE_RBNDelay, 12, &S::RBNDelay, 12},
        {"placement unchecked", KV_VALUE_DBScreenPos, 9, &S::DBScreenPos, 9},
        {"second tone kept", KV_VALUE_BeepFreq2, 12345, &S::BeepFreq2, 12345},
    };
    for (const ValidationCase& c : cases) {
        const kv::DriverState s = ReadWith({{c.id, c.stored}});
        EXPECT_EQ(s.Settings.*c.field, c.kept) << c.what;
    }
}

TEST(ReadSettings, ReloadForgetsRunTimeChangesButNotTouchState) {
    kv::DriverState state = ReadWith({});
    state.Settings.DBScreenPos = 3;
    state.Settings.TouchState = kv::kTouchDown;
    state.Settings.DwellCounter = 17;
    state.Capture = {CAPTURE_DONE, 5, 6};
    MapSource source;
    kv::ReadSettings(state, source);
    EXPECT_EQ(state.Settings.DBScreenPos, 0u);
    EXPECT_EQ(state.Settings.TouchState, kv::kTouchDown);
    EXPECT_EQ(state.Settings.DwellCounter, 17u);
    EXPECT_EQ(state.Capture.State, CAPTURE_DONE);
}

TEST(ReadSettings, QueryStatusIsReturned) {
    kv::DriverState state;
    kv::ClearDriverState(state);
    MapSource source;
    source.status = kv::kStatusUnsuccessful;
    EXPECT_EQ(kv::ReadSettings(state, source), kv::kStatusUnsuccessful);
}

TEST(ApplyBeepSettings, OutOfRangeFallsBackToAudibleValues) {
    struct Case { uint32_t freq, time, keptFreq, keptTime; } cases[] = {
        {100, 1000, 2000, 32}, {1000, 750, 1000, 750}, {5001, 31, 2000, 32}, {0, 0, 2000, 32}};
    for (const Case& c : cases) {
        kv::DriverState state;
        kv::ClearDriverState(state);
        kv::ApplyBeepSettings(state, {9, c.freq, c.time, 77, 88});
        EXPECT_EQ(state.Settings.BeepFreq, c.keptFreq) << c.freq;
        EXPECT_EQ(state.Settings.BeepTime, c.keptTime) << c.time;
        EXPECT_EQ(state.Settings.BeepMode, 9u) << "beep mode is not checked";
        EXPECT_EQ(state.Settings.BeepFreq2, 77u);
        EXPECT_EQ(state.Settings.BeepTime2, 88u);
    }
}

}  // namespace
