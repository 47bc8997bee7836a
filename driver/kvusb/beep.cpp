// Starting and ending the touch beep. Runs at up to dispatch level (report
// completion, DPC): non-paged.
#include "beep.h"

namespace {

// The DPC sets the idle event as its last act, so an unload that cannot
// flush the DPC queue (Windows 2000) can wait for it instead.
extern "C" void NTAPI EndBeep(PKDPC, PVOID, PVOID, PVOID) {
    HalMakeBeep(0);
    KeSetEvent(&g_Driver.BeepDpcIdle, IO_NO_INCREMENT, FALSE);
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
// keeps an unload from hanging on an event that no DPC will set (the timer
// was cancelled before it expired).
constexpr LONGLONG kDpcWaitBound100ns = 500 * 10000;

}  // namespace

void InitializeBeep() {
    KeInitializeTimer(&g_Driver.BeepTimer);
    KeInitializeDpc(&g_Driver.BeepDpc, EndBeep, nullptr);
    KeInitializeEvent(&g_Driver.BeepDpcIdle, NotificationEvent, TRUE);
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
        KeWaitForSingleObject(&g_Driver.BeepDpcIdle, Executive, KernelMode, FALSE, &bound);
    }
    HalMakeBeep(0);
}

// A new beep restarts the tone with its full duration. The timer is
// cancelled before it is set again: the same effect as setting it, and
// under Wine's kernel, setting a timer whose expiry is still being handled
// waits for that handling while blocking it. The idle event stays clear
// until a DPC has run after this setting.
void StartBeepNow(uint32_t frequencyHz, uint32_t durationMs) {
    HalMakeBeep(frequencyHz);
    LARGE_INTEGER due;
    due.QuadPart = -static_cast<LONGLONG>(durationMs) * 10000;
    KeCancelTimer(&g_Driver.BeepTimer);
    KeClearEvent(&g_Driver.BeepDpcIdle);
    KeSetTimer(&g_Driver.BeepTimer, due, &g_Driver.BeepDpc);
}
