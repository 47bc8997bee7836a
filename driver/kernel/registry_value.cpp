// Registry reads of both drivers, at passive level. Resident: the touch
// driver's settings read, which also takes its state lock, calls them.
#include "registry_value.h"

NTSTATUS OpenRegistryKey(const UNICODE_STRING* path, ACCESS_MASK access, HANDLE* key, HANDLE root) {
    OBJECT_ATTRIBUTES attributes;
    InitializeObjectAttributes(&attributes, const_cast<UNICODE_STRING*>(path), OBJ_CASE_INSENSITIVE | OBJ_KERNEL_HANDLE,
                               root, nullptr);
    *key = nullptr;
    return ZwOpenKey(key, access, &attributes);
}

bool QueryDwordValue(HANDLE key, const wchar_t* name, ULONG* value) {
    UNICODE_STRING valueName;
    RtlInitUnicodeString(&valueName, name);
    // Room for a DWORD's data only: a longer value fails the query with
    // STATUS_BUFFER_OVERFLOW and reads as not stored.
    union {
        KEY_VALUE_PARTIAL_INFORMATION info;
        UCHAR bytes[sizeof(KEY_VALUE_PARTIAL_INFORMATION) + sizeof(ULONG)];
    } answer;
    ULONG length = 0;
    const NTSTATUS status = ZwQueryValueKey(key, &valueName, KeyValuePartialInformation, &answer, sizeof answer, &length);
    if (!NT_SUCCESS(status) || answer.info.Type != REG_DWORD || answer.info.DataLength != sizeof(ULONG)) return false;
    RtlCopyMemory(value, answer.info.Data, sizeof(ULONG));
    return true;
}
