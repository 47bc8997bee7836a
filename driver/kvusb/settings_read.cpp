// The registry side of the settings: each value of the Parameters key read
// into a fixed buffer, in the query order, into the core's value source.
// Non-paged, as the settings read is.
#include "settings_read.h"

#include "registry_value.h"
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

// The values as fetched, kept off the small kernel stack; non-paged, as the
// core takes them under the state lock.
struct FetchedBlock {
    Values values;
};

// Fills `values` (defaults first) from the key; a value missing, of another
// type or size counts as not stored. A key that is not there means
// defaults, not an error.
NTSTATUS FetchValues(const UNICODE_STRING& path, Values& values) {
    kv::FillDefaultValues(values);
    HANDLE key;
    NTSTATUS status = OpenRegistryKey(&path, KEY_QUERY_VALUE, &key);
    if (status == STATUS_OBJECT_NAME_NOT_FOUND) return STATUS_SUCCESS;
    if (!NT_SUCCESS(status)) return status;
    for (ULONG i = 0; i < KV_DRIVER_VALUE_COUNT; ++i) {
        ULONG value;
        if (QueryDwordValue(key, kValueNames[i], &value)) values[i] = value;
    }
    ZwClose(key);
    return STATUS_SUCCESS;
}

}  // namespace

// Resident: stores under the state lock. The registry is read before the
// lock is taken, at the caller's passive level. Pool failures return before
// anything is read.
KV_NONPAGED NTSTATUS ReadDriverSettings() {
    UNICODE_STRING path;
    if (!BuildParametersPath(&path)) return kv::kStatusNoPoolForPath;
    auto* block = static_cast<FetchedBlock*>(ExAllocatePoolWithTag(NonPagedPool, sizeof(FetchedBlock), kPoolTag));
    NTSTATUS result = STATUS_UNSUCCESSFUL;
    if (block) {
        FetchedValues fetched(block->values, FetchValues(path, block->values));
        KIRQL irql;
        KeAcquireSpinLock(&g_Driver.StateLock, &irql);
        result = kv::ReadSettings(g_Driver.State, fetched);
        KeReleaseSpinLock(&g_Driver.StateLock, irql);
        ExFreePoolWithTag(block, kPoolTag);
    }
    ExFreePoolWithTag(path.Buffer, kPoolTag);
    return result;
}
