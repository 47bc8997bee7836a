// The operating-system classification over its whole table, and the retry
// with the basic version record.
#include <gtest/gtest.h>

#include <vector>

#include "os_version.h"

namespace {

struct VersionCase {
    uint32_t platform, major, minor;
    OsClass expected;
    const char* what;
};

const VersionCase kVersionCases[] = {
    {0, 3, 10, OS_UNSUPPORTED, "Win32s"},
    {1, 4, 0, OS_UNSUPPORTED, "Windows 95"},
    {1, 4, 10, OS_UNSUPPORTED, "Windows 98"},
    {1, 4, 90, OS_UNSUPPORTED, "Windows Me"},
    {1, 4, 1, OS_UNKNOWN, "9x with an unknown minor"},
    {1, 5, 0, OS_UNKNOWN, "9x with an unknown major"},
    {2, 3, 51, OS_UNSUPPORTED, "NT 3.51"},
    {2, 4, 0, OS_UNSUPPORTED, "NT 4"},
    {2, 5, 0, OS_WIN2000, "Windows 2000"},
    {2, 5, 1, OS_XP_FAMILY, "XP"},
    {2, 5, 2, OS_XP_FAMILY, "Server 2003"},
    {2, 5, 3, OS_UNKNOWN, "NT 5.3"},
    {2, 6, 0, OS_XP_FAMILY, "Vista"},
    {2, 6, 1, OS_XP_FAMILY, "Windows 7"},
    {2, 6, 2, OS_UNKNOWN, "Windows 8"},
    {2, 6, 3, OS_UNKNOWN, "Windows 8.1"},
    {2, 10, 0, OS_UNKNOWN, "Windows 10"},
    {3, 6, 1, OS_UNSUPPORTED, "CE platform"},
    {7, 5, 1, OS_UNSUPPORTED, "unknown platform"},
};

TEST(OsVersion, ClassifiesEveryRowOfTheTable) {
    for (const VersionCase& c : kVersionCases) {
        EXPECT_EQ(ClassifyOsVersion({c.platform, c.major, c.minor}), c.expected) << c.what;
    }
}

// A system that answers only record sizes in `accepted`, and notes what it
// was asked.
struct FakeSystem {
    std::vector<uint32_t> accepted;
    OsVersionRecord version;
    std::vector<uint32_t> asked;
};

bool AnswerVersion(uint32_t recordSize, OsVersionRecord* record, void* context) {
    FakeSystem& system = *static_cast<FakeSystem*>(context);
    system.asked.push_back(recordSize);
    for (uint32_t size : system.accepted) {
        if (size == recordSize) {
            *record = system.version;
            return true;
        }
    }
    return false;
}

TEST(OsVersion, AsksForTheExtendedRecordFirst) {
    FakeSystem system{{kExtendedVersionRecordSize, kBasicVersionRecordSize}, {2, 5, 1}, {}};
    EXPECT_EQ(CheckOsVersionWith(AnswerVersion, &system), OS_XP_FAMILY);
    EXPECT_EQ(system.asked, (std::vector<uint32_t>{kExtendedVersionRecordSize}));
}

TEST(OsVersion, ClassifiesFromTheBasicRecordWhenOnlyThatIsAccepted) {
    FakeSystem system{{kBasicVersionRecordSize}, {2, 5, 0}, {}};
    EXPECT_EQ(CheckOsVersionWith(AnswerVersion, &system), OS_WIN2000);
    EXPECT_EQ(system.asked, (std::vector<uint32_t>{kExtendedVersionRecordSize, kBasicVersionRecordSize}));
}

TEST(OsVersion, NoAnswerAtAllIsUnsupported) {
    FakeSystem system{{}, {2, 6, 1}, {}};
    EXPECT_EQ(CheckOsVersionWith(AnswerVersion, &system), OS_UNSUPPORTED);
    EXPECT_EQ(system.asked.size(), 2u);
}

}  // namespace
