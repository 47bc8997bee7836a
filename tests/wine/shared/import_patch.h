// Points a driver image's imports at stand-ins of a test kernel driver, in
// memory, as the image loads (after its imports are resolved, before its
// entry point runs); the file on disk is untouched. Also Windows'
// IoSetCompletionRoutineEx, which Wine 8 offers only as a faulting stub.
#pragma once
#include "kernel_headers.h"

extern "C" {
#include <ddk/ntimage.h>

// Declared in ntddk.h and ntifs.h, which do not mix with wdm.h here.
struct KvImageInfo {
    ULONG Properties;
    PVOID ImageBase;
    ULONG ImageSelector;
    SIZE_T ImageSize;
    ULONG ImageSectionNumber;
};
typedef void(NTAPI* KvLoadImageNotify)(PUNICODE_STRING name, HANDLE process, KvImageInfo* info);
NTSYSAPI NTSTATUS NTAPI PsSetLoadImageNotifyRoutine(KvLoadImageNotify routine);
}

struct KvImportPatch {
    const char* dll;
    const char* name;
    void* replacement;
    bool required;  // the driver has always used it; the rest only on some paths
};

inline char KvLowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

inline bool KvSameAsciiNoCase(const char* a, const char* b) {
    for (; *a && *b; ++a, ++b) {
        if (KvLowerAscii(*a) != KvLowerAscii(*b)) return false;
    }
    return *a == *b;
}

// Whether the image's name ends with `tail` (lower case), as the loader
// names it.
inline bool KvImageNameEndsWith(const UNICODE_STRING* name, const wchar_t* tail) {
    ULONG tailLength = 0;
    while (tail[tailLength]) ++tailLength;
    const ULONG length = name->Length / sizeof(wchar_t);
    if (!name->Buffer || length < tailLength) return false;
    for (ULONG i = 0; i < tailLength; ++i) {
        wchar_t c = name->Buffer[length - tailLength + i];
        if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
        if (c != tail[i]) return false;
    }
    return true;
}

// Replaces every listed slot of the image's import table; returns whether
// every required one was found.
template <ULONG Count>
bool KvPatchImports(UCHAR* base, const KvImportPatch (&patches)[Count]) {
    ULONG required = 0, patched = 0;
    for (const KvImportPatch& patch : patches) required += patch.required;
    auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (imports.VirtualAddress == 0) return required == 0;
    for (auto* d = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress); d->Name; ++d) {
        const char* dll = reinterpret_cast<char*>(base + d->Name);
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->OriginalFirstThunk);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
            const char* name = reinterpret_cast<char*>(
                reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData)->Name);
            for (const KvImportPatch& patch : patches) {
                if (!KvSameAsciiNoCase(dll, patch.dll) || !KvSameAsciiNoCase(name, patch.name)) continue;
                slots->u1.Function = reinterpret_cast<ULONG_PTR>(patch.replacement);
                patched += patch.required;
            }
        }
    }
    return patched == required;
}

// IoSetCompletionRoutineEx as Windows has it: the routine runs through a
// wrapper of the system's. (Windows also keeps the device referenced till
// the routine returns; Wine would not honour that, so it is not modelled.)
struct KvSafeCompletion {
    PIO_COMPLETION_ROUTINE Routine;
    PVOID Context;
};
constexpr ULONG kKvSafeCompletionTag = KvFourCc('K', 'v', 'C', 'p');

extern "C" inline NTSTATUS NTAPI KvRunSafeCompletion(PDEVICE_OBJECT device, PIRP irp, PVOID context) {
    const KvSafeCompletion safe = *static_cast<KvSafeCompletion*>(context);
    ExFreePoolWithTag(context, kKvSafeCompletionTag);
    return safe.Routine(device, irp, safe.Context);
}

extern "C" inline NTSTATUS NTAPI KvSetCompletionRoutineEx(PDEVICE_OBJECT, PIRP irp, PIO_COMPLETION_ROUTINE routine,
                                                          PVOID context, BOOLEAN onSuccess, BOOLEAN onError,
                                                          BOOLEAN onCancel) {
    auto* safe = static_cast<KvSafeCompletion*>(
        ExAllocatePoolWithTag(NonPagedPool, sizeof(KvSafeCompletion), kKvSafeCompletionTag));
    if (!safe) return STATUS_INSUFFICIENT_RESOURCES;
    safe->Routine = routine;
    safe->Context = context;
    IoSetCompletionRoutine(irp, KvRunSafeCompletion, safe, onSuccess, onError, onCancel);
    return STATUS_SUCCESS;
}

// Whether `name` is `text`.
inline bool KvNames(const UNICODE_STRING* name, const wchar_t* text) {
    UNICODE_STRING wanted;
    RtlInitUnicodeString(&wanted, text);
    return RtlEqualUnicodeString(name, &wanted, FALSE);
}
