// The registry side of a settings store: the Parameters key opened below
// the service key, fixed names, fixed type and size, nothing allocated.
// Resident, as the settings read is: the control dispatch reaches it.
#include "settings_store.h"

#include "registry_value.h"

namespace {

#define KV_WIDE_NAME(name) KV_WIDE(#name),
const wchar_t* const kStoredNames[KV_STORED_VALUE_COUNT] = {KV_FOR_EACH_STORED_VALUE(KV_WIDE_NAME)};
#undef KV_WIDE_NAME

// The subkey's name without the separator it is given to join a path.
const wchar_t* const kParametersName = KV_WIDE(KV_PARAMETERS_SUBKEY) + 1;

NTSTATUS WriteValues(HANDLE key, const StoredSettings& record) {
    for (ULONG i = 0; i < KV_STORED_VALUE_COUNT; ++i) {
        if (!(record.Present & (1u << i))) continue;
        UNICODE_STRING name;
        RtlInitUnicodeString(&name, kStoredNames[i]);
        ULONG value = record.Value[i];
        const NTSTATUS status = ZwSetValueKey(key, &name, 0, REG_DWORD, &value, sizeof value);
        if (!NT_SUCCESS(status)) return status;
    }
    return STATUS_SUCCESS;
}

}  // namespace

NTSTATUS StoreDriverSettings(const StoredSettings& record) {
    HANDLE service = nullptr;
    NTSTATUS status = OpenRegistryKey(&g_Driver.RegistryPath, KEY_READ, &service);
    if (!NT_SUCCESS(status)) return status;
    UNICODE_STRING name;
    RtlInitUnicodeString(&name, kParametersName);
    HANDLE parameters = nullptr;
    status = OpenRegistryKey(&name, KEY_SET_VALUE, &parameters, service);
    ZwClose(service);
    if (!NT_SUCCESS(status)) return status;
    status = WriteValues(parameters, record);
    ZwClose(parameters);
    return status;
}
