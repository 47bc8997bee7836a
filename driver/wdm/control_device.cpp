// The control device's requests: create and close, the control codes
// through the core, internal requests. The filter device passes the same
// major functions down unchanged.
#include "beep.h"
#include "class_request.h"
#include "control.h"
#include "settings_read.h"

namespace {

// The core's ports while the state lock is held: the lock is dropped for
// the calls that block (registry read, USB request) and taken again.
class LockedPorts final : public kv::ControlPorts {
public:
    LockedPorts(PDEVICE_OBJECT physical, KIRQL* irql) : physical_(physical), irql_(irql) {}
    void StartBeep(uint32_t frequencyHz, uint32_t durationMs) override { beep_.StartBeep(frequencyHz, durationMs); }
    kv::Status ReloadSettings() override { return ReadDriverSettingsHoldingLock(irql_); }
    kv::Status SendClassRequest(const kv::ClassRequest& request, uint32_t* transferred) override {
        KeReleaseSpinLock(&g_Driver.StateLock, *irql_);
        const NTSTATUS status = ::SendClassRequest(physical_, request, transferred);
        KeAcquireSpinLock(&g_Driver.StateLock, irql_);
        return status;
    }
    // Starts a beep that a code asked for, once the lock is released.
    void FlushBeep() { beep_.Flush(); }

private:
    PDEVICE_OBJECT physical_;
    KIRQL* irql_;
    DeferredBeep beep_;
};

// Non-paged: runs with the state lock held.
kv::ControlResult RunControlCode(PDEVICE_OBJECT physical, const kv::ControlRequest& request) {
    KIRQL irql;
    KeAcquireSpinLock(&g_Driver.StateLock, &irql);
    LockedPorts ports(physical, &irql);
    const kv::ControlResult result = kv::DispatchControl(g_Driver.State, ports, request);
    KeReleaseSpinLock(&g_Driver.StateLock, irql);
    ports.FlushBeep();
    return result;
}

}  // namespace

extern "C" KV_PAGED NTSTATUS NTAPI KvDispatchCreateClose(PDEVICE_OBJECT device, PIRP irp) {
    FilterExtension* ext = ExtensionOf(device);
    if (ext->IsFilter) return PassDown(ext, irp);
    return CompleteRequest(irp, STATUS_SUCCESS);
}

extern "C" KV_PAGED NTSTATUS NTAPI KvDispatchDeviceControl(PDEVICE_OBJECT device, PIRP irp) {
    FilterExtension* ext = ExtensionOf(device);
    if (ext->IsFilter) return PassDown(ext, irp);
    // A handle may outlive the controller that created this device.
    if (ext->PnpState == kPnpRemoved) return CompleteRequest(irp, STATUS_DELETE_PENDING);
    const IO_STACK_LOCATION* stack = IoGetCurrentIrpStackLocation(irp);
    kv::ControlRequest request;
    request.Code = stack->Parameters.DeviceIoControl.IoControlCode;
    request.Buffer = static_cast<uint8_t*>(irp->AssociatedIrp.SystemBuffer);
    request.InputLength = stack->Parameters.DeviceIoControl.InputBufferLength;
    request.OutputLength = stack->Parameters.DeviceIoControl.OutputBufferLength;
    if (!request.Buffer) request.InputLength = request.OutputLength = 0;
    const kv::ControlResult result = RunControlCode(ext->PhysicalDevice, request);
    return CompleteRequest(irp, result.status, result.bytesReturned);
}
