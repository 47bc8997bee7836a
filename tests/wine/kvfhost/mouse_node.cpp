// One mouse device node of the harness: the physical device answers as a
// bus driver and, as the node's function driver, as the HID mouse driver
// would; the input thread's reads come in at the top.
#include "kvfhost.h"
#include "kernel_test_support.h"

namespace {

const wchar_t kTouchIds[] = L"HID\\VID_7A4E&PID_0001\0HID_DEVICE_SYSTEM_MOUSE\0";
const wchar_t kTouchSuffixIds[] = L"hid\\vid_7a4e&pid_0001&rev_0100\0HID\\VID_7A4E&PID_0001\0";
// A near miss: the touch id is a prefix of it, but it is another device.
const wchar_t kOtherIds[] = L"HID\\VID_7A4E&PID_00010\0HID\\VID_045E&PID_0040\0";

bool IsPresent(ULONG node) { return node < KVFHOST_MAX_NODES && g_Host.Nodes[node].Pdo; }

NTSTATUS Complete(PIRP irp, NTSTATUS status, ULONG_PTR information) {
    irp->IoStatus.Status = status;
    irp->IoStatus.Information = information;
    IoCompleteRequest(irp, IO_NO_INCREMENT);
    return status;
}

// Device id (the first hardware id), instance id and the hardware ids, as a
// bus driver answers them; the system builds the node's identity from all three.
NTSTATUS AnswerId(MouseNode& node, PIRP irp, BUS_QUERY_ID_TYPE type) {
    const wchar_t* ids = node.Kind == KVFHOST_NODE_TOUCH ? kTouchIds
                       : node.Kind == KVFHOST_NODE_TOUCH_SUFFIX ? kTouchSuffixIds : kOtherIds;
    ULONG bytes = node.Kind == KVFHOST_NODE_TOUCH ? sizeof kTouchIds
                : node.Kind == KVFHOST_NODE_TOUCH_SUFFIX ? sizeof kTouchSuffixIds : sizeof kOtherIds;
    static const wchar_t kInstance[] = L"0";
    if (type == BusQueryInstanceID) {
        ids = kInstance;
        bytes = sizeof kInstance;
    } else if (type == BusQueryDeviceID) {
        ULONG length = 0;
        while (ids[length]) ++length;
        bytes = (length + 1) * sizeof(wchar_t);
    } else if (type != BusQueryHardwareIDs) {
        return Complete(irp, irp->IoStatus.Status, irp->IoStatus.Information);
    }
    auto* copy = static_cast<wchar_t*>(ExAllocatePoolWithTag(PagedPool, bytes, kNodeMagic));
    if (!copy) return Complete(irp, STATUS_INSUFFICIENT_RESOURCES, 0);
    RtlCopyMemory(copy, ids, bytes);
    return Complete(irp, STATUS_SUCCESS, reinterpret_cast<ULONG_PTR>(copy));
}

NTSTATUS HandlePnp(MouseNode& node, PIRP irp, const IO_STACK_LOCATION* stack) {
    switch (stack->MinorFunction) {
        case IRP_MN_QUERY_ID: return AnswerId(node, irp, stack->Parameters.QueryId.IdType);
        case IRP_MN_START_DEVICE:
        case IRP_MN_STOP_DEVICE:
        case IRP_MN_QUERY_STOP_DEVICE:
        case IRP_MN_CANCEL_STOP_DEVICE:
        case IRP_MN_CANCEL_REMOVE_DEVICE:
        case IRP_MN_QUERY_REMOVE_DEVICE:
        case IRP_MN_SURPRISE_REMOVAL:
        case IRP_MN_REMOVE_DEVICE: return Complete(irp, STATUS_SUCCESS, 0);
        default: return Complete(irp, irp->IoStatus.Status, irp->IoStatus.Information);
    }
}

// As the HID mouse driver: one class connection.
NTSTATUS HandleInternal(MouseNode& node, PIRP irp, const IO_STACK_LOCATION* stack) {
    if (stack->Parameters.DeviceIoControl.IoControlCode != KVF_MOUSE_CONNECT) {
        return Complete(irp, STATUS_NOT_SUPPORTED, 0);
    }
    auto* connect = static_cast<KvfConnect*>(stack->Parameters.DeviceIoControl.Type3InputBuffer);
    if (!connect || stack->Parameters.DeviceIoControl.InputBufferLength < sizeof(KvfConnect)) {
        return Complete(irp, STATUS_INVALID_PARAMETER, 0);
    }
    if (node.Connect.ClassService) return Complete(irp, STATUS_SHARING_VIOLATION, 0);
    node.Connect = *connect;
    return Complete(irp, STATUS_SUCCESS, 0);
}

// The input thread's read at the top of the node; pending until the class
// has packets for it.
NTSTATUS StartRead(MouseNode& node) {
    PDEVICE_OBJECT top = IoGetAttachedDeviceReference(node.Pdo);
    LARGE_INTEGER offset;
    offset.QuadPart = 0;
    KeInitializeEvent(&node.ReadDone, NotificationEvent, FALSE);
    RtlFillMemory(node.ReadBuffer, sizeof node.ReadBuffer, 0xCC);
    PIRP irp = IoBuildSynchronousFsdRequest(IRP_MJ_READ, top, node.ReadBuffer, sizeof node.ReadBuffer, &offset,
                                            &node.ReadDone, &node.ReadIo);
    NTSTATUS status = STATUS_INSUFFICIENT_RESOURCES;
    if (irp) {
        status = IoCallDriver(top, irp);
        if (status != STATUS_PENDING) KeSetEvent(&node.ReadDone, IO_NO_INCREMENT, FALSE);
    }
    ObDereferenceObject(top);
    return status;
}

// Bounded: a read that never completes is a failure, not a hang.
bool FinishRead(MouseNode& node) {
    LARGE_INTEGER timeout;
    timeout.QuadPart = -2000 * 10000LL;
    return KeWaitForSingleObject(&node.ReadDone, Executive, KernelMode, FALSE, &timeout) == STATUS_SUCCESS;
}

// As the HID mouse driver reporting input: at dispatch level, through the
// connection that reached the physical device.
void Report(MouseNode& node, const KvfPackets& packets) {
    MOUSE_INPUT_DATA data[KVFHOST_MAX_PACKETS];
    RtlZeroMemory(data, sizeof data);
    for (ULONG i = 0; i < packets.Count; ++i) {
        data[i].Flags = packets.Flags[i];
        data[i].LastX = static_cast<LONG>(1000 * (i + 1));
    }
    ULONG consumed = 0;
    KIRQL old;
    KeRaiseIrql(DISPATCH_LEVEL, &old);
    reinterpret_cast<KvfService>(node.Connect.ClassService)(node.Connect.ClassDeviceObject, data,
                                                           data + packets.Count, &consumed);
    KeLowerIrql(old);
}

NTSTATUS RemoveWhileReading(MouseNode& node, ULONG* completed) {
    const NTSTATUS read = StartRead(node);
    if (read != STATUS_PENDING) return NT_SUCCESS(read) ? STATUS_UNSUCCESSFUL : read;
    const NTSTATUS status = KvSendToTop(node.Pdo, IRP_MJ_PNP, IRP_MN_REMOVE_DEVICE, PowerDeviceUnspecified);
    *completed = FinishRead(node);
    return status;
}

}  // namespace

