// On the touch screen's node the filter sits above the mouse class: the
// system's input thread reads MOUSE_INPUT_DATA records through it, and on
// their way back the absolute ones get the virtual-desktop flag when the
// touch screen is one monitor of a pair. Its coordinates, already placed in
// the right or left half by the touch driver, then span the whole desktop.
#include "kvfilt.h"
#include "unload_safe_completion.h"

namespace {

// Only the records the read returned, whole ones, within the buffer the
// reader gave: a class driver answers at most the read's length.
void StampAbsolutePackets(PIRP irp) {
    auto* packets = static_cast<PMOUSE_INPUT_DATA>(irp->AssociatedIrp.SystemBuffer);
    if (!packets) return;
    ULONG_PTR returned = irp->IoStatus.Information;
    const ULONG length = IoGetCurrentIrpStackLocation(irp)->Parameters.Read.Length;
    if (returned > length) returned = length;
    const ULONG_PTR count = returned / sizeof(MOUSE_INPUT_DATA);
    for (ULONG_PTR i = 0; i < count; ++i) {
        if (packets[i].Flags & MOUSE_MOVE_ABSOLUTE) packets[i].Flags |= MOUSE_VIRTUAL_DESKTOP;
    }
}

// At up to dispatch level: only the word decided as the node started.
extern "C" NTSTATUS NTAPI ReadDone(PDEVICE_OBJECT, PIRP irp, PVOID context) {
    auto* ext = static_cast<KvFiltExtension*>(context);
    if (irp->PendingReturned) IoMarkIrpPending(irp);
    if (NT_SUCCESS(irp->IoStatus.Status) && ext->VirtualDesktop) StampAbsolutePackets(irp);
    LeaveRequest(&ext->Requests);
    return STATUS_SUCCESS;
}

}  // namespace

// Reads come from the input thread; none of them waits on the registry.
// The read stays counted in until it is done.
extern "C" KV_PAGED NTSTATUS NTAPI KvFiltDispatchRead(PDEVICE_OBJECT device, PIRP irp) {
    KvFiltExtension* ext = KvFiltOf(device);
    if (!KvFiltEnter(ext, irp)) return STATUS_DELETE_PENDING;
    if (!ext->IsTouchScreen) return KvFiltSkipDown(ext, irp);
    IoCopyCurrentIrpStackLocationToNext(irp);
    SetUnloadSafeCompletion(ext->Self, irp, ReadDone, ext);
    return IoCallDriver(ext->Lower, irp);
}
