// On the touch screen's node the filter stands between the HID mouse
// driver and the mouse class: it takes the class's connection, hands the
// driver its own callback, and passes every packet on to the class.
#include "kvfilt.h"

namespace {

// Called by the mouse port driver at dispatch level with a run of packets.
// Absolute packets get the virtual-desktop flag when the touch screen is one
// monitor of a pair: its 0..65535 range then spans the whole desktop, into
// which the touch driver has already placed the point.
extern "C" void NTAPI ServicePackets(PDEVICE_OBJECT device, PMOUSE_INPUT_DATA start, PMOUSE_INPUT_DATA end,
                                     PULONG consumed) {
    KvFiltExtension* ext = KvFiltOf(device);
    if (ext->VirtualDesktop) {
        for (PMOUSE_INPUT_DATA packet = start; packet < end; ++packet) {
            if (packet->Flags & MOUSE_MOVE_ABSOLUTE) packet->Flags |= MOUSE_VIRTUAL_DESKTOP;
        }
    }
    auto upper = reinterpret_cast<KvMouseServiceCallback>(ext->UpperConnect.ClassService);
    upper(ext->UpperConnect.ClassDeviceObject, start, end, consumed);
}

NTSTATUS Connect(KvFiltExtension* ext, PIRP irp) {
    IO_STACK_LOCATION* stack = IoGetCurrentIrpStackLocation(irp);
    auto* connect = static_cast<KvConnectData*>(stack->Parameters.DeviceIoControl.Type3InputBuffer);
    if (!connect || stack->Parameters.DeviceIoControl.InputBufferLength < sizeof(KvConnectData) ||
        !connect->ClassService) {
        IoReleaseRemoveLock(&ext->RemoveLock, irp);
        return KvFiltComplete(irp, STATUS_INVALID_PARAMETER);
    }
    // One class connection at a time, as the HID mouse driver allows.
    if (InterlockedCompareExchange(&ext->Connected, 1, 0) != 0) {
        IoReleaseRemoveLock(&ext->RemoveLock, irp);
        return KvFiltComplete(irp, STATUS_SHARING_VIOLATION);
    }
    ext->UpperConnect = *connect;
    connect->ClassDeviceObject = ext->Self;
    connect->ClassService = reinterpret_cast<PVOID>(ServicePackets);
    return KvFiltSkipDown(ext, irp);
}

}  // namespace

NTSTATUS KvFiltInternalControl(KvFiltExtension* ext, PIRP irp) {
    switch (IoGetCurrentIrpStackLocation(irp)->Parameters.DeviceIoControl.IoControlCode) {
        case KV_IOCTL_INTERNAL_MOUSE_CONNECT: return Connect(ext, irp);
        case KV_IOCTL_INTERNAL_MOUSE_DISCONNECT:
            // The driver below stops calling before it completes this.
            InterlockedExchange(&ext->Connected, 0);
            return KvFiltSkipDown(ext, irp);
        default: return KvFiltSkipDown(ext, irp);
    }
}
