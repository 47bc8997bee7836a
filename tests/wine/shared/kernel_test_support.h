// What the test kernel drivers (kvvirt, kvfhost) share: loading and
// unloading the driver under test, their named control device, and sending
// a built request into a stack and waiting for it.
#pragma once
#include "kernel_headers.h"

extern "C" {
// Only in ntifs.h, which does not mix with wdm.h here; Wine ignores the type.
NTSYSAPI NTSTATUS NTAPI ObReferenceObjectByName(PUNICODE_STRING name, ULONG attributes, PACCESS_STATE access,
                                                ACCESS_MASK desired, POBJECT_TYPE type, KPROCESSOR_MODE mode,
                                                PVOID parse, PVOID* object);
}

// Loads the driver under test from its service key (an image already
// loaded counts) and takes a reference on its driver object, \Driver\NAME.
inline NTSTATUS KvLoadTarget(const wchar_t* serviceKey, const wchar_t* driverName, PDRIVER_OBJECT* target) {
    UNICODE_STRING key, name;
    RtlInitUnicodeString(&key, serviceKey);
    RtlInitUnicodeString(&name, driverName);
    NTSTATUS status = ZwLoadDriver(&key);
    if (!NT_SUCCESS(status) && status != STATUS_IMAGE_ALREADY_LOADED) return status;
    PVOID object = nullptr;
    status = ObReferenceObjectByName(&name, OBJ_CASE_INSENSITIVE, nullptr, 0, nullptr, KernelMode, nullptr, &object);
    if (NT_SUCCESS(status)) *target = static_cast<PDRIVER_OBJECT>(object);
    return status;
}

// Lets go of the driver under test and unloads it.
inline NTSTATUS KvUnloadTarget(const wchar_t* serviceKey, PDRIVER_OBJECT* target) {
    ObDereferenceObject(*target);
    *target = nullptr;
    UNICODE_STRING key;
    RtlInitUnicodeString(&key, serviceKey);
    return ZwUnloadDriver(&key);
}

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

// A buffered control device `deviceName` with the symbolic link `linkName`;
// the first word of its extension is `magic`, set before the link makes it
// reachable.
inline NTSTATUS KvCreateControlDevice(PDRIVER_OBJECT driver, ULONG extensionSize, ULONG magic,
                                      const wchar_t* deviceName, const wchar_t* linkName, PDEVICE_OBJECT* created) {
    UNICODE_STRING name, link;
    RtlInitUnicodeString(&name, deviceName);
    RtlInitUnicodeString(&link, linkName);
    PDEVICE_OBJECT device = nullptr;
    NTSTATUS status = IoCreateDevice(driver, extensionSize, &name, FILE_DEVICE_UNKNOWN, 0, FALSE, &device);
    if (!NT_SUCCESS(status)) return status;
    *static_cast<ULONG*>(device->DeviceExtension) = magic;
    device->Flags |= DO_BUFFERED_IO;
    device->Flags &= ~DO_DEVICE_INITIALIZING;
    status = IoCreateSymbolicLink(&link, &name);
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