NTSTATUS AddNode(ULONG kind, ULONG* index) {
    if (!g_Host.Target) return STATUS_DEVICE_NOT_READY;
    if (kind > KVFHOST_NODE_OTHER_MOUSE) return STATUS_INVALID_PARAMETER;
    ULONG slot = 0;
    while (slot < KVFHOST_MAX_NODES && IsPresent(slot)) ++slot;
    if (slot == KVFHOST_MAX_NODES) return STATUS_TOO_MANY_NODES;
    PDEVICE_OBJECT pdo = nullptr;
    NTSTATUS status = IoCreateDevice(g_Host.Self, sizeof(HostExtension), nullptr, FILE_DEVICE_MOUSE,
                                     FILE_AUTOGENERATED_DEVICE_NAME, FALSE, &pdo);
    if (!NT_SUCCESS(status)) return status;
    auto* ext = static_cast<HostExtension*>(pdo->DeviceExtension);
    ext->Magic = kNodeMagic;
    ext->Node = slot;
    pdo->Flags &= ~DO_DEVICE_INITIALIZING;
    MouseNode& node = g_Host.Nodes[slot];
    RtlZeroMemory(&node, sizeof node);
    node.Pdo = pdo;
    node.Kind = kind;
    status = BuildStack(pdo);
    if (NT_SUCCESS(status)) status = KvSendToTop(pdo, IRP_MJ_PNP, IRP_MN_START_DEVICE, PowerDeviceUnspecified);
    if (!NT_SUCCESS(status)) {
        IoDeleteDevice(pdo);
        node.Pdo = nullptr;
        return status;
    }
    *index = slot;
    return STATUS_SUCCESS;
}

