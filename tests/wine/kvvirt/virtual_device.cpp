// The virtual controller's physical device: answers Plug and Play and
// power like a bus driver, hands queued reports to interrupt transfers and
// records and answers class requests.
#include "harness.h"

namespace {

const wchar_t kHardwareIds[] = L"USB\\VID_7A4E&PID_0001\0";

NTSTATUS Complete(PIRP irp, NTSTATUS status) {
    irp->IoStatus.Status = status;
    IoCompleteRequest(irp, IO_NO_INCREMENT);
    return status;
}

extern "C" void NTAPI CompleteDeferred(PKDPC, PVOID context, PVOID, PVOID) {
    auto* controller = static_cast<VirtualController*>(context);
    PIRP irp = controller->Deferred;
    controller->Deferred = nullptr;
    if (irp) Complete(irp, STATUS_SUCCESS);
}

extern "C" void NTAPI CancelHeld(PDEVICE_OBJECT device, PIRP irp) {
    IoReleaseCancelSpinLock(irp->CancelIrql);
    const ULONG index = static_cast<VirtualExtension*>(device->DeviceExtension)->Controller;
    VirtualController& controller = g_Harness.Controllers[index];
    InterlockedCompareExchangePointer(&controller.Held, nullptr, irp);
    Complete(irp, STATUS_CANCELLED);
}

// A silent controller never answers: the request waits for its cancellation.
NTSTATUS Hold(VirtualController& controller, PIRP irp) {
    IoMarkIrpPending(irp);
    controller.Held = irp;
    IoSetCancelRoutine(irp, CancelHeld);
    if (irp->Cancel && IoSetCancelRoutine(irp, nullptr)) {
        controller.Held = nullptr;
        Complete(irp, STATUS_CANCELLED);
    }
    return STATUS_PENDING;
}

// The removal has come: a request still held was never cancelled. It is
// failed here, so that nothing waits for it.
void ReleaseHeld(VirtualController& controller) {
    auto* held = static_cast<PIRP>(InterlockedExchangePointer(&controller.Held, nullptr));
    if (!held || !IoSetCancelRoutine(held, nullptr)) return;
    BreakRule(KVVIRT_RULE_CLASS_REQUEST_CANCELLED);
    Complete(held, STATUS_CANCELLED);
}

NTSTATUS AnswerHardwareIds(PIRP irp) {
    auto* ids = static_cast<wchar_t*>(ExAllocatePoolWithTag(PagedPool, sizeof kHardwareIds, kPdoMagic));
    if (!ids) return Complete(irp, STATUS_INSUFFICIENT_RESOURCES);
    RtlCopyMemory(ids, kHardwareIds, sizeof kHardwareIds);
    irp->IoStatus.Information = reinterpret_cast<ULONG_PTR>(ids);
    return Complete(irp, STATUS_SUCCESS);
}

NTSTATUS HandlePnp(VirtualController& controller, PIRP irp, const IO_STACK_LOCATION* stack) {
    switch (stack->MinorFunction) {
        case IRP_MN_QUERY_CAPABILITIES: {
            PDEVICE_CAPABILITIES caps = stack->Parameters.DeviceCapabilities.Capabilities;
            if (!caps || caps->Size < sizeof *caps) return Complete(irp, STATUS_INVALID_PARAMETER);
            caps->Removable = TRUE;
            caps->SurpriseRemovalOK = TRUE;
            caps->DeviceState[PowerSystemWorking] = PowerDeviceD0;
            return Complete(irp, STATUS_SUCCESS);
        }
        case IRP_MN_QUERY_ID:
            if (stack->Parameters.QueryId.IdType == BusQueryHardwareIDs) return AnswerHardwareIds(irp);
            return Complete(irp, irp->IoStatus.Status);
        case IRP_MN_REMOVE_DEVICE:
            ReleaseHeld(controller);
            controller.Removed = true;
            return Complete(irp, STATUS_SUCCESS);
        case IRP_MN_START_DEVICE:
        case IRP_MN_STOP_DEVICE:
        case IRP_MN_QUERY_STOP_DEVICE:
        case IRP_MN_QUERY_REMOVE_DEVICE:
        case IRP_MN_SURPRISE_REMOVAL: return Complete(irp, STATUS_SUCCESS);
        default: return Complete(irp, irp->IoStatus.Status);
    }
}

NTSTATUS HandReport(VirtualController& controller, PIRP irp, _URB_BULK_OR_INTERRUPT_TRANSFER& transfer) {
    ULONG length = controller.ReportLength;
    if (length > transfer.TransferBufferLength) length = transfer.TransferBufferLength;
    if (transfer.TransferBuffer) RtlCopyMemory(transfer.TransferBuffer, controller.Report, length);
    transfer.TransferBufferLength = length;
    if (controller.Mode == KVVIRT_REPORT_FAILED) {
        transfer.Hdr.Status = USBD_STATUS_DEV_NOT_RESPONDING;
        return Complete(irp, STATUS_UNSUCCESSFUL);
    }
    if (controller.Mode != KVVIRT_REPORT_COMPLETE_LATER) return Complete(irp, STATUS_SUCCESS);
    IoMarkIrpPending(irp);
    controller.Deferred = irp;
    LARGE_INTEGER due;
    due.QuadPart = -10000;  // 1 ms
    // Wine's kernel deadlocks when a timer is set again while its last
    // expiry is still being handled; cancelling first waits that out.
    KeCancelTimer(&controller.Timer);
    KeSetTimer(&controller.Timer, due, &controller.Dpc);
    return STATUS_PENDING;
}

// GET_REPORT answers with a recognisable pattern: 0xA0, 0xA1, ...
NTSTATUS HandClassRequest(VirtualController& controller, PIRP irp, _URB_CONTROL_VENDOR_OR_CLASS_REQUEST& request) {
    KvVirtClassRequest record;
    RtlZeroMemory(&record, sizeof record);
    record.Function = request.Hdr.Function;
    record.Request = request.Request;
    record.DeviceToHost = (request.TransferFlags & USBD_TRANSFER_DIRECTION_IN) ? 1 : 0;
    record.Value = request.Value;
    record.Index = request.Index;
    record.Length = request.TransferBufferLength;
    auto* data = static_cast<UCHAR*>(request.TransferBuffer);
    if (data && record.DeviceToHost) {
        ULONG answer = request.TransferBufferLength < 8 ? request.TransferBufferLength : 8;
        for (ULONG i = 0; i < answer; ++i) data[i] = static_cast<UCHAR>(0xA0 + i);
        request.TransferBufferLength = answer;
    } else if (data) {
        const ULONG copied = record.Length < KVVIRT_MAX_REQUEST_DATA ? record.Length : KVVIRT_MAX_REQUEST_DATA;
        RtlCopyMemory(record.Data, data, copied);
    }
    Append(g_Harness.Requests, record);
    if (controller.Silent) return Hold(controller, irp);
    return Complete(irp, STATUS_SUCCESS);
}

NTSTATUS HandleInternal(ULONG index, PIRP irp, const IO_STACK_LOCATION* stack) {
    auto* urb = static_cast<PURB>(stack->Parameters.Others.Argument1);
    if (stack->Parameters.DeviceIoControl.IoControlCode != IOCTL_INTERNAL_USB_SUBMIT_URB || !urb) {
        return Complete(irp, STATUS_SUCCESS);
    }
    switch (urb->UrbHeader.Function) {
        case URB_FUNCTION_BULK_OR_INTERRUPT_TRANSFER:
            return HandReport(g_Harness.Controllers[index], irp, urb->UrbBulkOrInterruptTransfer);
        case URB_FUNCTION_CLASS_INTERFACE:
            return HandClassRequest(g_Harness.Controllers[index], irp, urb->UrbControlVendorClassRequest);
        default: return Complete(irp, STATUS_NOT_SUPPORTED);
    }
}

PDEVICE_OBJECT CreateDevice(ULONG magic, ULONG index) {
    PDEVICE_OBJECT device = nullptr;
    if (!NT_SUCCESS(IoCreateDevice(g_Harness.Self, sizeof(VirtualExtension), nullptr, FILE_DEVICE_UNKNOWN,
                                   FILE_AUTOGENERATED_DEVICE_NAME, FALSE, &device))) {
        return nullptr;
    }
    auto* ext = static_cast<VirtualExtension*>(device->DeviceExtension);
    ext->Magic = magic;
    ext->Controller = index;
    return device;
}

}  // namespace

