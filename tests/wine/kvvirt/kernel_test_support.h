// What the test kernel drivers (kvvirt, kvfhost) share: sending a built
// request into a stack and waiting for it, and their named control device.
#pragma once
#include "kernel_headers.h"

// Every request a test driver sends into a stack, and how often the stack
// completed it: each exactly once.
struct KvIrpLedger {
    volatile LONG Sent;
    volatile LONG Completed;
    volatile LONG CompletedTwice;
};
inline KvIrpLedger g_KvIrps;

// The sender's completion routine: counts, and lets completion go on.
extern "C" inline NTSTATUS NTAPI KvCountCompletion(PDEVICE_OBJECT, PIRP, PVOID context) {
    if (InterlockedIncrement(static_cast<volatile LONG*>(context)) == 1) {
        InterlockedIncrement(&g_KvIrps.Completed);
    } else {
        InterlockedIncrement(&g_KvIrps.CompletedTwice);
    }
    return STATUS_SUCCESS;
}

// Calls the top of a stack with a request built with `done` and `io`, and
// waits for it if it pends.
inline NTSTATUS KvCallAndWait(PDEVICE_OBJECT top, PIRP irp, KEVENT* done, IO_STATUS_BLOCK* io, bool power) {
    volatile LONG completions = 0;
    IoSetCompletionRoutine(irp, KvCountCompletion, const_cast<LONG*>(&completions), TRUE, TRUE, TRUE);
    InterlockedIncrement(&g_KvIrps.Sent);
    NTSTATUS status = power ? PoCallDriver(top, irp) : IoCallDriver(top, irp);
    if (status == STATUS_PENDING) {
        KeWaitForSingleObject(done, Executive, KernelMode, FALSE, nullptr);
        status = io->Status;
    }
    return status;
}

// A buffered control device with a symbolic link; the first word of its
// extension is `magic`, set before the link makes it reachable.
inline NTSTATUS KvCreateControlDevice(PDRIVER_OBJECT driver, ULONG extensionSize, ULONG magic, UNICODE_STRING* name,
                                      UNICODE_STRING* link, PDEVICE_OBJECT* created) {
    PDEVICE_OBJECT device = nullptr;
    NTSTATUS status = IoCreateDevice(driver, extensionSize, name, FILE_DEVICE_UNKNOWN, 0, FALSE, &device);
    if (!NT_SUCCESS(status)) return status;
    *static_cast<ULONG*>(device->DeviceExtension) = magic;
    device->Flags |= DO_BUFFERED_IO;
    device->Flags &= ~DO_DEVICE_INITIALIZING;
    status = IoCreateSymbolicLink(link, name);
    if (!NT_SUCCESS(status)) {
        IoDeleteDevice(device);
        device = nullptr;
    }
    if (created) *created = device;
    return status;
}

// Sends a Plug and Play, power (IRP_MN_SET_POWER to `power`) or read request
// in at the top of the stack above `pdo`, as the system would, and waits.
inline NTSTATUS KvSendToTop(PDEVICE_OBJECT pdo, UCHAR major, UCHAR minor, DEVICE_POWER_STATE power) {
    PDEVICE_OBJECT top = IoGetAttachedDeviceReference(pdo);
    KEVENT done;
    IO_STATUS_BLOCK io;
    UCHAR buffer[8] = {};
    LARGE_INTEGER offset;
    offset.QuadPart = 0;
    KeInitializeEvent(&done, NotificationEvent, FALSE);
    const bool read = major == IRP_MJ_READ;
    PIRP irp = IoBuildSynchronousFsdRequest(major, top, read ? buffer : nullptr, read ? sizeof buffer : 0,
                                            read ? &offset : nullptr, &done, &io);
    if (!irp) {
        ObDereferenceObject(top);
        return STATUS_INSUFFICIENT_RESOURCES;
    }
    PIO_STACK_LOCATION next = IoGetNextIrpStackLocation(irp);
    next->MinorFunction = minor;
    if (major == IRP_MJ_POWER) {
        next->Parameters.Power.Type = DevicePowerState;
        next->Parameters.Power.State.DeviceState = power;
    }
    if (major == IRP_MJ_PNP) irp->IoStatus.Status = STATUS_NOT_SUPPORTED;
    const NTSTATUS status = KvCallAndWait(top, irp, &done, &io, major == IRP_MJ_POWER);
    ObDereferenceObject(top);
    return status;
}

// The control device's dispatch: device-control requests go to `control`
// (which fills in the byte count), everything else succeeds; completed
// with no priority boost.
inline NTSTATUS KvCompleteControlRequest(PIRP irp, NTSTATUS (*control)(PIRP irp, ULONG* information)) {
    ULONG information = 0;
    NTSTATUS status = STATUS_SUCCESS;
    if (IoGetCurrentIrpStackLocation(irp)->MajorFunction == IRP_MJ_DEVICE_CONTROL) status = control(irp, &information);
    irp->IoStatus.Status = status;
    irp->IoStatus.Information = information;
    IoCompleteRequest(irp, IO_NO_INCREMENT);
    return status;
}
