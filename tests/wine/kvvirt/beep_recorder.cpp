// Wine's HalMakeBeep faults when called, so the loaded filter's import of
// it goes to this recorder (import_patch.cpp).
#include "harness.h"

namespace {

LARGE_INTEGER Now() { return KeQueryPerformanceCounter(nullptr); }

ULONG MillisecondsSince(LARGE_INTEGER start) {
    LARGE_INTEGER frequency;
    const LARGE_INTEGER now = KeQueryPerformanceCounter(&frequency);
    if (frequency.QuadPart == 0) return 0;
    return static_cast<ULONG>((now.QuadPart - start.QuadPart) * 1000 / frequency.QuadPart);
}

}  // namespace

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
    if (frequency == 0) HoldEndingDpc();
    return TRUE;
}
