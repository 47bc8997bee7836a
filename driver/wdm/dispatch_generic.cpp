// The dispatch for Plug and Play, power and every major function without
// a routine of its own: counted requests, refused once the device is going.
#include "filter_extension.h"
#include "pnp.h"
#include "power.h"

namespace {

bool IsGoing(const FilterExtension* ext) {
    return ext->PnpState == kPnpSurpriseRemoved || ext->PnpState == kPnpRemoved;
}

bool IsRemove(const IO_STACK_LOCATION* stack) {
    return stack->MajorFunction == IRP_MJ_PNP && stack->MinorFunction == IRP_MN_REMOVE_DEVICE;
}

NTSTATUS Refuse(PIRP irp, const IO_STACK_LOCATION* stack, NTSTATUS status) {
    // The next power request may start only when this one is done with.
    if (stack->MajorFunction == IRP_MJ_POWER) PoStartNextPowerIrp(irp);
    return CompleteRequest(irp, status);
}

NTSTATUS Handle(FilterExtension* ext, PIRP irp, const IO_STACK_LOCATION* stack) {
    switch (stack->MajorFunction) {
        case IRP_MJ_PNP: return HandlePnp(ext, irp);
        case IRP_MJ_POWER: return HandlePower(ext, irp);
        default: return PassDown(ext, irp);
    }
}

}  // namespace

extern "C" NTSTATUS NTAPI KvDispatchGeneric(PDEVICE_OBJECT device, PIRP irp) {
    FilterExtension* ext = ExtensionOf(device);
    const IO_STACK_LOCATION* stack = IoGetCurrentIrpStackLocation(irp);
    if (!ext->IsFilter) return Refuse(irp, stack, STATUS_NOT_IMPLEMENTED);

    const bool counted = !IsRemove(stack);
    if (counted) AcquireRequest(ext);
    NTSTATUS status;
    if (IsGoing(ext) && stack->MajorFunction != IRP_MJ_PNP && stack->MajorFunction != IRP_MJ_CLOSE) {
        status = Refuse(irp, stack, STATUS_DELETE_PENDING);
    } else {
        status = Handle(ext, irp, stack);
    }
    if (counted) ReleaseRequest(ext);
    return status;
}
