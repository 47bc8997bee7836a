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

// Whether this program runs under WOW64, that is on a 64-bit Windows, which
// loads none of the package's 32-bit drivers. Windows 2000 and XP before
// its second service pack have no IsWow64Process: they are 32-bit.
bool RunsOn64BitWindows() {
    typedef BOOL(WINAPI * IsWow64ProcessFunction)(HANDLE, PBOOL);
    const IsWow64ProcessFunction isWow64Process = reinterpret_cast<IsWow64ProcessFunction>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "IsWow64Process")));
    BOOL wow64 = FALSE;
    return isWow64Process && isWow64Process(GetCurrentProcess(), &wow64) && wow64;
}

}  // namespace

OsClass CheckOsVersion() {
    if (RunsOn64BitWindows()) return OS_UNSUPPORTED;
    return CheckOsVersionWith(QuerySystemVersion, nullptr);
}
