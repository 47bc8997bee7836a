// LoadSettings and SaveSettings against the real (Wine) registry.
#include <gtest/gtest.h>

#include "registry_fixture.h"
#include "scripted_control_device.h"

namespace {

AppletSettings Marked() {
    AppletSettings s;
    s.BeepMode = 1;
    s.BeepFreq = 3000;
    s.BeepTime = 100;
    s.ButtonMode = 77;
    s.MouseMode = 1;
    s.DoubleClickHeight = 11;
    s.DoubleClickSpeed = 222;
    s.DBScreenPos = 5;
    s.RBNDelay = 61;
    return s;
}

TEST(LoadSettings, WithoutParametersKeyUsesBeepDefaultsAndSaysSo) {
    TestKeys keys("LoadMissing");
    keys.user.Create();
    AppletSettings s = Marked();
    RecordingNotice notice;
    LoadSettings(&s, keys.Places(), &notice);
    EXPECT_EQ(notice.shown, "registry read fail");
    EXPECT_EQ(s.BeepMode, 2u);
    EXPECT_EQ(s.BeepFreq, 2000u);
    EXPECT_EQ(s.BeepTime, 32u);
    EXPECT_EQ(s.MouseMode, 3u);
    EXPECT_EQ(s.ButtonMode, 77u) << "fields the defaults do not name keep their values";
    EXPECT_EQ(s.DBScreenPos, 5u);
    EXPECT_EQ(s.RBNDelay, 61u);
}

struct StoredValueCase {
    const char* name;
    DWORD stored;
    uint32_t AppletSettings::*field;
    uint32_t shown;
};

const StoredValueCase kStoredValues[] = {
    {"BeepMode", 2, &AppletSettings::BeepMode, 2},
    {"BeepMode", 3, &AppletSettings::BeepMode, 2},
    {"BeepFreq", 999, &AppletSettings::BeepFreq, 2000},
    {"BeepFreq", 1000, &AppletSettings::BeepFreq, 1000},
    {"BeepFreq", 5000, &AppletSettings::BeepFreq, 5000},
    {"BeepFreq", 6000, &AppletSettings::BeepFreq, 2000},
    {"BeepTime", 31, &AppletSettings::BeepTime, 32},
    {"BeepTime", 750, &AppletSettings::BeepTime, 750},
    {"BeepTime", 751, &AppletSettings::BeepTime, 32},
    {"MouseMode", 4, &AppletSettings::MouseMode, 3},
    {"ButtonMode", 64, &AppletSettings::ButtonMode, 64},
    {"DBScreenPos", 9, &AppletSettings::DBScreenPos, 9},
    {"RBNDelay", 40, &AppletSettings::RBNDelay, 40},
    {"RBNDelay", 0xFFFFFFFF, &AppletSettings::RBNDelay, 0xFFFFFFFF},
};

TEST(LoadSettings, CorrectsOnlyTheBeepAndMouseModeValues) {
    for (const StoredValueCase& c : kStoredValues) {
        SCOPED_TRACE(std::string(c.name) + "=" + std::to_string(c.stored));
        TestKeys keys("LoadValues");
        keys.driver.Create();
        keys.user.Create();
        keys.driver.SetDword(c.name, c.stored);
        AppletSettings s = Marked();
        RecordingNotice notice;
        LoadSettings(&s, keys.Places(), &notice);
        EXPECT_EQ(s.*c.field, c.shown);
        EXPECT_EQ(notice.shown, "");
    }
}

TEST(LoadSettings, ValueOfAnotherTypeLeavesTheField) {
    TestKeys keys("LoadType");
    keys.driver.Create();
    keys.user.Create();
    keys.driver.SetText("DBScreenPos", "3");
    keys.driver.SetText("BeepFreq", "4000");
    AppletSettings s = Marked();
    RecordingNotice notice;
    LoadSettings(&s, keys.Places(), &notice);
    EXPECT_EQ(s.DBScreenPos, 5u);
    EXPECT_EQ(s.BeepFreq, 3000u);
}

struct DoubleClickCase {
    const char* name;
    const char* text;  // null: value missing
    DWORD size;        // 0: the text with its terminator
    int32_t read;      // -1: the value Windows uses now
};

const DoubleClickCase kDoubleClickCases[] = {
    {"three digits", "200", 0, 200},
    {"leading blanks", "  35", 0, 35},
    {"trailing text stops the number", "40px", 0, 40},
    {"no digits", "abc", 0, 0},
    {"empty", "", 0, 0},
    {"longer than three digits", "12345", 0, 12345},
    {"longer than a 32-bit number", "99999999999999", 0, INT32_MAX},
    {"stored without terminator", "500", 3, 500},
    {"missing", nullptr, 0, -1},
};

TEST(LoadSettings, DoubleClickTexts) {
    for (const DoubleClickCase& c : kDoubleClickCases) {
        SCOPED_TRACE(c.name);
        TestKeys keys("LoadDoubleClick");
        keys.driver.Create();
        keys.user.Create();
        if (c.text) {
            DWORD size = c.size ? c.size : static_cast<DWORD>(strlen(c.text) + 1);
            keys.user.Set("DoubleClickSpeed", {REG_SZ, std::string(c.text, size)});
            keys.user.Set("DoubleClickHeight", {REG_SZ, std::string(c.text, size)});
        }
        AppletSettings s = Marked();
        RecordingNotice notice;
        LoadSettings(&s, keys.Places(), &notice);
        int32_t speed = c.read >= 0 ? c.read : static_cast<int32_t>(GetDoubleClickTime());
        int32_t height = c.read >= 0 ? c.read : GetSystemMetrics(SM_CXDOUBLECLK);
        EXPECT_EQ(s.DoubleClickSpeed, speed);
        EXPECT_EQ(s.DoubleClickHeight, height);
    }
}

TEST(LoadSettings, WithoutUserKeyUsesDoubleClickDefaults) {
    TestKeys keys("LoadNoUser");
    keys.driver.Create();
    AppletSettings s = Marked();
    RecordingNotice notice;
    LoadSettings(&s, keys.Places(), &notice);
    EXPECT_EQ(notice.shown, "registry HKEY_CURRENT_USER open fail");
    EXPECT_EQ(s.DoubleClickHeight, 40);
    EXPECT_EQ(s.DoubleClickSpeed, 900);
}

TEST(SaveSettings, WritesDwordsAndDoubleClickTexts) {
    TestKeys keys("Save");
    keys.driver.Create();
    keys.user.Create();
    AppletSettings s = Marked();
    s.DoubleClickHeight = 20;
    s.DoubleClickSpeed = 200;
    RecordingNotice notice;
    kvtest::ScriptedControlDevice device;
    device.Open();
    SaveSettings(s, keys.Places(), &notice, device);
    EXPECT_EQ(notice.shown, "");
    EXPECT_EQ(device.Log(), "") << "the key took them: the driver is not asked";
    struct Expected { const char* name; DWORD value; } expected[] = {
        {"BeepMode", 1}, {"BeepFreq", 3000}, {"BeepTime", 100}, {"MouseMode", 1},
        {"ButtonMode", 77}, {"DBScreenPos", 5}, {"RBNDelay", 61}};
    for (const Expected& e : expected) EXPECT_EQ(keys.driver.Dword(e.name, 0xDEADBEEF), e.value) << e.name;
    EXPECT_EQ(keys.user.StoredText("DoubleClickHeight"), std::string("20", 3));
    EXPECT_EQ(keys.user.StoredText("DoubleClickWidth"), std::string("20", 3));
    EXPECT_EQ(keys.user.StoredText("DoubleClickSpeed"), std::string("200", 4));
}

struct MissingKeyCase {
    const char* name;
    bool driverKey, userKey;
    bool writesRefused, driverStores;  // the key refuses the user; the driver can write it
    const char* notice;
    const char* storedFreq;  // BeepFreq as stored afterwards, "none" if absent
    const char* storedSpeed;
    const char* askedDriver;  // the store request the driver got
};

// Marked()'s driver values, as the applet hands them to the driver.
const char kStoreRequest[] = "FA694(16256,0,0,0,0,0,0,0,1,3000,100,1,77,5,61)";

const MissingKeyCase kMissingKeyCases[] = {
    {"Parameters key is only opened, never created", false, true, false, false, "registry write fail", "none",
     "222", kStoreRequest},
    {"no mouse key: driver values written, then the notice", true, false, false, true,
     "registry HKEY_CURRENT_USER open fail", "3000", "<missing>", ""},
    {"a key the user may not write: the driver stores them", true, true, true, true, "", "none", "222",
     kStoreRequest},
    {"neither the key nor the driver takes them", true, true, true, false, "registry write fail", "none", "222",
     kStoreRequest},
};

TEST(SaveSettings, MissingKeys) {
    for (const MissingKeyCase& c : kMissingKeyCases) {
        SCOPED_TRACE(c.name);
        TestKeys keys("SaveMissing");
        if (c.driverKey) keys.driver.Create();
        if (c.userKey) keys.user.Create();
        if (c.writesRefused) {
            ASSERT_TRUE(keys.driver.RefuseWrites());
        }
        kvtest::ScriptedControlDevice device;
        device.storeAccepted = c.driverStores;
        device.Open();
        RecordingNotice notice;
        SaveSettings(Marked(), keys.Places(), &notice, device);
        EXPECT_EQ(notice.shown, c.notice);
        EXPECT_EQ(device.Log(), c.askedDriver);
        const bool stored = keys.driver.Has("BeepFreq");
        EXPECT_EQ(stored ? std::to_string(keys.driver.Dword("BeepFreq", 0)) : "none", c.storedFreq);
        EXPECT_EQ(keys.driver.Exists(), c.driverKey);
        std::string speed = keys.user.StoredText("DoubleClickSpeed");
        if (!speed.empty() && speed.back() == '\0') speed.pop_back();
        EXPECT_EQ(speed, c.storedSpeed);
    }
}

}  // namespace
