// Plug and Play of the filter device: start, stop, surprise removal and
// removal with the wait for outstanding work.
#include "pnp.h"

#include "class_request.h"
#include "unload_safe_completion.h"

namespace {

extern "C" NTSTATUS NTAPI SignalWhenDone(PDEVICE_OBJECT, PIRP, PVOID context) {
    KeSetEvent(static_cast<PKEVENT>(context), IO_NO_INCREMENT, FALSE);
    return STATUS_MORE_PROCESSING_REQUIRED;
}

// The drivers below start the device; the filter notes how it went.
KV_PAGED NTSTATUS StartDevice(FilterExtension* ext, PIRP irp) {
    ext->PnpState = kPnpStarting;
    IoCopyCurrentIrpStackLocationToNext(irp);
    const NTSTATUS status = ForwardAndWait(ext, irp);
    ext->PnpState = NT_SUCCESS(status) ? kPnpStarted : kPnpStartFailed;
    return CompleteRequest(irp, status, irp->IoStatus.Information);
}

// Never failed: the stack above has already stopped, and Windows treats a
// failed stop as fatal.
KV_PAGED NTSTATUS StopDevice(FilterExtension* ext, PIRP irp) {
    if (ext->PnpState == kPnpStarted) ext->PnpState = kPnpStopped;
    return PassDown(ext, irp);
}

// The control device refuses from here on: requests to the controller once
// it is going (those still at the controller are cancelled: one that never
// answers would hold its caller for ever), everything once it is removed.
KV_PAGED void MarkControlDevice(FilterExtension* ext, ULONG state) {
    if (!ext->ControlDevice) return;
    FilterExtension* control = ExtensionOf(ext->ControlDevice);
    control->PnpState = state;
    CloseClassRequests(&control->ClassRequests);
}

// Nothing of ours may reach the controller once the removal has gone down
// to it: the requests inside the filter and the control device finish
// first.
KV_PAGED NTSTATUS RemoveDevice(FilterExtension* ext, PIRP irp) {
    if (ext->PnpState == kPnpRemoved) return PassDown(ext, irp);
    ext->PnpState = kPnpRemoved;
    MarkControlDevice(ext, kPnpRemoved);
    WaitForRequests(&ext->Requests);
    if (ext->ControlDevice) WaitForRequests(&ExtensionOf(ext->ControlDevice)->Requests);
    irp->IoStatus.Status = STATUS_SUCCESS;
    const NTSTATUS status = PassDown(ext, irp);
    DeleteDevices(ext);
    return status;
}

KV_PAGED NTSTATUS SucceedAndPassDown(FilterExtension* ext, PIRP irp) {
    irp->IoStatus.Status = STATUS_SUCCESS;
    return PassDown(ext, irp);
}

}  // namespace

KV_PAGED NTSTATUS ForwardAndWait(FilterExtension* ext, PIRP irp) {
    KEVENT done;
    KeInitializeEvent(&done, NotificationEvent, FALSE);
    EnterRequest(&ext->Requests);
    SetUnloadSafeCompletion(ext->FilterDevice, irp, SignalWhenDone, &done);
    if (IoCallDriver(ext->LowerDevice, irp) == STATUS_PENDING) {
        KeWaitForSingleObject(&done, Executive, KernelMode, FALSE, nullptr);
    }
    LeaveRequest(&ext->Requests);
    return irp->IoStatus.Status;
}

KV_PAGED void DeleteDevices(FilterExtension* ext) {
    if (ext->LinkName.Buffer) {
        IoDeleteSymbolicLink(&ext->LinkName);
        ext->LinkName.Buffer = nullptr;
        ext->LinkName.Length = ext->LinkName.MaximumLength = 0;
    }
    if (ext->LowerDevice) IoDetachDevice(ext->LowerDevice);
    PDEVICE_OBJECT control = ext->ControlDevice;
    PDEVICE_OBJECT physical = ext->PhysicalDevice;
    IoDeleteDevice(ext->FilterDevice);
    if (!control) return;
    IoDeleteDevice(control);
    ObDereferenceObject(physical);  // taken at AddDevice for the control device's requests
}

namespace {

KV_PAGED NTSTATUS HandlePnp(FilterExtension* ext, PIRP irp) {
    switch (IoGetCurrentIrpStackLocation(irp)->MinorFunction) {
        case IRP_MN_START_DEVICE: return StartDevice(ext, irp);
        case IRP_MN_QUERY_REMOVE_DEVICE:
        case IRP_MN_QUERY_STOP_DEVICE: return SucceedAndPassDown(ext, irp);
        case IRP_MN_STOP_DEVICE: return StopDevice(ext, irp);
        case IRP_MN_SURPRISE_REMOVAL:
            ext->PnpState = kPnpSurpriseRemoved;
            MarkControlDevice(ext, kPnpSurpriseRemoved);
            return SucceedAndPassDown(ext, irp);
        case IRP_MN_REMOVE_DEVICE: return RemoveDevice(ext, irp);
        default: return PassDown(ext, irp);
    }
}

}  // namespace

// Counted like the requests of the generic dispatch, but for the removal,
// which waits for the count; paged, as Plug and Play runs at passive level.
// The control device is no Plug and Play device: a request that reaches it
// keeps the status it came with.
extern "C" KV_PAGED NTSTATUS NTAPI KvDispatchPnp(PDEVICE_OBJECT device, PIRP irp) {
    FilterExtension* ext = ExtensionOf(device);
    if (!ext->IsFilter) return CompleteRequest(irp, irp->IoStatus.Status, irp->IoStatus.Information);
    const bool counted = IoGetCurrentIrpStackLocation(irp)->MinorFunction != IRP_MN_REMOVE_DEVICE;
    if (counted) EnterRequest(&ext->Requests);
    const NTSTATUS status = HandlePnp(ext, irp);
    if (counted) LeaveRequest(&ext->Requests);
    return status;
}
