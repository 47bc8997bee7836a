// The virtual touch controller's entry point and its control device, which
// kvvirt.exe and the end-to-end tests drive.
#include "harness.h"

Harness g_Harness;

namespace {

wchar_t kDeviceName[] = L"\\Device\\KvVirt";
wchar_t kLinkName[] = L"\\??\\kvvirt";

struct ControlExtension {
    ULONG Magic;
};

void InitUnicode(UNICODE_STRING* string, wchar_t* text, USHORT bytes) {
    string->Buffer = text;
    string->Length = static_cast<USHORT>(bytes - sizeof(wchar_t));
    string->MaximumLength = bytes;
}

// Load the filter and make sure controller 0 is up.
NTSTATUS Start() {
    NTSTATUS status = LoadTarget();
    if (!NT_SUCCESS(status)) return status;
    ULONG index;
    if (!g_Harness.Controllers[0].Pdo) status = AddController(&index);
    return status;
}

ULONG Query(KvVirtState* state) {
    RtlZeroMemory(state, sizeof *state);
    state->Loaded = g_Harness.Target != nullptr;
    for (ULONG i = 0; i < KVVIRT_MAX_CONTROLLERS; ++i) {
        if (g_Harness.Controllers[i].Pdo) state->Controllers |= 1u << i;
    }
    state->BeepPatched = g_Harness.BeepPatched;
    return sizeof *state;
}

ULONG Answer(void* buffer, NTSTATUS status, ULONG value) {
    auto* answer = static_cast<KvVirtStatus*>(buffer);
    answer->Status = status;
    answer->Value = value;
    return sizeof *answer;
}

NTSTATUS Report(UCHAR* buffer, ULONG inLength, ULONG outLength, ULONG* information) {
    KvVirtReportHeader header;
    if (inLength < sizeof header) return STATUS_BUFFER_TOO_SMALL;
    RtlCopyMemory(&header, buffer, sizeof header);
    if (header.Length > inLength - sizeof header || header.Length > KVVIRT_MAX_REPORT) return STATUS_INVALID_PARAMETER;
    if (outLength < header.Length) return STATUS_BUFFER_TOO_SMALL;
    UCHAR bytes[KVVIRT_MAX_REPORT];
    RtlCopyMemory(bytes, buffer + sizeof header, header.Length);
    return PushReport(header, bytes, buffer, information);
}

// Every harness request answers a KvVirtStatus (or its records) and
// completes with success unless its buffers are unusable.
NTSTATUS Control(PIRP irp, ULONG* information) {
    const IO_STACK_LOCATION* stack = IoGetCurrentIrpStackLocation(irp);
    const ULONG code = stack->Parameters.DeviceIoControl.IoControlCode;
    const ULONG in = stack->Parameters.DeviceIoControl.InputBufferLength;
    const ULONG out = stack->Parameters.DeviceIoControl.OutputBufferLength;
    auto* buffer = static_cast<UCHAR*>(irp->AssociatedIrp.SystemBuffer);
    *information = 0;
    if (code == IOCTL_KVVIRT_REPORT) return Report(buffer, in, out, information);
    if (code == IOCTL_KVVIRT_TAKE_BEEPS) return (*information = Take(g_Harness.Beeps, buffer, out)), STATUS_SUCCESS;
    if (code == IOCTL_KVVIRT_TAKE_REQUESTS) return (*information = Take(g_Harness.Requests, buffer, out)), STATUS_SUCCESS;
    if (code == IOCTL_KVVIRT_TAKE_STACK_EVENTS) {
        *information = Take(g_Harness.StackEvents, buffer, out);
        return STATUS_SUCCESS;
    }
    if (code == IOCTL_KVVIRT_QUERY) {
        if (out < sizeof(KvVirtState)) return STATUS_BUFFER_TOO_SMALL;
        *information = Query(reinterpret_cast<KvVirtState*>(buffer));
        return STATUS_SUCCESS;
    }
    if (out < sizeof(KvVirtStatus)) return STATUS_BUFFER_TOO_SMALL;
    ULONG index = 0;
    switch (code) {
        case IOCTL_KVVIRT_START: *information = Answer(buffer, Start(), 0); return STATUS_SUCCESS;
        case IOCTL_KVVIRT_UNLOAD: *information = Answer(buffer, UnloadTarget(), 0); return STATUS_SUCCESS;
        case IOCTL_KVVIRT_ADD_CONTROLLER: {
            const NTSTATUS status = AddController(&index);
            *information = Answer(buffer, status, index);
            return STATUS_SUCCESS;
        }
        case IOCTL_KVVIRT_PNP: {
            if (in < sizeof(KvVirtPnp)) return STATUS_BUFFER_TOO_SMALL;
            KvVirtPnp pnp;
            RtlCopyMemory(&pnp, buffer, sizeof pnp);
            *information = Answer(buffer, SendPnp(pnp.Controller, pnp.Request), 0);
            return STATUS_SUCCESS;
        }
        default: return STATUS_INVALID_DEVICE_REQUEST;
    }
}

extern "C" NTSTATUS NTAPI Dispatch(PDEVICE_OBJECT device, PIRP irp) {
    if (static_cast<VirtualExtension*>(device->DeviceExtension)->Magic == kPdoMagic) {
        return DispatchVirtualDevice(device, irp);
    }
    ULONG information = 0;
    NTSTATUS status = STATUS_SUCCESS;
    if (IoGetCurrentIrpStackLocation(irp)->MajorFunction == IRP_MJ_DEVICE_CONTROL) status = Control(irp, &information);
    irp->IoStatus.Status = status;
    irp->IoStatus.Information = information;
    IoCompleteRequest(irp, IO_NO_INCREMENT);
    return status;
}

NTSTATUS CreateControlDevice(PDRIVER_OBJECT driver) {
    UNICODE_STRING name, link;
    InitUnicode(&name, kDeviceName, sizeof kDeviceName);
    InitUnicode(&link, kLinkName, sizeof kLinkName);
    PDEVICE_OBJECT device = nullptr;
    NTSTATUS status = IoCreateDevice(driver, sizeof(ControlExtension), &name, FILE_DEVICE_UNKNOWN, 0, FALSE, &device);
    if (!NT_SUCCESS(status)) return status;
    static_cast<ControlExtension*>(device->DeviceExtension)->Magic = kControlMagic;
    device->Flags |= DO_BUFFERED_IO;
    device->Flags &= ~DO_DEVICE_INITIALIZING;
    status = IoCreateSymbolicLink(&link, &name);
    if (!NT_SUCCESS(status)) IoDeleteDevice(device);
    return status;
}

}  // namespace

extern "C" NTSTATUS NTAPI DriverEntry(PDRIVER_OBJECT driver, PUNICODE_STRING) {
    g_Harness.Self = driver;
    KeInitializeSpinLock(&g_Harness.LogLock);
    InitializeVirtualControllers();
    for (ULONG i = 0; i <= IRP_MJ_MAXIMUM_FUNCTION; ++i) driver->MajorFunction[i] = Dispatch;
    NTSTATUS status = CreateControlDevice(driver);
    if (!NT_SUCCESS(status)) return status;
    status = InstallBeepRecorder();
    if (!NT_SUCCESS(status)) return status;
    // The filter comes up with the harness; kvvirt.exe start repeats this
    // when a test has unloaded it.
    Start();
    return STATUS_SUCCESS;
}
