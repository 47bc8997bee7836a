// Wine's HalMakeBeep faults when called, so the harness points the loaded
// filter's import of it at a recorder: patched in memory as the image
// loads, before its entry point runs. The file on disk is never touched.
#include "harness.h"

namespace {

LARGE_INTEGER Now() { return KeQueryPerformanceCounter(nullptr); }

ULONG MillisecondsSince(LARGE_INTEGER start) {
    LARGE_INTEGER frequency;
    const LARGE_INTEGER now = KeQueryPerformanceCounter(&frequency);
    if (frequency.QuadPart == 0) return 0;
    return static_cast<ULONG>((now.QuadPart - start.QuadPart) * 1000 / frequency.QuadPart);
}

// A tone lasts from one call to the next; frequency 0 only ends a tone.
extern "C" BOOLEAN NTAPI RecordBeep(ULONG frequency) {
    KIRQL irql;
    KeAcquireSpinLock(&g_Harness.LogLock, &irql);
    RecordLog<KvVirtBeep>& log = g_Harness.Beeps;
    if (g_Harness.BeepOpen && log.Count > 0) log.Items[log.Count - 1].Milliseconds = MillisecondsSince(g_Harness.BeepStarted);
    g_Harness.BeepOpen = false;
    if (frequency != 0 && log.Count < KVVIRT_MAX_RECORDS) {
        log.Items[log.Count++] = KvVirtBeep{frequency, 0xFFFFFFFFu};
        g_Harness.BeepOpen = true;
        g_Harness.BeepStarted = Now();
    }
    KeReleaseSpinLock(&g_Harness.LogLock, irql);
    return TRUE;
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

// Replaces the slot of hal.dll!HalMakeBeep in the image's import table.
bool PatchImport(UCHAR* base) {
    auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (imports.VirtualAddress == 0) return false;
    for (auto* d = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress); d->Name; ++d) {
        if (!SameAsciiNoCase(reinterpret_cast<char*>(base + d->Name), "hal.dll")) continue;
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->OriginalFirstThunk);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
            auto* byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (!SameAsciiNoCase(reinterpret_cast<char*>(byName->Name), "HalMakeBeep")) continue;
            slots->u1.Function = reinterpret_cast<ULONG_PTR>(&RecordBeep);
            return true;
        }
    }
    return false;
}

extern "C" void NTAPI OnImageLoad(PUNICODE_STRING name, HANDLE, KvImageInfo* info) {
    if (info && EndsWith(name, L"kvusb.sys")) {
        g_Harness.BeepPatched = PatchImport(static_cast<UCHAR*>(info->ImageBase));
    }
}

}  // namespace

NTSTATUS InstallBeepRecorder() { return PsSetLoadImageNotifyRoutine(OnImageLoad); }

void RemoveBeepRecorder() { PsRemoveLoadImageNotifyRoutine(OnImageLoad); }
