// Registry export parsing and --set values for kvsim.
#include <gtest/gtest.h>

#include "registry_export.h"

namespace {

using kvsim::StoredValues;

const char kKey[] = "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\KVUSB\\Parameters]\n";

TEST(RegistryExport, Regedit4DwordsUnderParameters) {
    const std::string text = std::string("REGEDIT4\n\n") + kKey +
                             "\"XLow\"=dword:00000064\n\"xhigh\"=dword:76c\n\"Name\"=\"text\"\n"
                             "\"Blob\"=hex:01,02,\\\n  03,04\n"
                             "[HKEY_LOCAL_MACHINE\\Other]\n\"YLow\"=dword:00000001\n";
    StoredValues values;
    kvsim::ParseError error;
    ASSERT_TRUE(kvsim::ParseRegistryExport(text, &values, &error)) << error.message;
    EXPECT_EQ(values, (StoredValues{{"xlow", 100}, {"xhigh", 1900}}));
}

TEST(RegistryExport, Version5Utf16) {
    const std::string text = std::string("Windows Registry Editor Version 5.00\r\n\r\n") + kKey + "\"BeepMode\"=dword:00000001\r\n";
    std::string utf16 = "\xFF\xFE";
    for (char c : text) {
        utf16.push_back(c);
        utf16.push_back('\0');
    }
    StoredValues values;
    kvsim::ParseError error;
    ASSERT_TRUE(kvsim::ParseRegistryExport(utf16, &values, &error)) << error.message;
    EXPECT_EQ(values, (StoredValues{{"beepmode", 1}}));
}

TEST(RegistryExport, WrongTypeReadsLikeMissing) {
    StoredValues values = {{"xlow", 5}};
    kvsim::ParseError error;
    ASSERT_TRUE(kvsim::ParseRegistryExport(std::string("REGEDIT4\n") + kKey + "\"XLow\"=\"100\"\n", &values, &error));
    EXPECT_TRUE(values.empty());
}

struct BadCase {
    const char* what;
    std::string text;
    int line;
};

TEST(RegistryExport, MalformedFilesNameTheLine) {
    const BadCase cases[] = {
        {"no header", "XLow=1\n", 1},
        {"empty", "", 0},
        {"dword too long", std::string("REGEDIT4\n") + kKey + "\"XLow\"=dword:123456789\n", 3},
        {"dword not hex", std::string("REGEDIT4\n") + kKey + "\"XLow\"=dword:12g4\n", 3},
        {"value without quotes", std::string("REGEDIT4\n") + kKey + "XLow=dword:1\n", 3},
        {"unterminated key", "REGEDIT4\n[HKEY_LOCAL_MACHINE\n", 2},
    };
    for (const BadCase& c : cases) {
        StoredValues values;
        kvsim::ParseError error;
        EXPECT_FALSE(kvsim::ParseRegistryExport(c.text, &values, &error)) << c.what;
        EXPECT_EQ(error.line, c.line) << c.what;
    }
}

TEST(ParseWord, Table) {
    struct Case { const char* text; bool ok; uint32_t value; } cases[] = {
        {"0", true, 0}, {"4294967295", true, 0xFFFFFFFF}, {"4294967296", false, 0}, {"-1", true, 0xFFFFFFFF},
        {"-2147483648", true, 0x80000000}, {"-2147483649", false, 0}, {"0x1FFF", true, 0x1FFF}, {"0x", false, 0},
        {"12a", false, 0}, {"", false, 0}, {"-0x5", false, 0}, {" 5", false, 0},
    };
    for (const Case& c : cases) {
        uint32_t value = 0;
        EXPECT_EQ(kvsim::ParseWord(c.text, &value), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(value, c.value) << c.text;
        }
    }
}

TEST(ParseAssignment, NamesAreTheDriversOnly) {
    StoredValues values;
    std::string error;
    EXPECT_TRUE(kvsim::ParseAssignment("dbscreenpos=2", &values, &error));
    EXPECT_EQ(values["dbscreenpos"], 2u);
    EXPECT_FALSE(kvsim::ParseAssignment("XOffset=1", &values, &error)) << "the driver never reads XOffset";
    EXPECT_FALSE(kvsim::ParseAssignment("XLow", &values, &error));
    EXPECT_FALSE(kvsim::ParseAssignment("XLow=abc", &values, &error));
}

}  // namespace
