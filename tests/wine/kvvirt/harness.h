// The virtual touch controller: the state shared by its pieces. Test code,
// loaded only into Wine test prefixes.
#pragma once
#include "kernel_headers.h"
#include "import_patch.h"
#include "kvvirt_protocol.h"

extern "C" NTSYSAPI HANDLE NTAPI PsGetCurrentThreadId(void);

constexpr ULONG kPdoMagic = KvFourCc('V', 'P', 'd', 'o');
constexpr ULONG kBelowMagic = KvFourCc('V', 'B', 'l', 'w');
constexpr ULONG kControlMagic = KvFourCc('V', 'C', 't', 'l');

struct VirtualExtension {
    ULONG Magic;
    ULONG Controller;
};

// One virtual controller: its physical device, another lower filter on it
// (as a USB stack may have below ours), and the report it hands up to the
// next interrupt transfer.
struct VirtualController {
    PDEVICE_OBJECT Pdo;
    PDEVICE_OBJECT Below;
    bool Removed;  // the removal reached the device: nothing may arrive after it
    volatile LONG PowerArrived;  // power and WMI requests that reached the device
    UCHAR Report[KVVIRT_MAX_REPORT];
    ULONG ReportLength;
    ULONG Mode;
    PIRP Deferred;  // a transfer returned pending, completed by the timer
    volatile bool Silent;  // holds class requests unanswered until they are cancelled
    PVOID volatile Held;   // the class request it holds
    KTIMER Timer;
    KDPC Dpc;
};

template <typename Record>
struct RecordLog {
    Record Items[KVVIRT_MAX_RECORDS];
    ULONG Count;
};

struct Harness {
    PDRIVER_OBJECT Self;
    PDRIVER_OBJECT Target;  // kvusb's driver object once loaded
    volatile bool TargetUnloading;  // its unload is under way
    volatile bool TargetGone;       // its unload has returned
    bool UnloadPending;             // its last controller is removed: it goes once its devices have
    VirtualController Controllers[KVVIRT_MAX_CONTROLLERS];
    KSPIN_LOCK LogLock;
    RecordLog<KvVirtBeep> Beeps;
    LARGE_INTEGER BeepStarted;
    bool BeepOpen;
    bool ImportsPatched;
    KvVirtAccounting Counts;  // under LogLock
    RecordLog<KvVirtClassRequest> Requests;
    RecordLog<KvVirtStackEvent> StackEvents;
};
extern Harness g_Harness;

// Appends under the log lock; a full log drops the newest.
template <typename Record>
void Append(RecordLog<Record>& log, const Record& record) {
    KIRQL irql;
    KeAcquireSpinLock(&g_Harness.LogLock, &irql);
    if (log.Count < KVVIRT_MAX_RECORDS) log.Items[log.Count++] = record;
    KeReleaseSpinLock(&g_Harness.LogLock, irql);
}

// Counts a breach of one of the rules (kvvirt_protocol.h).
inline void BreakRule(KvVirtRule rule, uint32_t times = 1) {
    KIRQL irql;
    KeAcquireSpinLock(&g_Harness.LogLock, &irql);
    g_Harness.Counts.Broken[rule] += times;
    KeReleaseSpinLock(&g_Harness.LogLock, irql);
}

// Counts a power or WMI request sent into a stack.
inline void CountPowerSent() {
    KIRQL irql;
    KeAcquireSpinLock(&g_Harness.LogLock, &irql);
    g_Harness.Counts.PowerSent += 1;
    KeReleaseSpinLock(&g_Harness.LogLock, irql);
}

// Copies the records that fit into `out` and clears the log; returns bytes.
template <typename Record>
ULONG Take(RecordLog<Record>& log, void* out, ULONG outLength) {
    KIRQL irql;
    KeAcquireSpinLock(&g_Harness.LogLock, &irql);
    ULONG count = log.Count;
    if (count > outLength / sizeof(Record)) count = outLength / sizeof(Record);
    RtlCopyMemory(out, log.Items, count * sizeof(Record));
    log.Count = 0;
    KeReleaseSpinLock(&g_Harness.LogLock, irql);
    return count * sizeof(Record);
}

// import_patch.cpp: points a loaded kvusb.sys's imports at the harness.
NTSTATUS InstallImportPatches();

// The stand-ins the imports go to. beep_recorder.cpp:
extern "C" BOOLEAN NTAPI RecordBeep(ULONG frequency);
// pool_ledger.cpp:
extern "C" PVOID NTAPI LedgerAllocate(POOL_TYPE type, SIZE_T bytes, ULONG tag);
extern "C" VOID NTAPI LedgerFree(PVOID address, ULONG tag);
void FailAllocation(ULONG nth);
// dpc_model.cpp:
extern "C" BOOLEAN NTAPI ModelSetTimer(PKTIMER timer, LARGE_INTEGER due, PKDPC dpc);
extern "C" BOOLEAN NTAPI ModelCancelTimer(PKTIMER timer);
extern "C" BOOLEAN NTAPI ModelRemoveQueueDpc(PKDPC dpc);
extern "C" PVOID NTAPI ModelGetSystemRoutineAddress(PUNICODE_STRING name);
void InitializeDpcModel();  // once, at entry
void SetDpcModel(const KvVirtDpcModel& model);
void WaitForIdleDpc();
ULONG DpcPhase();  // KVVIRT_DPC_*
void HoldEndingDpc();

// virtual_device.cpp: the physical devices and their dispatch.
void InitializeVirtualControllers();  // once, at entry
NTSTATUS CreateVirtualDevice(ULONG controller);
NTSTATUS DispatchVirtualDevice(PDEVICE_OBJECT device, PIRP irp);
NTSTATUS DispatchBelow(PDEVICE_OBJECT device, PIRP irp);
void DeleteVirtualDevice(ULONG controller);

// control_probe.cpp: the filter's control device asked directly.
NTSTATUS ReadControlDacl(void* out, ULONG outLength, ULONG* written);
NTSTATUS OpenControlBelow(wchar_t* path, ULONG bytes);

// stack_driver.cpp: loading the filter and sending requests down its stack.
NTSTATUS LoadTarget();
NTSTATUS UnloadTarget();         // every controller removed, then the unload, whatever is still open
NTSTATUS UnloadLoadedTarget();   // the unload alone
NTSTATUS AddController(ULONG* index);
NTSTATUS SendPnp(ULONG controller, ULONG request);
NTSTATUS PushReport(const KvVirtReportHeader& header, const UCHAR* bytes, UCHAR* out, ULONG* outLength);

// device_lifetime.cpp: the filter's devices and the filter itself go as on
// Windows, once nothing is open on them.
void InitializeDeviceLifetime();  // once, at entry
void WatchTargetFiles(PDRIVER_OBJECT target);  // after each load
extern "C" VOID NTAPI ModelDeleteDevice(PDEVICE_OBJECT device);
void SettleTarget();        // deletions now due, and the unload once nothing is left
bool PriorInstanceStays();  // removed, but something of it is still open
void ReleaseHeldDevices();  // for an unload the harness is told to do
