// Points some of the loaded filter's imports at the harness: the speaker
// (Wine's faults when called), pool (counted and failed on demand), the
// timer and DPC calls (with Windows' timing) and device deletion (held back
// while files are open, as Windows does). Patched in memory as the
// image loads, before its entry point runs; the file on disk is untouched.
#include "harness.h"

namespace {

struct ImportPatch {
    const char* dll;
    const char* name;
    void* replacement;
    bool required;  // the filter has always used it; the rest only on some paths
};

const ImportPatch kPatches[] = {
    {"hal.dll", "HalMakeBeep", reinterpret_cast<void*>(&RecordBeep), true},
    {"ntoskrnl.exe", "ExAllocatePoolWithTag", reinterpret_cast<void*>(&LedgerAllocate), true},
    {"ntoskrnl.exe", "ExFreePoolWithTag", reinterpret_cast<void*>(&LedgerFree), true},
    {"ntoskrnl.exe", "KeSetTimer", reinterpret_cast<void*>(&ModelSetTimer), true},
    {"ntoskrnl.exe", "KeCancelTimer", reinterpret_cast<void*>(&ModelCancelTimer), true},
    {"ntoskrnl.exe", "IoDeleteDevice", reinterpret_cast<void*>(&ModelDeleteDevice), true},
    {"ntoskrnl.exe", "KeRemoveQueueDpc", reinterpret_cast<void*>(&ModelRemoveQueueDpc), false},
    {"ntoskrnl.exe", "MmGetSystemRoutineAddress", reinterpret_cast<void*>(&ModelGetSystemRoutineAddress), false},
};

ULONG RequiredCount() {
    ULONG count = 0;
    for (const ImportPatch& patch : kPatches) count += patch.required;
    return count;
}

bool EndsWith(const UNICODE_STRING* name, const wchar_t* tail) {
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

bool SameAsciiNoCase(const char* a, const char* b) {
    for (; *a && *b; ++a, ++b) {
        char x = *a, y = *b;
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return *a == *b;
}

const ImportPatch* PatchFor(const char* dll, const char* name) {
    for (const ImportPatch& patch : kPatches) {
        if (SameAsciiNoCase(dll, patch.dll) && SameAsciiNoCase(name, patch.name)) return &patch;
    }
    return nullptr;
}

// Replaces every listed slot of the image's import table; the count of
// required ones found.
ULONG PatchImports(UCHAR* base) {
    auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    ULONG patched = 0;
    if (imports.VirtualAddress == 0) return 0;
    for (auto* d = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress); d->Name; ++d) {
        const char* dll = reinterpret_cast<char*>(base + d->Name);
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->OriginalFirstThunk);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
            auto* byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            const ImportPatch* patch = PatchFor(dll, reinterpret_cast<char*>(byName->Name));
            if (!patch) continue;
            slots->u1.Function = reinterpret_cast<ULONG_PTR>(patch->replacement);
            patched += patch->required;
        }
    }
    return patched;
}

extern "C" void NTAPI OnImageLoad(PUNICODE_STRING name, HANDLE, KvImageInfo* info) {
    if (!info || !EndsWith(name, L"kvusb.sys")) return;
    g_Harness.ImportsPatched = PatchImports(static_cast<UCHAR*>(info->ImageBase)) == RequiredCount();
}

}  // namespace

NTSTATUS InstallImportPatches() { return PsSetLoadImageNotifyRoutine(OnImageLoad); }
