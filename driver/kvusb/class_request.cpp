// A class-interface URB on an internal request of our own to the physical
// device, listed while it is there so that the controller's going can
// cancel it. Non-paged, as the control path calls it with the state lock
// dropped and the gate takes a spin lock.
#include "class_request.h"

#include "unload_safe_completion.h"

namespace {

// On the sender's stack while its request is at the controller.
struct PendingClassRequest {
    LIST_ENTRY Link;
    PIRP Irp;
};

// The request stays ours: it is freed by its sender, after it has left the
// gate's list.
extern "C" NTSTATUS NTAPI ClassRequestDone(PDEVICE_OBJECT, PIRP, PVOID context) {
    KeSetEvent(static_cast<PKEVENT>(context), IO_NO_INCREMENT, FALSE);
    return STATUS_MORE_PROCESSING_REQUIRED;
}

// Lists the request, unless the gate is closed.
bool Admit(ClassRequestGate* gate, PendingClassRequest* pending) {
    KIRQL irql;
    KeAcquireSpinLock(&gate->Lock, &irql);
    const bool open = !gate->Closed;
    if (open) InsertTailList(&gate->Pending, &pending->Link);
    KeReleaseSpinLock(&gate->Lock, irql);
    return open;
}

void Dismiss(ClassRequestGate* gate, PendingClassRequest* pending) {
    KIRQL irql;
    KeAcquireSpinLock(&gate->Lock, &irql);
    RemoveEntryList(&pending->Link);
    KeReleaseSpinLock(&gate->Lock, irql);
}

void BuildUrb(const kv::ClassRequest& request, URB* urb) {
    RtlZeroMemory(urb, sizeof *urb);
    _URB_CONTROL_VENDOR_OR_CLASS_REQUEST& control = urb->UrbControlVendorClassRequest;
    control.Hdr.Function = URB_FUNCTION_CLASS_INTERFACE;
    control.Hdr.Length = sizeof control;
    control.TransferFlags = request.DeviceToHost ? USBD_TRANSFER_DIRECTION_IN : 0;
    control.TransferBufferLength = request.Length;
    control.TransferBuffer = request.Length ? request.Data : nullptr;
    control.Request = request.Request;
    control.Value = request.Value;
    control.Index = request.Index;
}

}  // namespace

void InitializeClassRequestGate(ClassRequestGate* gate) {
    KeInitializeSpinLock(&gate->Lock);
    InitializeListHead(&gate->Pending);
    gate->Closed = FALSE;
}

NTSTATUS SendClassRequest(FilterExtension* control, const kv::ClassRequest& request, uint32_t* transferred) {
    *transferred = 0;
    URB urb;
    BuildUrb(request, &urb);
    PDEVICE_OBJECT physical = control->PhysicalDevice;
    PIRP irp = IoAllocateIrp(physical->StackSize, FALSE);
    if (!irp) return STATUS_INSUFFICIENT_RESOURCES;
    PIO_STACK_LOCATION next = IoGetNextIrpStackLocation(irp);
    next->MajorFunction = IRP_MJ_INTERNAL_DEVICE_CONTROL;
    next->Parameters.DeviceIoControl.IoControlCode = IOCTL_INTERNAL_USB_SUBMIT_URB;
    next->Parameters.Others.Argument1 = &urb;
    irp->IoStatus.Status = STATUS_NOT_SUPPORTED;
    PendingClassRequest pending = {{nullptr, nullptr}, irp};
    NTSTATUS status = STATUS_DELETE_PENDING;
    if (Admit(&control->ClassRequests, &pending)) {
        KEVENT done;
        KeInitializeEvent(&done, NotificationEvent, FALSE);
        SetUnloadSafeCompletion(control->ControlDevice, irp, ClassRequestDone, &done);
        // The completion routine keeps the request ours (more processing
        // required), so it is read and freed here, once.
        IoCallDriver(physical, irp);
        KeWaitForSingleObject(&done, Executive, KernelMode, FALSE, nullptr);
        Dismiss(&control->ClassRequests, &pending);
        // cppcheck-suppress deallocuse ; IoCallDriver gave it back (above)
        status = irp->IoStatus.Status;
        if (NT_SUCCESS(status)) *transferred = urb.UrbControlVendorClassRequest.TransferBufferLength;
    }
    // cppcheck-suppress doubleFree ; IoCallDriver gave it back (above)
    IoFreeIrp(irp);
    return status;
}

void CloseClassRequests(ClassRequestGate* gate) {
    KIRQL irql;
    KeAcquireSpinLock(&gate->Lock, &irql);
    gate->Closed = TRUE;
    for (PLIST_ENTRY entry = gate->Pending.Flink; entry != &gate->Pending; entry = entry->Flink) {
        IoCancelIrp(CONTAINING_RECORD(entry, PendingClassRequest, Link)->Irp);
    }
    KeReleaseSpinLock(&gate->Lock, irql);
}
