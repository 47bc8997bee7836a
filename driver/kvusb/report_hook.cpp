// The hook on the controller's interrupt transfers: every completed report
// is rewritten in place on its way up. Runs at up to dispatch level.
#include "beep.h"
#include "report.h"

namespace {

PURB UrbOf(PIRP irp) {
    return static_cast<PURB>(IoGetCurrentIrpStackLocation(irp)->Parameters.Others.Argument1);
}

bool IsReportTransfer(PIRP irp) {
    const IO_STACK_LOCATION* stack = IoGetCurrentIrpStackLocation(irp);
    if (stack->Parameters.DeviceIoControl.IoControlCode != IOCTL_INTERNAL_USB_SUBMIT_URB) return false;
    const PURB urb = UrbOf(irp);
    return urb && urb->UrbHeader.Function == URB_FUNCTION_BULK_OR_INTERRUPT_TRANSFER;
}

// Only a successful transfer from the controller carries a report: a failed
// one's buffer holds whatever was there before, and an outgoing one holds
// data for the device. A transfer described only by a memory descriptor
// list is left alone.
bool CarriesReport(PIRP irp, PURB urb) {
    if (!urb || !NT_SUCCESS(irp->IoStatus.Status) || !USBD_SUCCESS(urb->UrbHeader.Status)) return false;
    const _URB_BULK_OR_INTERRUPT_TRANSFER& transfer = urb->UrbBulkOrInterruptTransfer;
    return (transfer.TransferFlags & USBD_TRANSFER_DIRECTION_IN) && transfer.TransferBuffer &&
           transfer.TransferBufferLength >= kv::kMinReportLength;
}

// Completions may overlap (the HID class keeps two reads in flight), so
// one report is processed at a time, under the state lock.
extern "C" NTSTATUS NTAPI ReportDone(PDEVICE_OBJECT, PIRP irp, PVOID) {
    if (irp->PendingReturned) IoMarkIrpPending(irp);
    const PURB urb = UrbOf(irp);
    if (CarriesReport(irp, urb)) {
        DeferredBeep beep;
        KIRQL irql;
        KeAcquireSpinLock(&g_Driver.StateLock, &irql);
        kv::ProcessReport(g_Driver.State, static_cast<uint8_t*>(urb->UrbBulkOrInterruptTransfer.TransferBuffer),
                          urb->UrbBulkOrInterruptTransfer.TransferBufferLength, beep);
        KeReleaseSpinLock(&g_Driver.StateLock, irql);
        beep.Flush();
    }
    return STATUS_SUCCESS;
}

}  // namespace

extern "C" NTSTATUS NTAPI KvDispatchInternalControl(PDEVICE_OBJECT device, PIRP irp) {
    FilterExtension* ext = ExtensionOf(device);
    if (!ext->IsFilter) return CompleteRequest(irp, STATUS_INVALID_DEVICE_REQUEST);
    if (!IsReportTransfer(irp)) return PassDown(ext, irp);
    IoCopyCurrentIrpStackLocationToNext(irp);
    // The plain registration keeps the report path free of allocation; the
    // completion lets no waiter go, and the minidriver above, whose transfer
    // this is, holds its removal until the transfer has come back past it.
    IoSetCompletionRoutine(irp, ReportDone, ext, TRUE, TRUE, TRUE);
    return IoCallDriver(ext->LowerDevice, irp);
}
