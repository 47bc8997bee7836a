// CheckOsVersion on the real GetVersionExA.
#include <windows.h>

#include "os_version.h"

static_assert(sizeof(OSVERSIONINFOEXA) == kExtendedVersionRecordSize, "extended version record");
static_assert(sizeof(OSVERSIONINFOA) == kBasicVersionRecordSize, "basic version record");

namespace {

bool QuerySystemVersion(uint32_t recordSize, OsVersionRecord* record, void*) {
    OSVERSIONINFOEXA info;
    ZeroMemory(&info, sizeof info);
    info.dwOSVersionInfoSize = recordSize;
    if (!GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&info))) return false;
    record->platformId = info.dwPlatformId;
    record->majorVersion = info.dwMajorVersion;
    record->minorVersion = info.dwMinorVersion;
    return true;
}

}  // namespace

OsClass CheckOsVersion() { return CheckOsVersionWith(QuerySystemVersion, nullptr); }
