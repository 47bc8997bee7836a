// A mouse node's stack as the Plug and Play manager builds it from the
// registry: device lower filters, the function driver, device upper
// filters, then the class upper filters in list order. The harness's nodes
// have no device keys, so only the class list comes from the registry:
// the mouse class's UpperFilters, as the installed INFs left it.
#include "kvfhost.h"

namespace {

wchar_t kMouseClassKey[] =
    L"\\Registry\\Machine\\System\\CurrentControlSet\\Control\\Class\\{4D36E96F-E325-11CE-BFC1-08002BE10318}";
wchar_t kUpperFilters[] = L"UpperFilters";

constexpr ULONG kMaxListBytes = 256;

bool SameName(const wchar_t* name, ULONG length, const wchar_t* wanted) {
    ULONG i = 0;
    for (; i < length && wanted[i]; ++i) {
        wchar_t c = name[i];
        if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
        if (c != wanted[i]) return false;
    }
    return i == length && !wanted[i];
}

// One class upper filter on the node: the class driver is the harness's,
// kvfilt the real one. A filter whose service is not there fails the
// node's start, as it does on Windows.
NTSTATUS AddFilter(PDEVICE_OBJECT pdo, const wchar_t* name, ULONG length) {
    if (SameName(name, length, L"mouclass")) return AddClassDevice(pdo);
    if (SameName(name, length, L"kvfilt")) return g_Host.Target->DriverExtension->AddDevice(g_Host.Target, pdo);
    return STATUS_OBJECT_NAME_NOT_FOUND;
}

NTSTATUS ReadClassUpperFilters(wchar_t* list, ULONG* characters) {
    UNICODE_STRING keyName, valueName;
    RtlInitUnicodeString(&keyName, kMouseClassKey);
    RtlInitUnicodeString(&valueName, kUpperFilters);
    OBJECT_ATTRIBUTES attributes;
    InitializeObjectAttributes(&attributes, &keyName, OBJ_CASE_INSENSITIVE | OBJ_KERNEL_HANDLE, nullptr, nullptr);
    HANDLE key = nullptr;
    NTSTATUS status = ZwOpenKey(&key, KEY_QUERY_VALUE, &attributes);
    if (!NT_SUCCESS(status)) return status;
    union {
        KEY_VALUE_PARTIAL_INFORMATION info;
        UCHAR bytes[sizeof(KEY_VALUE_PARTIAL_INFORMATION) + kMaxListBytes];
    } answer;
    ULONG length = 0;
    status = ZwQueryValueKey(key, &valueName, KeyValuePartialInformation, &answer, sizeof answer, &length);
    ZwClose(key);
    if (!NT_SUCCESS(status)) return status;
    if (answer.info.Type != REG_MULTI_SZ) return STATUS_OBJECT_TYPE_MISMATCH;
    RtlCopyMemory(list, answer.info.Data, answer.info.DataLength);
    *characters = answer.info.DataLength / sizeof(wchar_t);
    return STATUS_SUCCESS;
}

}  // namespace

NTSTATUS BuildStack(PDEVICE_OBJECT pdo) {
    wchar_t list[kMaxListBytes / sizeof(wchar_t)];
    ULONG characters = 0;
    NTSTATUS status = ReadClassUpperFilters(list, &characters);
    for (ULONG start = 0; NT_SUCCESS(status) && start < characters && list[start];) {
        ULONG end = start;
        while (end < characters && list[end]) ++end;
        status = AddFilter(pdo, list + start, end - start);
        start = end + 1;
    }
    return status;
}
