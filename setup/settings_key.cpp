// Access rules of the driver's settings key.
#include "settings_key.h"

#include <sddl.h>

#include "kvshared.h"
#include "win_error.h"

namespace {

// Written by administrators and SYSTEM only: a value any user could write
// would land in the SYSTEM hive, which Windows 2000 loads into limited
// memory at boot and which counts against the registry quota. A standard
// user's settings reach the key through the driver, which writes its own
// fixed values. Protected: these are the key's whole rules, nothing is
// inherited, and they replace whatever an earlier version granted.
const char kSettingsKeyRules[] = "D:P(A;;KA;;;SY)(A;;KA;;;BA)(A;;KR;;;BU)";

}  // namespace

DWORD PrepareSettingsKey() {
    PSECURITY_DESCRIPTOR rules = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorA(kSettingsKeyRules, SDDL_REVISION_1, &rules, nullptr)) {
        return FailureCode();
    }
    HKEY key = nullptr;
    LONG status = RegCreateKeyExA(HKEY_LOCAL_MACHINE, KV_PARAMETERS_KEY, 0, nullptr, REG_OPTION_NON_VOLATILE,
                                  KEY_QUERY_VALUE | WRITE_DAC, nullptr, &key, nullptr);
    if (status == ERROR_SUCCESS) {
        status = RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, rules);
        RegCloseKey(key);
    }
    LocalFree(rules);
    return static_cast<DWORD>(status);
}
