// The registry side of the settings: RtlQueryRegistryValues over the
// value names in their query order, into the core's value source.
// Non-paged, as the settings read is.
#include "settings_read.h"

#include "settings.h"

namespace {

#define KV_WIDE_NAME(name) KV_WIDE(#name),
const wchar_t* const kValueNames[KV_DRIVER_VALUE_COUNT] = {KV_FOR_EACH_DRIVER_VALUE(KV_WIDE_NAME)};
#undef KV_WIDE_NAME

constexpr wchar_t kParametersSuffix[] = KV_WIDE(KV_PARAMETERS_SUBKEY);
constexpr ULONG kPathExtraBytes = 24;

using Values = uint32_t[KV_DRIVER_VALUE_COUNT];

// Values already read from the registry, handed to the core's settings
// read under the state lock.
class FetchedValues final : public kv::SettingsSource {
public:
    FetchedValues(const Values& values, NTSTATUS status) : values_(values), status_(status) {}
    kv::Status Query(uint32_t (&values)[KV_DRIVER_VALUE_COUNT]) override {
        for (ULONG i = 0; i < KV_DRIVER_VALUE_COUNT; ++i) values[i] = values_[i];
        return status_;
    }

private:
    const Values& values_;
    NTSTATUS status_;
};

// Only a 4-byte REG_DWORD is taken; a value of another type or size keeps
// its default instead of being copied over a 32-bit field.
extern "C" NTSTATUS NTAPI StoreDword(PWSTR, ULONG type, PVOID data, ULONG length, PVOID, PVOID entry) {
    if (type == REG_DWORD && length == sizeof(ULONG) && data) {
        RtlCopyMemory(entry, data, sizeof(ULONG));
    }
    return STATUS_SUCCESS;
}

bool BuildParametersPath(UNICODE_STRING* path) {
    const UNICODE_STRING& service = g_Driver.RegistryPath;
    path->Length = 0;
    path->MaximumLength = static_cast<USHORT>(service.MaximumLength + kPathExtraBytes);
    path->Buffer = static_cast<PWCH>(ExAllocatePoolWithTag(PagedPool, path->MaximumLength, kPoolTag));
    if (!path->Buffer) return false;
    RtlZeroMemory(path->Buffer, path->MaximumLength);
    RtlCopyUnicodeString(path, &service);
    RtlAppendUnicodeToString(path, kParametersSuffix);
    return true;
}

// Fills `values` (defaults first) from the key. Pool failures return
// before anything is read.
NTSTATUS QueryStoredValues(Values& values, bool* poolFailed) {
    *poolFailed = true;
    UNICODE_STRING path;
    if (!BuildParametersPath(&path)) return kv::kStatusNoPoolForPath;
    const SIZE_T tableBytes = sizeof(RTL_QUERY_REGISTRY_TABLE) * (KV_DRIVER_VALUE_COUNT + 1);
    auto* table = static_cast<PRTL_QUERY_REGISTRY_TABLE>(ExAllocatePoolWithTag(PagedPool, tableBytes, kPoolTag));
    if (!table) {
        ExFreePoolWithTag(path.Buffer, kPoolTag);
        return STATUS_UNSUCCESSFUL;
    }
    *poolFailed = false;
    RtlZeroMemory(table, tableBytes);
    kv::FillDefaultValues(values);
    for (ULONG i = 0; i < KV_DRIVER_VALUE_COUNT; ++i) {
        table[i].QueryRoutine = StoreDword;
        table[i].Flags = RTL_QUERY_REGISTRY_NOEXPAND;
        table[i].Name = const_cast<PWSTR>(kValueNames[i]);
        table[i].EntryContext = &values[i];
        table[i].DefaultType = REG_NONE;
    }
    NTSTATUS status = RtlQueryRegistryValues(RTL_REGISTRY_ABSOLUTE | RTL_REGISTRY_OPTIONAL, path.Buffer, table,
                                             nullptr, nullptr);
    // A key that is not there means defaults, not an error.
    if (status == STATUS_OBJECT_NAME_NOT_FOUND) status = STATUS_SUCCESS;
    ExFreePoolWithTag(table, kPoolTag);
    ExFreePoolWithTag(path.Buffer, kPoolTag);
    return status;
}

}  // namespace

// Resident: stores under the state lock. The registry is read before the
// lock is taken, at the caller's passive level.
KV_NONPAGED NTSTATUS ReadDriverSettings() {
    Values values;
    bool poolFailed;
    const NTSTATUS status = QueryStoredValues(values, &poolFailed);
    if (poolFailed) return status;
    FetchedValues fetched(values, status);
    KIRQL irql;
    KeAcquireSpinLock(&g_Driver.StateLock, &irql);
    const NTSTATUS result = kv::ReadSettings(g_Driver.State, fetched);
    KeReleaseSpinLock(&g_Driver.StateLock, irql);
    return result;
}