NTSTATUS ReadPackets(const KvfPackets& packets, KvfPacketsSeen* seen) {
    if (!IsPresent(packets.Node)) return STATUS_NO_SUCH_DEVICE;
    if (packets.Count > KVFHOST_MAX_PACKETS) return STATUS_INVALID_PARAMETER;
    MouseNode& node = g_Host.Nodes[packets.Node];
    if (!node.Connect.ClassService) return STATUS_DEVICE_NOT_CONNECTED;
    RtlZeroMemory(seen, sizeof *seen);
    seen->ReadStatus = StartRead(node);
    if (packets.Count) Report(node, packets);
    if (!FinishRead(node)) return STATUS_IO_TIMEOUT;
    seen->ReadStatus = node.ReadIo.Status;
    ULONG_PTR returned = node.ReadIo.Information;
    if (returned > sizeof node.ReadBuffer) returned = sizeof node.ReadBuffer;
    seen->Count = static_cast<uint32_t>(returned / sizeof(MOUSE_INPUT_DATA));
    for (ULONG i = 0; i < seen->Count; ++i) {
        seen->Flags[i] = node.ReadBuffer[i].Flags;
        seen->LastX[i] = node.ReadBuffer[i].LastX;
    }
    return STATUS_SUCCESS;
}

NTSTATUS SendRequest(ULONG node, ULONG request, ULONG* arrived) {
    if (!IsPresent(node)) return STATUS_NO_SUCH_DEVICE;
    MouseNode& target = g_Host.Nodes[node];
    const LONG before = target.Arrived;
    NTSTATUS status;
    switch (request) {
        case KVFHOST_POWER_D0: status = KvSendToTop(target.Pdo, IRP_MJ_POWER, IRP_MN_SET_POWER, PowerDeviceD0); break;
        case KVFHOST_POWER_D3: status = KvSendToTop(target.Pdo, IRP_MJ_POWER, IRP_MN_SET_POWER, PowerDeviceD3); break;
        case KVFHOST_REMOVE_WHILE_READING:
            status = RemoveWhileReading(target, arrived);
            IoDeleteDevice(target.Pdo);
            target.Pdo = nullptr;
            return status;
        default:
            if (request > 0xFF) return STATUS_INVALID_PARAMETER;
            status = KvSendToTop(target.Pdo, IRP_MJ_PNP, static_cast<UCHAR>(request), PowerDeviceUnspecified);
    }
    *arrived = static_cast<ULONG>(target.Arrived - before);
    if (request == IRP_MN_REMOVE_DEVICE) {
        // As a bus driver: the physical device goes after the stack above it.
        IoDeleteDevice(target.Pdo);
        target.Pdo = nullptr;
    }
    return status;
}

NTSTATUS RemoveAllNodes() {
    NTSTATUS result = STATUS_SUCCESS;
    ULONG arrived;
    for (ULONG i = 0; i < KVFHOST_MAX_NODES; ++i) {
        if (!IsPresent(i)) continue;
        const NTSTATUS status = SendRequest(i, IRP_MN_REMOVE_DEVICE, &arrived);
        if (!NT_SUCCESS(status)) result = status;
    }
    return result;
}

NTSTATUS DispatchNode(PDEVICE_OBJECT device, PIRP irp) {
    MouseNode& node = g_Host.Nodes[static_cast<HostExtension*>(device->DeviceExtension)->Node];
    const IO_STACK_LOCATION* stack = IoGetCurrentIrpStackLocation(irp);
    InterlockedIncrement(&node.Arrived);
    switch (stack->MajorFunction) {
        case IRP_MJ_PNP: return HandlePnp(node, irp, stack);
        case IRP_MJ_POWER:
            PoStartNextPowerIrp(irp);
            return Complete(irp, STATUS_SUCCESS, 0);
        case IRP_MJ_INTERNAL_DEVICE_CONTROL: return HandleInternal(node, irp, stack);
        default: return Complete(irp, STATUS_SUCCESS, 0);
    }
}
