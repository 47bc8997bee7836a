// The harness as Plug and Play manager and HID minidriver: loads the
// filter, adds and starts controllers, and sends reports and Plug and Play
// and power requests in at the top of each stack.
#include "harness.h"
#include "kernel_test_support.h"

namespace {

const wchar_t kTargetKey[] = L"\\Registry\\Machine\\System\\CurrentControlSet\\Services\\KVUSB";
const wchar_t kTargetDriver[] = L"\\Driver\\KVUSB";

bool IsPresent(ULONG controller) {
    return controller < KVVIRT_MAX_CONTROLLERS && g_Harness.Controllers[controller].Pdo;
}

bool AnyControllerPresent() {
    for (ULONG i = 0; i < KVVIRT_MAX_CONTROLLERS; ++i) {
        if (IsPresent(i)) return true;
    }
    return false;
}

NTSTATUS SendToTop(ULONG controller, UCHAR major, UCHAR minor, DEVICE_POWER_STATE power) {
    return KvSendToTop(g_Harness.Controllers[controller].Pdo, major, minor, power);
}

// Power and WMI requests must reach the device whatever state the stack is
// in, and a set-power must succeed (the device below always does).
NTSTATUS SendPower(ULONG controller, UCHAR major, DEVICE_POWER_STATE power) {
    VirtualController& target = g_Harness.Controllers[controller];
    const LONG before = target.PowerArrived;
    const NTSTATUS status = SendToTop(controller, major, major == IRP_MJ_POWER ? IRP_MN_SET_POWER : 0, power);
    CountPowerSent();
    if (target.PowerArrived == before) BreakRule(KVVIRT_RULE_POWER_PASSES);
    if (major == IRP_MJ_POWER && !NT_SUCCESS(status)) BreakRule(KVVIRT_RULE_NEVER_FAILED);
    return status;
}

extern "C" void NTAPI RemoveWhenHeld(PVOID context) {
    const ULONG controller = static_cast<ULONG>(reinterpret_cast<ULONG_PTR>(context));
    LARGE_INTEGER interval;
    interval.QuadPart = -10 * 10000;  // 10 ms
    for (ULONG waited = 0; !g_Harness.Controllers[controller].Held && waited < 500; ++waited) {
        KeDelayExecutionThread(KernelMode, FALSE, &interval);
    }
    SendPnp(controller, KVVIRT_PNP_REMOVE);
    PsTerminateSystemThread(STATUS_SUCCESS);
}

// A controller that never answers, removed once it holds a class request.
NTSTATUS RemoveSilently(ULONG controller) {
    g_Harness.Controllers[controller].Silent = true;
    HANDLE thread = nullptr;
    const NTSTATUS status = PsCreateSystemThread(&thread, THREAD_ALL_ACCESS, nullptr, nullptr, nullptr, RemoveWhenHeld,
                                                 reinterpret_cast<PVOID>(static_cast<ULONG_PTR>(controller)));
    if (NT_SUCCESS(status)) ZwClose(thread);
    return status;
}

}  // namespace

NTSTATUS LoadTarget() {
    if (g_Harness.Target) return STATUS_SUCCESS;
    const NTSTATUS status = KvLoadTarget(kTargetKey, kTargetDriver, &g_Harness.Target);
    if (NT_SUCCESS(status)) {
        g_Harness.TargetGone = false;
        WatchTargetFiles(g_Harness.Target);
    }
    return status;
}

// A new controller loads the filter if it is not loaded, as the Plug and
// Play manager does; an instance still on its way out makes it fail.
NTSTATUS AddController(ULONG* index) {
    if (PriorInstanceStays()) return STATUS_DRIVER_FAILED_PRIOR_UNLOAD;
    const NTSTATUS loaded = LoadTarget();
    if (!NT_SUCCESS(loaded)) return loaded;
    ULONG slot = 0;
    while (slot < KVVIRT_MAX_CONTROLLERS && IsPresent(slot)) ++slot;
    if (slot == KVVIRT_MAX_CONTROLLERS) return STATUS_TOO_MANY_NODES;
    NTSTATUS status = CreateVirtualDevice(slot);
    if (!NT_SUCCESS(status)) return status;
    PDEVICE_OBJECT pdo = g_Harness.Controllers[slot].Pdo;
    status = g_Harness.Target->DriverExtension->AddDevice(g_Harness.Target, pdo);
    if (NT_SUCCESS(status)) status = SendToTop(slot, IRP_MJ_PNP, IRP_MN_START_DEVICE, PowerDeviceUnspecified);
    if (!NT_SUCCESS(status)) {
        DeleteVirtualDevice(slot);
        return status;
    }
    *index = slot;
    return STATUS_SUCCESS;
}