NTSTATUS CreateVirtualDevice(ULONG index) {
    VirtualController& controller = g_Harness.Controllers[index];
    PDEVICE_OBJECT pdo = CreateDevice(kPdoMagic, index);
    PDEVICE_OBJECT below = pdo ? CreateDevice(kBelowMagic, index) : nullptr;
    if (!below) {
        if (pdo) IoDeleteDevice(pdo);
        return STATUS_INSUFFICIENT_RESOURCES;
    }
    pdo->Flags &= ~DO_DEVICE_INITIALIZING;
    IoAttachDeviceToDeviceStack(below, pdo);
    below->StackSize = static_cast<CCHAR>(pdo->StackSize + 1);
    below->Flags &= ~DO_DEVICE_INITIALIZING;
    controller.Deferred = nullptr;
    controller.Held = nullptr;
    controller.Silent = false;
    controller.Removed = false;
    controller.Pdo = pdo;
    controller.Below = below;
    return STATUS_SUCCESS;
}

// As a bus driver does: the devices go after the stack above them has been torn down.
void DeleteVirtualDevice(ULONG index) {
    VirtualController& controller = g_Harness.Controllers[index];
    IoDetachDevice(controller.Pdo);
    IoDeleteDevice(controller.Below);
    IoDeleteDevice(controller.Pdo);
    controller.Pdo = controller.Below = nullptr;
}

