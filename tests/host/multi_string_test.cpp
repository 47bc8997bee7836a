// Filter lists and hardware-id lists as REG_MULTI_SZ images, and the path
// text of the package.
#include <gtest/gtest.h>

#include <string>

#include "multi_string.h"
#include "path_text.h"

namespace {

std::string Image(const StringList& entries) {
    const std::vector<char> image = JoinMultiString(entries);
    return std::string(image.begin(), image.end());
}

StringList Split(const std::string& image) { return SplitMultiString(image.data(), image.size()); }

TEST(MultiString, SplitsUpToTheEmptyEntryOrTheEndOfTheData) {
    struct Case {
        std::string image;
        StringList expected;
        const char* what;
    } cases[] = {
        {std::string("a\0bc\0\0", 6), {"a", "bc"}, "terminated list"},
        {std::string("a\0bc", 4), {"a", "bc"}, "last entry without its zero byte"},
        {std::string("a\0\0hidden\0\0", 11), {"a"}, "nothing after the empty entry"},
        {std::string("\0", 1), {}, "one zero byte"},
        {std::string(), {}, "no data"},
    };
    for (const Case& c : cases) EXPECT_EQ(Split(c.image), c.expected) << c.what;
}

TEST(MultiString, JoinsWithOneZeroAfterEachEntryAndOneMore) {
    EXPECT_EQ(Image({"mouclass", "kvfilt"}), std::string("mouclass\0kvfilt\0\0", 17));
    EXPECT_EQ(Image({}), std::string("\0", 1));
    const StringList longEntries = {std::string(300, 'x'), "y"};
    EXPECT_EQ(Split(Image(longEntries)), longEntries);
}

TEST(MultiString, RemovesOnlyExactEntriesAndKeepsTheOrder) {
    struct Case {
        StringList before;
        const char* entry;
        StringList after;
        size_t removed;
        const char* what;
    } cases[] = {
        {{"mouclass", "kvfilt"}, "kvfilt", {"mouclass"}, 1, "one of two"},
        {{"kvfilt"}, "kvfilt", {}, 1, "the only entry"},
        {{"a", "kvfilt", "b", "kvfilt", "c"}, "kvfilt", {"a", "b", "c"}, 2, "twice among others"},
        {{"KVFILT", "kvfilt2", "kvfil"}, "kvfilt", {"KVFILT", "kvfilt2", "kvfil"}, 0, "case and prefix differ"},
        {{}, "kvusb", {}, 0, "empty list"},
    };
    for (Case& c : cases) {
        EXPECT_EQ(RemoveEntry(c.before, c.entry), c.removed) << c.what;
        EXPECT_EQ(c.before, c.after) << c.what;
    }
}

TEST(MultiString, ContainsMatchesCaseSensitively) {
    EXPECT_TRUE(ContainsEntry({"a", "kvfilt"}, "kvfilt"));
    EXPECT_FALSE(ContainsEntry({"KvFilt"}, "kvfilt"));
}

TEST(HardwareIds, MatchWholeEntriesWithoutRegardToCase) {
    const std::string wanted = "USB\\VID_7A4E&PID_0001";
    struct Case {
        std::string ids;
        bool matches;
        const char* what;
    } cases[] = {
        {std::string("USB\\VID_7A4E&PID_0001\0\0", 23), true, "exact"},
        {std::string("usb\\vid_7a4e&pid_0001\0\0", 23), true, "lower case"},
        {std::string("USB\\VID_7A4E&PID_0001&REV_0100\0\0", 32), false, "revision suffix only"},
        {std::string("USB\\VID_7A4E&PID_0001&REV_0100\0USB\\VID_7A4E&PID_0001\0\0", 54), true, "second entry"},
        {std::string("USB\\VID_7A4E&PID_000\0\0", 22), false, "shorter id"},
        {std::string("\0USB\\VID_7A4E&PID_0001\0\0", 24), false, "after the empty entry"},
        {std::string("USB\\VID_7A4E&PID_0001", 21), true, "unterminated data"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(HardwareIdListMatches(c.ids.data(), c.ids.size(), wanted), c.matches) << c.what;
    }
}

TEST(PathText, FolderKeepsItsTrailingBackslash) {
    EXPECT_EQ(FolderOf("C:\\pkg dir\\kvusb.inf"), "C:\\pkg dir\\");
    EXPECT_EQ(FolderOf("kvusb.inf"), "");
    EXPECT_EQ(FolderOf("\\\\server\\share\\"), "\\\\server\\share\\");
}

TEST(PathText, HidChildIdReplacesTheBusPrefix) {
    EXPECT_EQ(HidChildId("USB\\VID_7A4E&PID_0001"), "HID\\VID_7A4E&PID_0001");
    EXPECT_EQ(HidChildId("US"), "");
}

TEST(PathText, JoinRefusesUnknownBasesAndOverlongPaths) {
    EXPECT_EQ(JoinUnder("C:\\Program Files", "\\KVUSB"), "C:\\Program Files\\KVUSB");
    EXPECT_EQ(JoinUnder("", "\\KVUSB"), "");
    EXPECT_EQ(JoinUnder(std::string(253, 'a'), "\\KVUSB").size(), 259u);
    EXPECT_EQ(JoinUnder(std::string(254, 'a'), "\\KVUSB"), "");
}

TEST(PathText, QuotedCommandKeepsBlanksInsideOneArgument) {
    EXPECT_EQ(QuotedCommand("C:\\Program Files\\KVUSB\\kvcal.exe"), "\"C:\\Program Files\\KVUSB\\kvcal.exe\"");
}

}  // namespace
