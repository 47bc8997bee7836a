// Access rules of the driver's settings key.
#include "settings_key.h"

#include <sddl.h>

#include "kvshared.h"
#include "win_error.h"

namespace {

// HKLM\System is writable by administrators only and not virtualized on
// Vista and 7: without rules of its own, a standard user's Ok in the applet
// or the calibration program could not be saved. Interactive users get
// KEY_READ | KEY_SET_VALUE (0x2001B). Protected: these are the key's whole
// rules, nothing is inherited from the service key.
const char kSettingsKeyRules[] = "D:P(A;;KA;;;SY)(A;;KA;;;BA)(A;;KR;;;BU)(A;;0x2001b;;;IU)";

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
