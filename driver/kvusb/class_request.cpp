// A class-interface URB on an internal request to the physical device.
// Non-paged, as the control path calls it with the state lock dropped.
#include "class_request.h"

NTSTATUS SendClassRequest(PDEVICE_OBJECT physical, const kv::ClassRequest& request, uint32_t* transferred) {
    *transferred = 0;
    URB urb;
    RtlZeroMemory(&urb, sizeof urb);
    _URB_CONTROL_VENDOR_OR_CLASS_REQUEST& control = urb.UrbControlVendorClassRequest;
    control.Hdr.Function = URB_FUNCTION_CLASS_INTERFACE;
    control.Hdr.Length = sizeof control;
    control.TransferFlags = request.DeviceToHost ? USBD_TRANSFER_DIRECTION_IN : 0;
    control.TransferBufferLength = request.Length;
    control.TransferBuffer = request.Length ? request.Data : nullptr;
    control.Request = request.Request;
    control.Value = request.Value;
    control.Index = request.Index;

    KEVENT done;
    IO_STATUS_BLOCK io;
    KeInitializeEvent(&done, NotificationEvent, FALSE);
    PIRP irp = IoBuildDeviceIoControlRequest(IOCTL_INTERNAL_USB_SUBMIT_URB, physical, nullptr, 0, nullptr, 0,
                                             TRUE, &done, &io);
    if (!irp) return STATUS_INSUFFICIENT_RESOURCES;
    IoGetNextIrpStackLocation(irp)->Parameters.Others.Argument1 = &urb;
    NTSTATUS status = IoCallDriver(physical, irp);
    if (status == STATUS_PENDING) {
        KeWaitForSingleObject(&done, Executive, KernelMode, FALSE, nullptr);
        status = io.Status;
    }
    if (NT_SUCCESS(status)) *transferred = control.TransferBufferLength;
    return status;
}