NTSTATUS SendPnp(ULONG controller, ULONG request) {
    if (!IsPresent(controller)) return STATUS_NO_SUCH_DEVICE;
    NTSTATUS status;
    switch (request) {
        case KVVIRT_POWER_D0: return SendPower(controller, IRP_MJ_POWER, PowerDeviceD0);
        case KVVIRT_POWER_D3: return SendPower(controller, IRP_MJ_POWER, PowerDeviceD3);
        case KVVIRT_WMI: return SendPower(controller, IRP_MJ_SYSTEM_CONTROL, PowerDeviceUnspecified);
        case KVVIRT_READ: return SendToTop(controller, IRP_MJ_READ, 0, PowerDeviceUnspecified);
        case KVVIRT_SILENT_REMOVAL: return RemoveSilently(controller);
        case KVVIRT_PNP_REMOVE:
            status = SendToTop(controller, IRP_MJ_PNP, IRP_MN_REMOVE_DEVICE, PowerDeviceUnspecified);
            DeleteVirtualDevice(controller);
            if (!AnyControllerPresent()) g_Harness.UnloadPending = true;
            return status;
        default:
            if (request > 0xFF) return STATUS_INVALID_PARAMETER;
            status = SendToTop(controller, IRP_MJ_PNP, static_cast<UCHAR>(request), PowerDeviceUnspecified);
            if (request == IRP_MN_STOP_DEVICE && !NT_SUCCESS(status)) BreakRule(KVVIRT_RULE_NEVER_FAILED);
            return status;
    }
}

NTSTATUS UnloadLoadedTarget() {
    g_Harness.UnloadPending = false;
    if (!g_Harness.Target) return STATUS_SUCCESS;
    g_Harness.TargetUnloading = true;
    const NTSTATUS status = KvUnloadTarget(kTargetKey, &g_Harness.Target);
    g_Harness.TargetGone = NT_SUCCESS(status);
    g_Harness.TargetUnloading = false;
    return status;
}

NTSTATUS UnloadTarget() {
    for (ULONG i = 0; i < KVVIRT_MAX_CONTROLLERS; ++i) {
        if (IsPresent(i)) SendPnp(i, KVVIRT_PNP_REMOVE);
    }
    ReleaseHeldDevices();
    return UnloadLoadedTarget();
}

NTSTATUS PushReport(const KvVirtReportHeader& header, const UCHAR* bytes, UCHAR* out, ULONG* outLength) {
    *outLength = 0;
    if (!IsPresent(header.Controller)) return STATUS_NO_SUCH_DEVICE;
    if (header.Length > KVVIRT_MAX_REPORT) return STATUS_INVALID_PARAMETER;
    VirtualController& controller = g_Harness.Controllers[header.Controller];
    RtlCopyMemory(controller.Report, bytes, header.Length);
    controller.ReportLength = header.Length;
    controller.Mode = header.Mode;

    URB urb;
    UCHAR buffer[KVVIRT_MAX_REPORT];
    RtlZeroMemory(&urb, sizeof urb);
    RtlZeroMemory(buffer, sizeof buffer);
    _URB_BULK_OR_INTERRUPT_TRANSFER& transfer = urb.UrbBulkOrInterruptTransfer;
    transfer.Hdr.Function = URB_FUNCTION_BULK_OR_INTERRUPT_TRANSFER;
    transfer.Hdr.Length = sizeof transfer;
    transfer.TransferFlags = header.Mode == KVVIRT_REPORT_OUTGOING ? 0 : USBD_TRANSFER_DIRECTION_IN | USBD_SHORT_TRANSFER_OK;
    transfer.TransferBuffer = header.Mode == KVVIRT_REPORT_NO_BUFFER ? nullptr : buffer;
    transfer.TransferBufferLength = header.Length;

    PDEVICE_OBJECT top = IoGetAttachedDeviceReference(controller.Pdo);
    KEVENT done;
    IO_STATUS_BLOCK io;
    KeInitializeEvent(&done, NotificationEvent, FALSE);
    PIRP irp = IoBuildDeviceIoControlRequest(IOCTL_INTERNAL_USB_SUBMIT_URB, top, nullptr, 0, nullptr, 0, TRUE, &done, &io);
    NTSTATUS status = STATUS_INSUFFICIENT_RESOURCES;
    if (irp) {
        IoGetNextIrpStackLocation(irp)->Parameters.Others.Argument1 = &urb;
        status = KvCallAndWait(top, irp, &done, &io, false);
    }
    ObDereferenceObject(top);
    if (!NT_SUCCESS(status) && header.Mode != KVVIRT_REPORT_FAILED) return status;
    const UCHAR* arrived = header.Mode == KVVIRT_REPORT_NO_BUFFER ? controller.Report : buffer;
    RtlCopyMemory(out, arrived, transfer.TransferBufferLength);
    *outLength = transfer.TransferBufferLength;
    return STATUS_SUCCESS;
}
