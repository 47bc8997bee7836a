// The filter's control device asked directly, for what Wine keeps from a
// client: the DACL its object holds, and how it answers an open of a path
// below its name.
#include "harness.h"

extern "C" {
NTSYSAPI NTSTATUS NTAPI ZwQuerySecurityObject(HANDLE, SECURITY_INFORMATION, PSECURITY_DESCRIPTOR, ULONG, PULONG);
NTKERNELAPI NTSTATUS NTAPI ObOpenObjectByPointer(PVOID, ULONG, PACCESS_STATE, ACCESS_MASK, POBJECT_TYPE,
                                                 KPROCESSOR_MODE, PHANDLE);
}

namespace {

// The filter's device that sits in no controller's stack.
PDEVICE_OBJECT FindControlDevice() {
    if (!g_Harness.Target) return nullptr;
    for (PDEVICE_OBJECT device = g_Harness.Target->DeviceObject; device; device = device->NextDevice) {
        bool filter = false;
        for (const VirtualController& controller : g_Harness.Controllers) {
            filter = filter || (controller.Below && controller.Below->AttachedDevice == device);
        }
        if (!filter) return device;
    }
    return nullptr;
}

extern "C" NTSTATUS NTAPI SignalOpened(PDEVICE_OBJECT, PIRP, PVOID context) {
    KeSetEvent(static_cast<PKEVENT>(context), IO_NO_INCREMENT, FALSE);
    return STATUS_MORE_PROCESSING_REQUIRED;
}

}  // namespace

NTSTATUS ReadControlDacl(void* out, ULONG outLength, ULONG* written) {
    PDEVICE_OBJECT control = FindControlDevice();
    if (!control) return STATUS_NO_SUCH_DEVICE;
    HANDLE handle = nullptr;
    NTSTATUS status = ObOpenObjectByPointer(control, OBJ_KERNEL_HANDLE, nullptr, READ_CONTROL, nullptr, KernelMode,
                                            &handle);
    if (NT_SUCCESS(status)) {
        status = ZwQuerySecurityObject(handle, DACL_SECURITY_INFORMATION, out, outLength, written);
        ZwClose(handle);
    }
    return status;
}

// One request of the I/O manager's for `file` on the control device.
NTSTATUS SendFileRequest(PDEVICE_OBJECT control, UCHAR major, PFILE_OBJECT file) {
    PIRP irp = IoAllocateIrp(control->StackSize, FALSE);
    if (!irp) return STATUS_INSUFFICIENT_RESOURCES;
    PIO_STACK_LOCATION next = IoGetNextIrpStackLocation(irp);
    next->MajorFunction = major;
    next->FileObject = file;
    irp->IoStatus.Status = STATUS_NOT_SUPPORTED;
    KEVENT done;
    KeInitializeEvent(&done, NotificationEvent, FALSE);
    IoSetCompletionRoutine(irp, SignalOpened, &done, TRUE, TRUE, TRUE);
    if (IoCallDriver(control, irp) == STATUS_PENDING) KeWaitForSingleObject(&done, Executive, KernelMode, FALSE, nullptr);
    const NTSTATUS status = irp->IoStatus.Status;
    IoFreeIrp(irp);
    return status;
}

// An open as the I/O manager sends it, with a file object naming `path`;
// one that succeeds is closed again as the I/O manager closes a file, so
// nothing of the probe stays open on the device.
NTSTATUS OpenControlBelow(wchar_t* path, ULONG bytes) {
    PDEVICE_OBJECT control = FindControlDevice();
    if (!control) return STATUS_NO_SUCH_DEVICE;
    FILE_OBJECT file;
    RtlZeroMemory(&file, sizeof file);
    file.Type = IO_TYPE_FILE;
    file.Size = sizeof file;
    file.DeviceObject = control;
    file.FileName.Buffer = path;
    file.FileName.Length = file.FileName.MaximumLength = static_cast<USHORT>(bytes);
    const NTSTATUS status = SendFileRequest(control, IRP_MJ_CREATE, &file);
    if (NT_SUCCESS(status)) {
        SendFileRequest(control, IRP_MJ_CLEANUP, &file);
        SendFileRequest(control, IRP_MJ_CLOSE, &file);
    }
    return status;
}
