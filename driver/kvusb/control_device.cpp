// The control device's requests: create and close, the control codes
// through the core, internal requests. The filter device passes the same
// major functions down unchanged.
#include "beep.h"
#include "class_request.h"
#include "control.h"
#include "settings_read.h"
#include "settings_store.h"

namespace {

// The core's ports in the frame. A beep a code asks for is started once the
// state lock is dropped; the registry and the controller are reached only
// from the blocking codes, which run without the lock.
class FramePorts final : public kv::ControlPorts {
public:
    explicit FramePorts(FilterExtension* control) : control_(control) {}
    void StartBeep(uint32_t frequencyHz, uint32_t durationMs) override { beep_.StartBeep(frequencyHz, durationMs); }
    kv::Status ReloadSettings() override { return ReadDriverSettings(); }
    kv::Status SendClassRequest(const kv::ClassRequest& request, uint32_t* transferred) override {
        return ::SendClassRequest(control_, request, transferred);
    }
    kv::Status StoreSettings(const StoredSettings& record) override { return StoreDriverSettings(record); }
    void FlushBeep() { beep_.Flush(); }

private:
    FilterExtension* control_;
    DeferredBeep beep_;
};

// Resident: takes the state lock. The blocking codes stay outside it, so
// the work done at raised IRQL is bounded by the fixed records, whatever
// buffer length a caller chooses.
KV_NONPAGED kv::ControlResult RunControlCode(FilterExtension* control, const kv::ControlRequest& request) {
    FramePorts ports(control);
    if (kv::IsBlockingCode(request.Code)) return kv::DispatchControl(g_Driver.State, ports, request);
    KIRQL irql;
    KeAcquireSpinLock(&g_Driver.StateLock, &irql);
    const kv::ControlResult result = kv::DispatchControl(g_Driver.State, ports, request);
    KeReleaseSpinLock(&g_Driver.StateLock, irql);
    ports.FlushBeep();
    return result;
}

// A handle may outlive the controller that created this device: once the
// controller is going, nothing more is sent to it, and once it is removed
// the device only refuses.
KV_PAGED NTSTATUS HandleControlRequest(FilterExtension* ext, PIRP irp) {
    const IO_STACK_LOCATION* stack = IoGetCurrentIrpStackLocation(irp);
    kv::ControlRequest request;
    request.Code = stack->Parameters.DeviceIoControl.IoControlCode;
    request.Buffer = static_cast<uint8_t*>(irp->AssociatedIrp.SystemBuffer);
    request.InputLength = stack->Parameters.DeviceIoControl.InputBufferLength;
    request.OutputLength = stack->Parameters.DeviceIoControl.OutputBufferLength;
    if (!request.Buffer) request.InputLength = request.OutputLength = 0;
    if (ext->PnpState == kPnpRemoved || (IsGoing(ext) && kv::IsClassRequestCode(request.Code))) {
        return CompleteRequest(irp, STATUS_DELETE_PENDING);
    }
    const kv::ControlResult result = RunControlCode(ext, request);
    return CompleteRequest(irp, result.status, result.bytesReturned);
}

}  // namespace

// The control device has no names below it: an open of "\\.\kvusb\x"
// names nothing.
extern "C" KV_PAGED NTSTATUS NTAPI KvDispatchCreateClose(PDEVICE_OBJECT device, PIRP irp) {
    FilterExtension* ext = ExtensionOf(device);
    if (ext->IsFilter) return PassDown(ext, irp);
    const IO_STACK_LOCATION* stack = IoGetCurrentIrpStackLocation(irp);
    if (stack->MajorFunction == IRP_MJ_CREATE && stack->FileObject && stack->FileObject->FileName.Length) {
        return CompleteRequest(irp, STATUS_OBJECT_NAME_NOT_FOUND);
    }
    return CompleteRequest(irp, STATUS_SUCCESS);
}

// Control requests are counted, so that the removal of the controller waits
// for those still under way before it lets go of the physical device.
extern "C" KV_PAGED NTSTATUS NTAPI KvDispatchDeviceControl(PDEVICE_OBJECT device, PIRP irp) {
    FilterExtension* ext = ExtensionOf(device);
    if (ext->IsFilter) return PassDown(ext, irp);
    EnterRequest(&ext->Requests);
    const NTSTATUS status = HandleControlRequest(ext, irp);
    LeaveRequest(&ext->Requests);
    return status;
}
