// Power requests pass down with a completion that notes the return to D0.
// Runs at up to dispatch level: non-paged.
#include "power.h"

namespace {

bool SetsLowDevicePower(const IO_STACK_LOCATION* stack) {
    if (stack->MinorFunction != IRP_MN_SET_POWER || stack->Parameters.Power.Type != DevicePowerState) return false;
    const DEVICE_POWER_STATE state = stack->Parameters.Power.State.DeviceState;
    return state == PowerDeviceD1 || state == PowerDeviceD2 || state == PowerDeviceD3;
}

bool SetsFullDevicePower(const IO_STACK_LOCATION* stack) {
    return stack->MinorFunction == IRP_MN_SET_POWER && stack->Parameters.Power.Type == DevicePowerState &&
           stack->Parameters.Power.State.DeviceState == PowerDeviceD0;
}

extern "C" NTSTATUS NTAPI PowerDone(PDEVICE_OBJECT, PIRP irp, PVOID context) {
    FilterExtension* ext = static_cast<FilterExtension*>(context);
    if (irp->PendingReturned) IoMarkIrpPending(irp);
    if (NT_SUCCESS(irp->IoStatus.Status) && SetsFullDevicePower(IoGetCurrentIrpStackLocation(irp)) &&
        ext->PnpState == kPnpPoweredDown) {
        ext->PnpState = kPnpStarted;
    }
    PoStartNextPowerIrp(irp);
    LeaveRequest(&ext->Requests);
    return STATUS_SUCCESS;
}

}  // namespace

NTSTATUS HandlePower(FilterExtension* ext, PIRP irp) {
    const IO_STACK_LOCATION* stack = IoGetCurrentIrpStackLocation(irp);
    if (SetsLowDevicePower(stack) && ext->PnpState == kPnpStarted) ext->PnpState = kPnpPoweredDown;
    EnterRequest(&ext->Requests);
    IoCopyCurrentIrpStackLocationToNext(irp);
    IoSetCompletionRoutine(irp, PowerDone, ext, TRUE, TRUE, TRUE);
    return PoCallDriver(ext->LowerDevice, irp);
}
