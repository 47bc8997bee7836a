// One mouse device node of the harness: the physical device answers as a
// HID mouse driver would, and the harness's class callback records what
// the filter hands up.
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

// As the HID mouse driver: one class connection, kept until disconnect.
NTSTATUS HandleInternal(MouseNode& node, PIRP irp, const IO_STACK_LOCATION* stack) {
    const ULONG code = stack->Parameters.DeviceIoControl.IoControlCode;
    if (code == KVF_MOUSE_DISCONNECT) {
        RtlZeroMemory(&node.Connect, sizeof node.Connect);
        return Complete(irp, STATUS_SUCCESS, 0);
    }
    if (code != KVF_MOUSE_CONNECT) return Complete(irp, STATUS_NOT_SUPPORTED, 0);
    auto* connect = static_cast<KvfConnect*>(stack->Parameters.DeviceIoControl.Type3InputBuffer);
    if (!connect || stack->Parameters.DeviceIoControl.InputBufferLength < sizeof(KvfConnect)) {
        return Complete(irp, STATUS_INVALID_PARAMETER, 0);
    }
    if (node.Connect.ClassService) return Complete(irp, STATUS_SHARING_VIOLATION, 0);
    node.Connect = *connect;
    return Complete(irp, STATUS_SUCCESS, 0);
}

// The mouse class's service callback: records the packets it is given.
extern "C" void NTAPI ClassService(PDEVICE_OBJECT, PMOUSE_INPUT_DATA start, PMOUSE_INPUT_DATA end, PULONG consumed) {
    ULONG count = 0;
    for (PMOUSE_INPUT_DATA packet = start; packet < end && count < KVFHOST_MAX_PACKETS; ++packet, ++count) {
        g_Host.Seen.Flags[count] = packet->Flags;
        g_Host.Seen.LastX[count] = packet->LastX;
    }
    g_Host.Seen.Count = count;
    *consumed = static_cast<ULONG>(end - start);
}

// The mouse class's connect or disconnect, sent in at the top of the node.
NTSTATUS SendInternal(ULONG node, ULONG code, KvfConnect* connect) {
    PDEVICE_OBJECT top = IoGetAttachedDeviceReference(g_Host.Nodes[node].Pdo);
    KEVENT done;
    IO_STATUS_BLOCK io;
    KeInitializeEvent(&done, NotificationEvent, FALSE);
    PIRP irp = IoBuildDeviceIoControlRequest(code, top, connect, connect ? sizeof *connect : 0, nullptr, 0, TRUE,
                                             &done, &io);
    const NTSTATUS status = irp ? KvCallAndWait(top, irp, &done, &io, false) : STATUS_INSUFFICIENT_RESOURCES;
    ObDereferenceObject(top);
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
    status = g_Host.Target->DriverExtension->AddDevice(g_Host.Target, pdo);
    if (NT_SUCCESS(status)) status = KvSendToTop(pdo, IRP_MJ_PNP, IRP_MN_START_DEVICE, PowerDeviceUnspecified);
    if (!NT_SUCCESS(status)) {
        IoDeleteDevice(pdo);
        node.Pdo = nullptr;
        return status;
    }
    *index = slot;
    return STATUS_SUCCESS;
}

NTSTATUS ConnectNode(ULONG node, ULONG* classOwn) {
    if (!IsPresent(node)) return STATUS_NO_SUCH_DEVICE;
    KvfConnect connect = {g_Host.Control, reinterpret_cast<PVOID>(ClassService)};
    const NTSTATUS status = SendInternal(node, KVF_MOUSE_CONNECT, &connect);
    const KvfConnect& arrived = g_Host.Nodes[node].Connect;
    *classOwn = arrived.ClassService == reinterpret_cast<PVOID>(ClassService) && arrived.ClassDeviceObject == g_Host.Control;
    return status;
}

// As the HID mouse driver reporting input: at dispatch level, through the
// callback that reached the physical device.
NTSTATUS SendPackets(const KvfPackets& packets, KvfPacketsSeen* seen) {
    if (!IsPresent(packets.Node)) return STATUS_NO_SUCH_DEVICE;
    if (packets.Count > KVFHOST_MAX_PACKETS) return STATUS_INVALID_PARAMETER;
    const KvfConnect connect = g_Host.Nodes[packets.Node].Connect;
    if (!connect.ClassService) return STATUS_DEVICE_NOT_CONNECTED;
    MOUSE_INPUT_DATA data[KVFHOST_MAX_PACKETS];
    RtlZeroMemory(data, sizeof data);
    for (ULONG i = 0; i < packets.Count; ++i) {
        data[i].Flags = packets.Flags[i];
        data[i].LastX = static_cast<LONG>(1000 * (i + 1));
    }
    RtlZeroMemory(&g_Host.Seen, sizeof g_Host.Seen);
    ULONG consumed = 0;
    KIRQL old;
    KeRaiseIrql(DISPATCH_LEVEL, &old);
    reinterpret_cast<KvfService>(connect.ClassService)(connect.ClassDeviceObject, data, data + packets.Count, &consumed);
    KeLowerIrql(old);
    *seen = g_Host.Seen;
    seen->Consumed = consumed;
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
        case KVFHOST_READ: status = KvSendToTop(target.Pdo, IRP_MJ_READ, 0, PowerDeviceUnspecified); break;
        case KVFHOST_DISCONNECT:
            status = SendInternal(node, KVF_MOUSE_DISCONNECT, nullptr);
            break;
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
