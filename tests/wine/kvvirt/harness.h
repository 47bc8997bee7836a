// The virtual touch controller: the state shared by its pieces. Test code,
// loaded only into Wine test prefixes.
#pragma once
#include "kernel_headers.h"

extern "C" {
#include <ddk/ntimage.h>
}

#include "kvvirt_protocol.h"

extern "C" {
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
NTSYSAPI NTSTATUS NTAPI PsRemoveLoadImageNotifyRoutine(KvLoadImageNotify routine);
NTSYSAPI NTSTATUS NTAPI ObReferenceObjectByName(PUNICODE_STRING name, ULONG attributes, PACCESS_STATE access,
                                                ACCESS_MASK desired, POBJECT_TYPE type, KPROCESSOR_MODE mode,
                                                PVOID parse, PVOID* object);
}

constexpr ULONG kPdoMagic = KvFourCc('V', 'P', 'd', 'o');
constexpr ULONG kControlMagic = KvFourCc('V', 'C', 't', 'l');

struct VirtualExtension {
    ULONG Magic;
    ULONG Controller;
};

// One virtual controller: its physical device and the report it hands
// up to the next interrupt transfer.
struct VirtualController {
    PDEVICE_OBJECT Pdo;
    UCHAR Report[KVVIRT_MAX_REPORT];
    ULONG ReportLength;
    ULONG Mode;
    PIRP Deferred;  // a transfer returned pending, completed by the timer
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
    VirtualController Controllers[KVVIRT_MAX_CONTROLLERS];
    KSPIN_LOCK LogLock;
    RecordLog<KvVirtBeep> Beeps;
    LARGE_INTEGER BeepStarted;
    bool BeepOpen;
    bool BeepPatched;
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

// beep_recorder.cpp: redirects a loaded kvusb.sys's HalMakeBeep.
NTSTATUS InstallBeepRecorder();
void RemoveBeepRecorder();

// virtual_device.cpp: the physical devices and their dispatch.
void InitializeVirtualControllers();  // once, at entry
NTSTATUS CreateVirtualDevice(ULONG controller);
NTSTATUS DispatchVirtualDevice(PDEVICE_OBJECT device, PIRP irp);

// stack_driver.cpp: loading the filter and sending requests down its stack.
NTSTATUS LoadTarget();
NTSTATUS UnloadTarget();
NTSTATUS AddController(ULONG* index);
NTSTATUS SendPnp(ULONG controller, ULONG request);
NTSTATUS PushReport(const KvVirtReportHeader& header, const UCHAR* bytes, UCHAR* out, ULONG* outLength);