void InitializeVirtualControllers() {
    for (VirtualController& controller : g_Harness.Controllers) {
        KeInitializeTimer(&controller.Timer);
        KeInitializeDpc(&controller.Dpc, CompleteDeferred, &controller);
    }
}

NTSTATUS DispatchVirtualDevice(PDEVICE_OBJECT device, PIRP irp) {
    const ULONG index = static_cast<VirtualExtension*>(device->DeviceExtension)->Controller;
    VirtualController& controller = g_Harness.Controllers[index];
    const IO_STACK_LOCATION* stack = IoGetCurrentIrpStackLocation(irp);
    if (controller.Removed) BreakRule(KVVIRT_RULE_NOTHING_AFTER_REMOVAL);
    if (stack->MajorFunction == IRP_MJ_POWER || stack->MajorFunction == IRP_MJ_SYSTEM_CONTROL) {
        InterlockedIncrement(&controller.PowerArrived);
    }
    if (stack->MajorFunction != IRP_MJ_INTERNAL_DEVICE_CONTROL) {
        Append(g_Harness.StackEvents, KvVirtStackEvent{index, stack->MajorFunction, stack->MinorFunction});
    }
    switch (stack->MajorFunction) {
        case IRP_MJ_PNP: return HandlePnp(controller, irp, stack);
        case IRP_MJ_POWER:
            PoStartNextPowerIrp(irp);
            return Complete(irp, STATUS_SUCCESS);
        case IRP_MJ_INTERNAL_DEVICE_CONTROL: return HandleInternal(index, irp, stack);
        default: return Complete(irp, STATUS_SUCCESS);
    }
}

// The other lower filter passes everything on in a stack location of its
// own, as a real one does; a request built with too few locations for the
// whole stack is counted and failed instead of overrunning them.
NTSTATUS DispatchBelow(PDEVICE_OBJECT device, PIRP irp) {
    const ULONG index = static_cast<VirtualExtension*>(device->DeviceExtension)->Controller;
    const bool power = IoGetCurrentIrpStackLocation(irp)->MajorFunction == IRP_MJ_POWER;
    if (power) PoStartNextPowerIrp(irp);
    if (irp->CurrentLocation <= 1) {
        BreakRule(KVVIRT_RULE_STACK_LOCATIONS);
        return Complete(irp, STATUS_INVALID_DEVICE_STATE);
    }
    IoCopyCurrentIrpStackLocationToNext(irp);
    PDEVICE_OBJECT pdo = g_Harness.Controllers[index].Pdo;
    return power ? PoCallDriver(pdo, irp) : IoCallDriver(pdo, irp);
}
