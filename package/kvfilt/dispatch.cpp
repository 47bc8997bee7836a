// Requests through the filter: Plug and Play (with removal), power, and
// everything else passed on under the remove lock.
#include "kvfilt.h"

namespace {

// The removal goes down first: the class driver below completes the reads
// it holds, and their completions (ours) let go of the lock. Then the
// filter waits for every request still inside it; later ones fail at the
// lock.
KV_PAGED NTSTATUS RemoveDevice(KvFiltExtension* ext, PIRP irp) {
    IoSkipCurrentIrpStackLocation(irp);
    const NTSTATUS status = IoCallDriver(ext->Lower, irp);
    IoReleaseRemoveLockAndWait(&ext->RemoveLock, irp);
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
