// Classification of the running Windows version.
#include "os_version.h"

namespace {

enum : uint32_t { kPlatformWin32s = 0, kPlatformWin9x = 1, kPlatformNt = 2 };

OsClass ClassifyWin9x(uint32_t major, uint32_t minor) {
    const bool known = major == 4 && (minor == 0 || minor == 10 || minor == 90);
    return known ? OS_UNSUPPORTED : OS_UNKNOWN;
}

OsClass ClassifyNt(uint32_t major, uint32_t minor) {
    if (major <= 4) return OS_UNSUPPORTED;
    if (major == 5 && minor == 0) return OS_WIN2000;
    if (major == 5 && (minor == 1 || minor == 2)) return OS_XP_FAMILY;
    if (major == 6 && minor <= 1) return OS_XP_FAMILY;
    return OS_UNKNOWN;
}

}  // namespace

OsClass ClassifyOsVersion(const OsVersionRecord& record) {
    switch (record.platformId) {
    case kPlatformWin32s: return OS_UNSUPPORTED;
    case kPlatformWin9x: return ClassifyWin9x(record.majorVersion, record.minorVersion);
    case kPlatformNt: return ClassifyNt(record.majorVersion, record.minorVersion);
    default: return OS_UNSUPPORTED;
    }
}

OsClass CheckOsVersionWith(VersionQuery query, void* context) {
    OsVersionRecord record = {};
    if (query(kExtendedVersionRecordSize, &record, context)) return ClassifyOsVersion(record);
    record = OsVersionRecord{};
    if (query(kBasicVersionRecordSize, &record, context)) return ClassifyOsVersion(record);
    return OS_UNSUPPORTED;
}
