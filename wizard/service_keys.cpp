// Removal of the package's service keys.
#include "service_keys.h"

#include <windows.h>

#include "package_names.h"

namespace {

// RegDeleteKeyA removes only keys without subkeys: the ones the system and
// the driver create under a service go first.
void DeleteServiceSubkeys(const char* serviceKeyPath) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, serviceKeyPath, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return;
    static const char* const subkeys[] = {"Enum", "Parameters", "Security"};
    for (const char* subkey : subkeys) RegDeleteKeyA(key, subkey);
    RegCloseKey(key);
}

}  // namespace

void DeleteServiceKeys() {
    DeleteServiceSubkeys(KV_DRIVER_SERVICE_KEY);
    DeleteServiceSubkeys(KV_FILTER_SERVICE_KEY);
    HKEY services = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, KV_SERVICES_KEY, 0, KEY_ALL_ACCESS, &services) != ERROR_SUCCESS) return;
    RegDeleteKeyA(services, KV_DRIVER_SERVICE);
    RegDeleteKeyA(services, KV_FILTER_SERVICE);
    RegCloseKey(services);
}
