// Which Windows the installer and uninstaller run on, and what they do there.
#pragma once

#include <stdint.h>

enum OsClass : uint32_t {
    OS_XP_FAMILY = 0,        // NT 5.1 to 6.1: install through the INF files
    OS_WIN2000 = 1,          // NT 5.0: copy the files ourselves
    OS_UNSUPPORTED = 120,    // refused with a message
    OS_UNKNOWN = 0xFFFF,     // newer than we know: wizard runs, nothing is done
};

// The fields of the system's version record that the classification reads.
struct OsVersionRecord {
    uint32_t platformId;
    uint32_t majorVersion;
    uint32_t minorVersion;
};

// Sizes of the extended and the basic version record; older systems accept
// only the basic one.
constexpr uint32_t kExtendedVersionRecordSize = 156;
constexpr uint32_t kBasicVersionRecordSize = 148;

OsClass ClassifyOsVersion(const OsVersionRecord& record);

// Asks the system for its version with a record of recordSize bytes; false
// when the system refuses that size.
using VersionQuery = bool (*)(uint32_t recordSize, OsVersionRecord* record, void* context);

// Tries the extended record, then the basic one; a system that answers
// neither is unsupported.
OsClass CheckOsVersionWith(VersionQuery query, void* context);

#ifdef _WIN32
// The running system's class; a 64-bit Windows (this 32-bit program under
// WOW64) is unsupported whatever its version.
OsClass CheckOsVersion();
#endif
