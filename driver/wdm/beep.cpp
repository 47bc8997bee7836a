// Starting and ending the touch beep. Runs at up to dispatch level (report
// completion, DPC): non-paged.
#include "beep.h"

namespace {

extern "C" void NTAPI EndBeep(PKDPC, PVOID, PVOID, PVOID) { HalMakeBeep(0); }

}  // namespace

void InitializeBeep() {
    KeInitializeTimer(&g_Driver.BeepTimer);
    KeInitializeDpc(&g_Driver.BeepDpc, EndBeep, nullptr);
}

void StopBeep() {
    KeCancelTimer(&g_Driver.BeepTimer);
    HalMakeBeep(0);
}

// A new beep restarts the tone with its full duration. The timer is
// cancelled before it is set again: the same effect as setting it, and
// under Wine's kernel, setting a timer whose expiry is still being handled
// waits for that handling while blocking it.
void StartBeepNow(uint32_t frequencyHz, uint32_t durationMs) {
    HalMakeBeep(frequencyHz);
    LARGE_INTEGER due;
    due.QuadPart = -static_cast<LONGLONG>(durationMs) * 10000;
    KeCancelTimer(&g_Driver.BeepTimer);
    KeSetTimer(&g_Driver.BeepTimer, due, &g_Driver.BeepDpc);
}
