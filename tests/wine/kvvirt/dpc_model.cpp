// The filter's timer with Windows' timing. Wine runs a timer's DPC in a
// pool thread and its KeCancelTimer waits for that DPC to finish, which
// hides the case an unloading driver must handle on Windows: the timer has
// expired and its DPC is queued, or running, when the timer is cancelled.
// Here the harness's own timer stands for the filter's (it has one); its
// expiry plays the system's DPC queue, optionally holding the filter's DPC
// queued or running for a while, and counts a DPC that would still run in
// an unloaded image.
#include "harness.h"

namespace {

enum DpcPhase : LONG {
    kIdle = KVVIRT_DPC_IDLE,
    kQueued = KVVIRT_DPC_QUEUED,
    kRemoved = KVVIRT_DPC_REMOVED,
    kRunning = KVVIRT_DPC_RUNNING
};

struct TimerModel {
    KTIMER Timer;
    KDPC Expiry;
    PKDPC FilterDpc;  // the filter's DPC object the timer was last set with
    volatile LONG Phase;
    volatile bool Flushing;  // the filter waits in KeFlushQueuedDpcs
    HANDLE Runner;  // the thread inside the filter's DPC routine
    KvVirtDpcModel Model;
};
TimerModel g_Model;

void Pause(ULONG milliseconds) {
    LARGE_INTEGER interval;
    interval.QuadPart = -static_cast<LONGLONG>(milliseconds) * 10000;
    KeDelayExecutionThread(KernelMode, FALSE, &interval);
}

// An unload under way that is not waiting for our DPC will not wait: the
// DPC learns its fate only once that unload has returned. Bounded, as an
// unload that waits some other way cannot be told apart.
void LetTheUnloadFinish() {
    for (ULONG waited = 0; g_Harness.TargetUnloading && !g_Model.Flushing && waited < 1000; ++waited) Pause(1);
}

// The system's DPC queue: the filter's DPC is queued now and runs after
// the hold, unless it was taken out of the queue meanwhile.
extern "C" void NTAPI Expired(PKDPC, PVOID, PVOID, PVOID) {
    InterlockedExchange(&g_Model.Phase, kQueued);
    if (g_Model.Model.QueuedHoldMs) Pause(g_Model.Model.QueuedHoldMs);
    LetTheUnloadFinish();
    if (g_Harness.TargetGone) {
        // Running it now would run code that is no longer there.
        BreakRule(KVVIRT_RULE_NO_LATE_DPC);
    } else if (InterlockedCompareExchange(&g_Model.Phase, kRunning, kQueued) == kQueued) {
        g_Model.Runner = PsGetCurrentThreadId();
        PKDPC dpc = g_Model.FilterDpc;
        dpc->DeferredRoutine(dpc, dpc->DeferredContext, nullptr, nullptr);
        g_Model.Runner = nullptr;
    }
    InterlockedExchange(&g_Model.Phase, kIdle);
}

extern "C" VOID NTAPI ModelFlushQueuedDpcs() {
    g_Model.Flushing = true;
    for (ULONG waited = 0; g_Model.Phase != kIdle && waited < 5000; ++waited) Pause(1);
    g_Model.Flushing = false;
}

}  // namespace

void InitializeDpcModel() {
    KeInitializeTimer(&g_Model.Timer);
    KeInitializeDpc(&g_Model.Expiry, Expired, nullptr);
}

void SetDpcModel(const KvVirtDpcModel& model) { g_Model.Model = model; }

ULONG DpcPhase() { return static_cast<ULONG>(g_Model.Phase); }

// A DPC still held tells its fate (run, or late) when its hold ends; the
// accounting waits for that. Bounded: a late DPC that was running stays.
void WaitForIdleDpc() {
    for (ULONG waited = 0; g_Model.Phase != kIdle && waited < 2000; ++waited) Pause(1);
}

// Wine's KeSetTimer on a timer whose expiry is still being handled waits
// for that handling while holding the lock the handling needs: the caller
// and the expiry then wait for each other for good. So an expiry under way
// finishes, and Wine's timer is cancelled, before the timer is set again.
// (Windows sets it at once; only when the new setting starts differs.)
extern "C" BOOLEAN NTAPI ModelSetTimer(PKTIMER, LARGE_INTEGER due, PKDPC dpc) {
    WaitForIdleDpc();
    KeCancelTimer(&g_Model.Timer);
    g_Model.FilterDpc = dpc;
    return KeSetTimer(&g_Model.Timer, due, &g_Model.Expiry);
}

// As on Windows: an expired timer is no longer set, whatever its DPC does.
extern "C" BOOLEAN NTAPI ModelCancelTimer(PKTIMER) {
    if (g_Model.Phase != kIdle) return FALSE;
    return KeCancelTimer(&g_Model.Timer);
}

extern "C" BOOLEAN NTAPI ModelRemoveQueueDpc(PKDPC dpc) {
    if (dpc != g_Model.FilterDpc) return FALSE;
    return InterlockedCompareExchange(&g_Model.Phase, kRemoved, kQueued) == kQueued;
}

// Windows 2000 has neither KeFlushQueuedDpcs nor IoSetCompletionRoutineEx.
extern "C" PVOID NTAPI ModelGetSystemRoutineAddress(PUNICODE_STRING name) {
    const bool flush = KvNames(name, L"KeFlushQueuedDpcs");
    const bool safeCompletion = KvNames(name, L"IoSetCompletionRoutineEx");
    if (g_Model.Model.Windows2000 && (flush || safeCompletion)) return nullptr;
    if (flush) return reinterpret_cast<PVOID>(&ModelFlushQueuedDpcs);
    if (safeCompletion) return reinterpret_cast<PVOID>(&KvSetCompletionRoutineEx);
    return MmGetSystemRoutineAddress(name);
}

// Called by the speaker recorder when a tone ends: inside the filter's DPC
// the call takes the model's running hold (shorter than the filter's own
// bounded wait for it). An unload that returned meanwhile did not wait for
// this DPC; returning into the filter would run
// code that is gone, so this thread stays here for good.
void HoldEndingDpc() {
    if (g_Model.Runner != PsGetCurrentThreadId() || !g_Model.Model.RunningHoldMs) return;
    Pause(g_Model.Model.RunningHoldMs);
    if (!g_Harness.TargetGone) return;
    BreakRule(KVVIRT_RULE_NO_LATE_DPC);
    for (;;) Pause(1000);
}
