// Requests through the filter: Plug and Play (with removal), power, and
// everything else passed on, each counted in while it is inside.
#include "kvfilt.h"

namespace {

// New requests are refused from here on. The removal goes down first: the
// class driver below completes the reads it holds, and their completions
// (ours) count them out. Then the filter waits for every request still
// inside it.
KV_PAGED NTSTATUS RemoveDevice(KvFiltExtension* ext, PIRP irp) {
    InterlockedExchange(&ext->Removing, 1);
    IoSkipCurrentIrpStackLocation(irp);
    const NTSTATUS status = IoCallDriver(ext->Lower, irp);
    LeaveRequest(&ext->Requests);  // the removal itself
    WaitForRequests(&ext->Requests);
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

bool KvFiltEnter(KvFiltExtension* ext, PIRP irp) {
    EnterRequest(&ext->Requests);
    if (!ext->Removing) return true;
    LeaveRequest(&ext->Requests);
    KvFiltComplete(irp, STATUS_DELETE_PENDING);
    return false;
}

NTSTATUS KvFiltSkipDown(KvFiltExtension* ext, PIRP irp) {
    IoSkipCurrentIrpStackLocation(irp);
    const NTSTATUS status = IoCallDriver(ext->Lower, irp);
    LeaveRequest(&ext->Requests);
    return status;
}

extern "C" KV_PAGED NTSTATUS NTAPI KvFiltDispatchPnp(PDEVICE_OBJECT device, PIRP irp) {
    KvFiltExtension* ext = KvFiltOf(device);
    if (!KvFiltEnter(ext, irp)) return STATUS_DELETE_PENDING;
    switch (IoGetCurrentIrpStackLocation(irp)->MinorFunction) {
        case IRP_MN_REMOVE_DEVICE: return RemoveDevice(ext, irp);
        case IRP_MN_START_DEVICE:
            // The placement is decided as the node starts, so that no mouse
            // read waits on the registry; a change holds from the next start.
            if (ext->IsTouchScreen) {
                InterlockedExchange(&ext->VirtualDesktop, KvFiltPlacementNeedsVirtualDesktop() ? 1 : 0);
            }
            return KvFiltSkipDown(ext, irp);
        default: return KvFiltSkipDown(ext, irp);
    }
}

// Power requests are not paged: the filter may sit on a stack that powers
// down with its paging file.
extern "C" NTSTATUS NTAPI KvFiltDispatchPower(PDEVICE_OBJECT device, PIRP irp) {
    KvFiltExtension* ext = KvFiltOf(device);
    PoStartNextPowerIrp(irp);
    if (!KvFiltEnter(ext, irp)) return STATUS_DELETE_PENDING;
    IoSkipCurrentIrpStackLocation(irp);
    const NTSTATUS status = PoCallDriver(ext->Lower, irp);
    LeaveRequest(&ext->Requests);
    return status;
}

extern "C" NTSTATUS NTAPI KvFiltDispatchPassThrough(PDEVICE_OBJECT device, PIRP irp) {
    KvFiltExtension* ext = KvFiltOf(device);
    if (!KvFiltEnter(ext, irp)) return STATUS_DELETE_PENDING;
    return KvFiltSkipDown(ext, irp);
}
