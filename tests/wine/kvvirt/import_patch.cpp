// Points some of the loaded filter's imports at the harness: the speaker
// (Wine's faults when called), pool (counted and failed on demand), the
// timer and DPC calls (with Windows' timing), device deletion (held back
// while files are open, as Windows does) and the routines the filter looks
// up by name (as the modelled Windows has them).
#include "harness.h"

namespace {

const KvImportPatch kPatches[] = {
    {"hal.dll", "HalMakeBeep", reinterpret_cast<void*>(&RecordBeep), true},
    {"ntoskrnl.exe", "ExAllocatePoolWithTag", reinterpret_cast<void*>(&LedgerAllocate), true},
    {"ntoskrnl.exe", "ExFreePoolWithTag", reinterpret_cast<void*>(&LedgerFree), true},
    {"ntoskrnl.exe", "KeSetTimer", reinterpret_cast<void*>(&ModelSetTimer), true},
    {"ntoskrnl.exe", "KeCancelTimer", reinterpret_cast<void*>(&ModelCancelTimer), true},
    {"ntoskrnl.exe", "IoDeleteDevice", reinterpret_cast<void*>(&ModelDeleteDevice), true},
    {"ntoskrnl.exe", "KeRemoveQueueDpc", reinterpret_cast<void*>(&ModelRemoveQueueDpc), false},
    {"ntoskrnl.exe", "MmGetSystemRoutineAddress", reinterpret_cast<void*>(&ModelGetSystemRoutineAddress), true},
};

extern "C" void NTAPI OnImageLoad(PUNICODE_STRING name, HANDLE, KvImageInfo* info) {
    if (!info || !KvImageNameEndsWith(name, L"kvusb.sys")) return;
    g_Harness.ImportsPatched = KvPatchImports(static_cast<UCHAR*>(info->ImageBase), kPatches);
}

}  // namespace

NTSTATUS InstallImportPatches() { return PsSetLoadImageNotifyRoutine(OnImageLoad); }
