// The mouse class filter list as the uninstaller rewrites it: the stored
// image read, every "kvfilt" dropped, the rest written back in order.
#include <gtest/gtest.h>

#include <string>

#include "multi_string.h"

namespace {

std::string Rewritten(const std::string& stored) {
    StringList entries = SplitMultiString(stored.data(), stored.size());
    RemoveEntry(entries, "kvfilt");
    const std::vector<char> image = JoinMultiString(entries);
    return std::string(image.begin(), image.end());
}

TEST(UpperFilterRewrite, DropsOnlyExactKvfiltEntriesAndKeepsTheOrder) {
    const std::string longEntry(300, 'm');
    std::string manyStored, manyExpected;
    for (int i = 0; i < 40; ++i) {
        const std::string name = "filter" + std::to_string(i);
        manyStored += name + '\0' + "kvfilt" + '\0';
        manyExpected += name + '\0';
    }
    struct Case {
        std::string stored, expected;
        const char* what;
    } cases[] = {
        {std::string("mouclass\0kvfilt\0\0", 17), std::string("mouclass\0\0", 10), "ours after mouclass"},
        {std::string("kvfilt\0\0", 8), std::string("\0", 1), "only ours: the empty list of one zero"},
        {std::string(), std::string("\0", 1), "absent or empty value"},
        {std::string("a\0kvfilt\0b\0kvfilt\0c\0\0", 21), std::string("a\0b\0c\0\0", 7), "ours twice"},
        {std::string("KVFILT\0kvfilt2\0kvfil\0\0", 22), std::string("KVFILT\0kvfilt2\0kvfil\0\0", 22),
         "other spellings stay"},
        {std::string("mouclass\0kvfilt", 15), std::string("mouclass\0\0", 10), "no terminator"},
        {longEntry + '\0' + "kvfilt" + '\0' + '\0', longEntry + '\0' + '\0', "an entry over any fixed size"},
        {manyStored + '\0', manyExpected + '\0', "forty entries kept"},
        {std::string("mouclass\0\0kvfilt\0\0", 19), std::string("mouclass\0\0", 10), "list ends at its empty entry"},
    };
    for (const Case& c : cases) EXPECT_EQ(Rewritten(c.stored), c.expected) << c.what;
}

}  // namespace
