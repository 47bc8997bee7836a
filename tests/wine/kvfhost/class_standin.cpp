// The mouse class driver on a node: as mouclass does, it connects to the
// HID mouse driver below when the node starts, queues the packets reported
// to it, answers the input thread's reads with them (buffered, whole
// MOUSE_INPUT_DATA records), and completes a pending read when the node
// goes.
#include "kvfhost.h"

namespace {

ClassExtension* ClassOf(PDEVICE_OBJECT device) { return static_cast<ClassExtension*>(device->DeviceExtension); }

NTSTATUS Complete(PIRP irp, NTSTATUS status, ULONG_PTR information) {
    irp->IoStatus.Status = status;
    irp->IoStatus.Information = information;
    IoCompleteRequest(irp, IO_NO_INCREMENT);
    return status;
}

// With the lock held: hands the pending read as many queued packets as fit.
PIRP TakeAnsweredRead(ClassExtension* ext, ULONG_PTR* bytes) {
    PIRP irp = ext->PendingRead;
    if (!irp || ext->Queued == 0) return nullptr;
    const ULONG room = IoGetCurrentIrpStackLocation(irp)->Parameters.Read.Length / sizeof(MOUSE_INPUT_DATA);
    const ULONG count = ext->Queued < room ? ext->Queued : room;
    RtlCopyMemory(irp->AssociatedIrp.SystemBuffer, ext->Queue, count * sizeof(MOUSE_INPUT_DATA));
    RtlMoveMemory(ext->Queue, ext->Queue + count, (ext->Queued - count) * sizeof(MOUSE_INPUT_DATA));
    ext->Queued -= count;
    ext->PendingRead = nullptr;
    *bytes = count * sizeof(MOUSE_INPUT_DATA);
    return irp;
}

void AnswerPendingRead(ClassExtension* ext) {
    KIRQL irql;
    ULONG_PTR bytes = 0;
    KeAcquireSpinLock(&ext->Lock, &irql);
    PIRP irp = TakeAnsweredRead(ext, &bytes);
    KeReleaseSpinLock(&ext->Lock, irql);
    if (irp) Complete(irp, STATUS_SUCCESS, bytes);
}

// The class service callback the HID mouse driver calls at dispatch level.
extern "C" void NTAPI ServicePackets(PDEVICE_OBJECT device, PMOUSE_INPUT_DATA start, PMOUSE_INPUT_DATA end,
                                     PULONG consumed) {
    ClassExtension* ext = ClassOf(device);
    KIRQL irql;
    KeAcquireSpinLock(&ext->Lock, &irql);
    ULONG taken = 0;
    for (PMOUSE_INPUT_DATA packet = start; packet < end && ext->Queued < KVFHOST_MAX_PACKETS; ++packet, ++taken) {
        ext->Queue[ext->Queued++] = *packet;
    }
    KeReleaseSpinLock(&ext->Lock, irql);
    *consumed = taken;
    AnswerPendingRead(ext);
}

NTSTATUS Read(ClassExtension* ext, PIRP irp) {
    if (IoGetCurrentIrpStackLocation(irp)->Parameters.Read.Length < sizeof(MOUSE_INPUT_DATA)) {
        return Complete(irp, STATUS_BUFFER_TOO_SMALL, 0);
    }
    if (ext->Gone) return Complete(irp, STATUS_DELETE_PENDING, 0);
    KIRQL irql;
    KeAcquireSpinLock(&ext->Lock, &irql);
    const bool busy = ext->PendingRead != nullptr;
    if (!busy) {
        IoMarkIrpPending(irp);
        ext->PendingRead = irp;
    }
    KeReleaseSpinLock(&ext->Lock, irql);
    if (busy) return Complete(irp, STATUS_UNSUCCESSFUL, 0);
    AnswerPendingRead(ext);
    return STATUS_PENDING;
}

void FailPendingRead(ClassExtension* ext) {
    KIRQL irql;
    KeAcquireSpinLock(&ext->Lock, &irql);
    PIRP irp = ext->PendingRead;
    ext->PendingRead = nullptr;
    KeReleaseSpinLock(&ext->Lock, irql);
    if (irp) Complete(irp, STATUS_DELETE_PENDING, 0);
}

NTSTATUS PassDown(ClassExtension* ext, PIRP irp) {
    IoSkipCurrentIrpStackLocation(irp);
    return IoCallDriver(ext->Lower, irp);
}

// The class's connection, sent down as the node first starts.
NTSTATUS ConnectDown(ClassExtension* ext) {
    if (ext->Connected) return STATUS_SUCCESS;
    KvfConnect connect = {ext->Self, reinterpret_cast<PVOID>(ServicePackets)};
    KEVENT done;
    IO_STATUS_BLOCK io;
    KeInitializeEvent(&done, NotificationEvent, FALSE);
    PIRP irp = IoBuildDeviceIoControlRequest(KVF_MOUSE_CONNECT, ext->Lower, &connect, sizeof connect, nullptr, 0, TRUE,
                                             &done, &io);
    if (!irp) return STATUS_INSUFFICIENT_RESOURCES;
    NTSTATUS status = IoCallDriver(ext->Lower, irp);
    if (status == STATUS_PENDING) {
        KeWaitForSingleObject(&done, Executive, KernelMode, FALSE, nullptr);
        status = io.Status;
    }
    ext->Connected = NT_SUCCESS(status);
    return status;
}

NTSTATUS Pnp(ClassExtension* ext, PIRP irp) {
    switch (IoGetCurrentIrpStackLocation(irp)->MinorFunction) {
        case IRP_MN_START_DEVICE: {
            // The harness's devices below complete the start at once.
            const NTSTATUS status = PassDown(ext, irp);
            return NT_SUCCESS(status) ? ConnectDown(ext) : status;
        }
        case IRP_MN_SURPRISE_REMOVAL:
            ext->Gone = true;
            FailPendingRead(ext);
            return PassDown(ext, irp);
        case IRP_MN_REMOVE_DEVICE: {
            FailPendingRead(ext);
            const NTSTATUS status = PassDown(ext, irp);
            IoDetachDevice(ext->Lower);
            IoDeleteDevice(ext->Self);
            return status;
        }
        default: return PassDown(ext, irp);
    }
}

}  // namespace

