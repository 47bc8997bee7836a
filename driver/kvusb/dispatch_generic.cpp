// The dispatch for power and every major function without a routine of its
// own: counted requests. Once the device is going, power and WMI requests
// and closes still pass (the system needs them to tear the stack down);
// the rest, which the gone controller cannot serve, are refused. Resident,
// as power requests may come at dispatch level.
#include "filter_extension.h"
#include "power.h"

namespace {

NTSTATUS Refuse(PIRP irp, const IO_STACK_LOCATION* stack, NTSTATUS status) {
    // The control device's power requests: the next may start only when
    // this one is done with.
    if (stack->MajorFunction == IRP_MJ_POWER) PoStartNextPowerIrp(irp);
    return CompleteRequest(irp, status);
}

bool PassesWhenGoing(UCHAR major) {
    return major == IRP_MJ_POWER || major == IRP_MJ_SYSTEM_CONTROL || major == IRP_MJ_CLOSE;
}

NTSTATUS Handle(FilterExtension* ext, PIRP irp, const IO_STACK_LOCATION* stack) {
    if (stack->MajorFunction == IRP_MJ_POWER) return HandlePower(ext, irp);
    return PassDown(ext, irp);
}

}  // namespace

extern "C" NTSTATUS NTAPI KvDispatchGeneric(PDEVICE_OBJECT device, PIRP irp) {
    FilterExtension* ext = ExtensionOf(device);
    const IO_STACK_LOCATION* stack = IoGetCurrentIrpStackLocation(irp);
    if (!ext->IsFilter) return Refuse(irp, stack, STATUS_NOT_IMPLEMENTED);

    EnterRequest(&ext->Requests);
    NTSTATUS status;
    if (IsGoing(ext) && !PassesWhenGoing(stack->MajorFunction)) {
        status = Refuse(irp, stack, STATUS_DELETE_PENDING);
    } else {
        status = Handle(ext, irp, stack);
    }
    LeaveRequest(&ext->Requests);
    return status;
}
