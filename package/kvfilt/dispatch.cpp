// Requests through the filter: Plug and Play (with start, surprise removal
// and removal), power, and everything else passed on under the remove lock.
#include "kvfilt.h"

namespace {

extern "C" NTSTATUS NTAPI SignalStarted(PDEVICE_OBJECT, PIRP, PVOID event) {
    KeSetEvent(static_cast<PKEVENT>(event), IO_NO_INCREMENT, FALSE);
    return STATUS_MORE_PROCESSING_REQUIRED;
}

// Start goes to the device below first; the filter looks at its settings
// once the stack has started.
KV_PAGED NTSTATUS StartDevice(KvFiltExtension* ext, PIRP irp) {
    KEVENT started;
    KeInitializeEvent(&started, NotificationEvent, FALSE);
    IoCopyCurrentIrpStackLocationToNext(irp);
    IoSetCompletionRoutine(irp, SignalStarted, &started, TRUE, TRUE, TRUE);
    if (IoCallDriver(ext->Lower, irp) == STATUS_PENDING) {
        KeWaitForSingleObject(&started, Executive, KernelMode, FALSE, nullptr);
    }
    const NTSTATUS status = irp->IoStatus.Status;
    if (NT_SUCCESS(status) && ext->IsTouchScreen) {
        InterlockedExchange(&ext->VirtualDesktop, KvFiltPlacementNeedsVirtualDesktop() ? 1 : 0);
    }
    IoCompleteRequest(irp, IO_NO_INCREMENT);
    IoReleaseRemoveLock(&ext->RemoveLock, irp);
    return status;
}

KV_PAGED NTSTATUS RemoveDevice(KvFiltExtension* ext, PIRP irp) {
    // Every request still inside the filter leaves it before the removal
    // goes down; later ones fail at the lock.
    IoReleaseRemoveLockAndWait(&ext->RemoveLock, irp);
    IoSkipCurrentIrpStackLocation(irp);
    const NTSTATUS status = IoCallDriver(ext->Lower, irp);
    IoDetachDevice(ext->Lower);
    IoDeleteDevice(ext->Self);
    return status;
}

}  // namespace

NTSTATUS KvFiltComplete(PIRP irp, NTSTATUS status) {
    irp->IoStatus.Status = status;
    irp->IoStatus.Information = 0;
    IoCompleteRequest(irp, IO_NO_INCREMENT);
    return status;
}

NTSTATUS KvFiltSkipDown(KvFiltExtension* ext, PIRP irp) {
    IoSkipCurrentIrpStackLocation(irp);
    const NTSTATUS status = IoCallDriver(ext->Lower, irp);
    IoReleaseRemoveLock(&ext->RemoveLock, irp);
    return status;
}

extern "C" KV_PAGED NTSTATUS NTAPI KvFiltDispatchPnp(PDEVICE_OBJECT device, PIRP irp) {
    KvFiltExtension* ext = KvFiltOf(device);
    const NTSTATUS locked = IoAcquireRemoveLock(&ext->RemoveLock, irp);
    if (!NT_SUCCESS(locked)) return KvFiltComplete(irp, locked);
    switch (IoGetCurrentIrpStackLocation(irp)->MinorFunction) {
        case IRP_MN_START_DEVICE: return StartDevice(ext, irp);
        case IRP_MN_REMOVE_DEVICE: return RemoveDevice(ext, irp);
        default: return KvFiltSkipDown(ext, irp);
    }
}

// Power requests are not paged: the filter may sit on a stack that powers
// down with its paging file.
extern "C" NTSTATUS NTAPI KvFiltDispatchPower(PDEVICE_OBJECT device, PIRP irp) {
    KvFiltExtension* ext = KvFiltOf(device);
    PoStartNextPowerIrp(irp);
    const NTSTATUS locked = IoAcquireRemoveLock(&ext->RemoveLock, irp);
    if (!NT_SUCCESS(locked)) return KvFiltComplete(irp, locked);
    IoSkipCurrentIrpStackLocation(irp);
    const NTSTATUS status = PoCallDriver(ext->Lower, irp);
    IoReleaseRemoveLock(&ext->RemoveLock, irp);
    return status;
}

extern "C" NTSTATUS NTAPI KvFiltDispatchPassThrough(PDEVICE_OBJECT device, PIRP irp) {
    KvFiltExtension* ext = KvFiltOf(device);
    const NTSTATUS locked = IoAcquireRemoveLock(&ext->RemoveLock, irp);
    if (!NT_SUCCESS(locked)) return KvFiltComplete(irp, locked);
    return KvFiltSkipDown(ext, irp);
}

extern "C" NTSTATUS NTAPI KvFiltDispatchInternalControl(PDEVICE_OBJECT device, PIRP irp) {
    KvFiltExtension* ext = KvFiltOf(device);
    const NTSTATUS locked = IoAcquireRemoveLock(&ext->RemoveLock, irp);
    if (!NT_SUCCESS(locked)) return KvFiltComplete(irp, locked);
    if (!ext->IsTouchScreen) return KvFiltSkipDown(ext, irp);
    return KvFiltInternalControl(ext, irp);
}
