// Creation of the service keys, before the devices are updated.
#include "service_keys_create.h"

#include "package_names.h"

namespace {

void SetDword(HKEY key, const char* name, DWORD value) {
    RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
}

void CreateServiceKeyIfMissing(const char* keyPath, DWORD errorControl) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath, 0, KEY_QUERY_VALUE, &key) == ERROR_SUCCESS) {
        RegCloseKey(key);
        return;
    }
    if (RegCreateKeyA(HKEY_LOCAL_MACHINE, keyPath, &key) != ERROR_SUCCESS) return;
    SetDword(key, "ErrorControl", errorControl);
    SetDword(key, "Start", SERVICE_DEMAND_START);
    SetDword(key, "Type", SERVICE_KERNEL_DRIVER);
    RegCloseKey(key);
}

}  // namespace

void CreateServiceKeysWith(DWORD errorControl) {
    CreateServiceKeyIfMissing(KV_DRIVER_SERVICE_KEY, errorControl);
    CreateServiceKeyIfMissing(KV_FILTER_SERVICE_KEY, errorControl);
}

void CreateServiceKeys() { CreateServiceKeysWith(SERVICE_ERROR_NORMAL); }