NTSTATUS AddClassDevice(PDEVICE_OBJECT pdo) {
    PDEVICE_OBJECT device = nullptr;
    const NTSTATUS status =
        IoCreateDevice(g_Host.Self, sizeof(ClassExtension), nullptr, FILE_DEVICE_MOUSE, 0, FALSE, &device);
    if (!NT_SUCCESS(status)) return status;
    ClassExtension* ext = ClassOf(device);
    RtlZeroMemory(ext, sizeof *ext);
    ext->Header.Magic = kClassMagic;
    ext->Header.Node = static_cast<HostExtension*>(pdo->DeviceExtension)->Node;
    ext->Self = device;
    KeInitializeSpinLock(&ext->Lock);
    ext->Lower = IoAttachDeviceToDeviceStack(device, pdo);
    device->Flags |= DO_BUFFERED_IO;
    device->Flags &= ~DO_DEVICE_INITIALIZING;
    return STATUS_SUCCESS;
}

NTSTATUS DispatchClass(PDEVICE_OBJECT device, PIRP irp) {
    ClassExtension* ext = ClassOf(device);
    switch (IoGetCurrentIrpStackLocation(irp)->MajorFunction) {
        case IRP_MJ_READ: return Read(ext, irp);
        case IRP_MJ_PNP: return Pnp(ext, irp);
        case IRP_MJ_POWER:
            PoStartNextPowerIrp(irp);
            IoSkipCurrentIrpStackLocation(irp);
            return PoCallDriver(ext->Lower, irp);
        default: return PassDown(ext, irp);
    }
}
