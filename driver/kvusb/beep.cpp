// Starting and ending the touch beep. Runs at up to dispatch level (report
// completion, DPC): non-paged.
#include "beep.h"

namespace {

// An unload that cannot flush the DPC queue (Windows 2000) waits for the
// release instead. The release is the DPC's very last act, a jump into the
// system that returns straight to the DPC's caller, so no instruction of
// this image is left to run once it is seen (a package test reads the
// machine code back).
extern "C" void NTAPI EndBeep(PKDPC, PVOID, PVOID, PVOID) {
    HalMakeBeep(0);
    KeReleaseSemaphore(&g_Driver.BeepDpcDone, IO_NO_INCREMENT, 1, FALSE);
}

// Takes every release a DPC has made, at up to dispatch level.
void EmptyBeepDpcDone() {
    LARGE_INTEGER now;
    now.QuadPart = 0;
    while (KeWaitForSingleObject(&g_Driver.BeepDpcDone, Executive, KernelMode, FALSE, &now) == STATUS_SUCCESS) {
    }
}

typedef VOID(NTAPI* FlushQueuedDpcs)();

// KeFlushQueuedDpcs came with XP SP2; looked up so the driver still loads
// on Windows 2000.
FlushQueuedDpcs FindFlushQueuedDpcs() {
    UNICODE_STRING name;
    wchar_t text[] = L"KeFlushQueuedDpcs";
    name.Buffer = text;
    name.Length = sizeof text - sizeof(wchar_t);
    name.MaximumLength = sizeof text;
    return reinterpret_cast<FlushQueuedDpcs>(MmGetSystemRoutineAddress(&name));
}

// An ending DPC runs in microseconds once it has started; the bound only
// keeps an unload from hanging on a release that no DPC will make (the
// timer was cancelled before it expired).
constexpr LONGLONG kDpcWaitBound100ns = 500LL * 10000;

}  // namespace

void InitializeBeep() {
    KeInitializeTimer(&g_Driver.BeepTimer);
    KeInitializeDpc(&g_Driver.BeepDpc, EndBeep, nullptr);
    KeInitializeSemaphore(&g_Driver.BeepDpcDone, 1, MAXLONG);
}

// After this no DPC of ours is queued or running, so the image may go.
void StopBeep() {
    KeCancelTimer(&g_Driver.BeepTimer);
    if (FlushQueuedDpcs flush = FindFlushQueuedDpcs()) {
        flush();
    } else {
        KeRemoveQueueDpc(&g_Driver.BeepDpc);
        LARGE_INTEGER bound;
        bound.QuadPart = -kDpcWaitBound100ns;
        KeWaitForSingleObject(&g_Driver.BeepDpcDone, Executive, KernelMode, FALSE, &bound);
    }
    HalMakeBeep(0);
}

// A new beep restarts the tone with its full duration. The timer is
// cancelled before it is set again: the same effect as setting it, and
// under Wine's kernel, setting a timer whose expiry is still being handled
// waits for that handling while blocking it. The semaphore stays empty
// until a DPC has run after this setting.
void StartBeepNow(uint32_t frequencyHz, uint32_t durationMs) {
    HalMakeBeep(frequencyHz);
    LARGE_INTEGER due;
    due.QuadPart = -static_cast<LONGLONG>(durationMs) * 10000;
    KeCancelTimer(&g_Driver.BeepTimer);
    EmptyBeepDpcDone();
    KeSetTimer(&g_Driver.BeepTimer, due, &g_Driver.BeepDpc);
}
