// Removal of the package's service keys.
#include "service_keys.h"

#include <windows.h>

#include <string>

#include "package_names.h"

void DeleteServiceKey(const char* name) {
    HKEY services = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, KV_SERVICES_KEY, 0, KEY_ALL_ACCESS, &services) != ERROR_SUCCESS) return;
    // RegDeleteKeyA removes only keys without subkeys: the ones the system
    // and the driver create under a service go first.
    HKEY key = nullptr;
    if (RegOpenKeyExA(services, name, 0, KEY_ALL_ACCESS, &key) == ERROR_SUCCESS) {
        static const char* const subkeys[] = {"Enum", "Parameters", "Security"};
        for (const char* subkey : subkeys) RegDeleteKeyA(key, subkey);
        RegCloseKey(key);
    }
    RegDeleteKeyA(services, name);
    RegCloseKey(services);
}

void DeleteServiceKeys() {
    DeleteServiceKey(KV_DRIVER_SERVICE);
    DeleteServiceKey(KV_FILTER_SERVICE);
}
