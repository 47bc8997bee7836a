// The virtual touch controller's entry point and its control device, which
// kvvirt.exe and the end-to-end tests drive.
#include "harness.h"
#include "kernel_test_support.h"

Harness g_Harness;

namespace {

struct ControlExtension {
    ULONG Magic;
};

// Load the filter and make sure controller 0 is up.
NTSTATUS Start() {
    NTSTATUS status = LoadTarget();
    if (!NT_SUCCESS(status)) return status;
    ULONG index;
    if (!g_Harness.Controllers[0].Pdo) status = AddController(&index);
    return status;
}

ULONG Query(KvVirtState* state) {
    RtlZeroMemory(state, sizeof *state);
    state->Loaded = g_Harness.Target != nullptr;
    for (ULONG i = 0; i < KVVIRT_MAX_CONTROLLERS; ++i) {
        if (g_Harness.Controllers[i].Pdo) state->Controllers |= 1u << i;
    }
    state->ImportsPatched = g_Harness.ImportsPatched;
    state->BeepSounding = g_Harness.BeepOpen;
    state->DpcPhase = DpcPhase();
    state->PriorInstance = PriorInstanceStays();
    return sizeof *state;
}

ULONG Answer(void* buffer, NTSTATUS status, ULONG value) {
    auto* answer = static_cast<KvVirtStatus*>(buffer);
    answer->Status = status;
    answer->Value = value;
    return sizeof *answer;
}

// The counts so far, with the rules that only the totals show; they start
// again from zero, but for the pool still held.
ULONG TakeAccounting(KvVirtAccounting* out) {
    WaitForIdleDpc();
    KIRQL irql;
    KeAcquireSpinLock(&g_Harness.LogLock, &irql);
    KvVirtAccounting& counts = g_Harness.Counts;
    counts.IrpsSent = static_cast<uint32_t>(InterlockedExchange(&g_KvIrps.Sent, 0));
    const uint32_t completed = static_cast<uint32_t>(InterlockedExchange(&g_KvIrps.Completed, 0));
    const uint32_t twice = static_cast<uint32_t>(InterlockedExchange(&g_KvIrps.CompletedTwice, 0));
    const uint32_t lost = counts.IrpsSent > completed ? counts.IrpsSent - completed : completed - counts.IrpsSent;
    counts.Broken[KVVIRT_RULE_COMPLETED_ONCE] += lost + twice;
    if (g_Harness.TargetGone) counts.Broken[KVVIRT_RULE_POOL_FREED] += counts.PoolOutstanding;
    *out = counts;
    const uint32_t outstanding = counts.PoolOutstanding;
    RtlZeroMemory(&counts, sizeof counts);
    counts.PoolOutstanding = outstanding;
    KeReleaseSpinLock(&g_Harness.LogLock, irql);
    return sizeof *out;
}

// Harness settings that take a record and answer nothing.
NTSTATUS Configure(ULONG code, const UCHAR* buffer, ULONG inLength) {
    if (code == IOCTL_KVVIRT_FAIL_ALLOCATION) {
        if (inLength < sizeof(uint32_t)) return STATUS_BUFFER_TOO_SMALL;
        uint32_t nth;
        RtlCopyMemory(&nth, buffer, sizeof nth);
        FailAllocation(nth);
        return STATUS_SUCCESS;
    }
    KvVirtDpcModel model;
    if (inLength < sizeof model) return STATUS_BUFFER_TOO_SMALL;
    RtlCopyMemory(&model, buffer, sizeof model);
    SetDpcModel(model);
    return STATUS_SUCCESS;
}

NTSTATUS Report(UCHAR* buffer, ULONG inLength, ULONG outLength, ULONG* information) {
    KvVirtReportHeader header;
    if (inLength < sizeof header) return STATUS_BUFFER_TOO_SMALL;
    RtlCopyMemory(&header, buffer, sizeof header);
    if (header.Length > inLength - sizeof header || header.Length > KVVIRT_MAX_REPORT) return STATUS_INVALID_PARAMETER;
    if (outLength < header.Length) return STATUS_BUFFER_TOO_SMALL;
    UCHAR bytes[KVVIRT_MAX_REPORT];
    RtlCopyMemory(bytes, buffer + sizeof header, header.Length);
    return PushReport(header, bytes, buffer, information);
}

// Every harness request answers a KvVirtStatus (or its records) and
// completes with success unless its buffers are unusable.
NTSTATUS Control(PIRP irp, ULONG* information) {
    const IO_STACK_LOCATION* stack = IoGetCurrentIrpStackLocation(irp);
    const ULONG code = stack->Parameters.DeviceIoControl.IoControlCode;
    const ULONG in = stack->Parameters.DeviceIoControl.InputBufferLength;
    const ULONG out = stack->Parameters.DeviceIoControl.OutputBufferLength;
    auto* buffer = static_cast<UCHAR*>(irp->AssociatedIrp.SystemBuffer);
    *information = 0;
    SettleTarget();
    if (code == IOCTL_KVVIRT_REPORT) return Report(buffer, in, out, information);
    if (code == IOCTL_KVVIRT_TAKE_BEEPS) return (*information = Take(g_Harness.Beeps, buffer, out)), STATUS_SUCCESS;
    if (code == IOCTL_KVVIRT_TAKE_REQUESTS) return (*information = Take(g_Harness.Requests, buffer, out)), STATUS_SUCCESS;
    if (code == IOCTL_KVVIRT_TAKE_STACK_EVENTS) {
        *information = Take(g_Harness.StackEvents, buffer, out);
        return STATUS_SUCCESS;
    }
    if (code == IOCTL_KVVIRT_FAIL_ALLOCATION || code == IOCTL_KVVIRT_DPC_MODEL) return Configure(code, buffer, in);
    if (code == IOCTL_KVVIRT_TAKE_ACCOUNTING) {
        if (out < sizeof(KvVirtAccounting)) return STATUS_BUFFER_TOO_SMALL;
        *information = TakeAccounting(reinterpret_cast<KvVirtAccounting*>(buffer));
        return STATUS_SUCCESS;
    }
    if (code == IOCTL_KVVIRT_CONTROL_DACL) return ReadControlDacl(buffer, out, information);
    if (code == IOCTL_KVVIRT_OPEN_CONTROL) {
        if (out < sizeof(KvVirtStatus) || in > KVVIRT_MAX_PATH * sizeof(wchar_t)) return STATUS_INVALID_PARAMETER;
        *information = Answer(buffer, OpenControlBelow(reinterpret_cast<wchar_t*>(buffer), in), 0);
        return STATUS_SUCCESS;
    }
    if (code == IOCTL_KVVIRT_QUERY) {
        if (out < sizeof(KvVirtState)) return STATUS_BUFFER_TOO_SMALL;
        *information = Query(reinterpret_cast<KvVirtState*>(buffer));
        return STATUS_SUCCESS;
    }
    if (out < sizeof(KvVirtStatus)) return STATUS_BUFFER_TOO_SMALL;
    ULONG index = 0;
    switch (code) {
        case IOCTL_KVVIRT_START: *information = Answer(buffer, Start(), 0); return STATUS_SUCCESS;
        case IOCTL_KVVIRT_UNLOAD: *information = Answer(buffer, UnloadTarget(), 0); return STATUS_SUCCESS;
        case IOCTL_KVVIRT_ADD_CONTROLLER: {
            const NTSTATUS status = AddController(&index);
            *information = Answer(buffer, status, index);
            return STATUS_SUCCESS;
        }
        case IOCTL_KVVIRT_PNP: {
            if (in < sizeof(KvVirtPnp)) return STATUS_BUFFER_TOO_SMALL;
            KvVirtPnp pnp;
            RtlCopyMemory(&pnp, buffer, sizeof pnp);
            *information = Answer(buffer, SendPnp(pnp.Controller, pnp.Request), 0);
            return STATUS_SUCCESS;
        }
        default: return STATUS_INVALID_DEVICE_REQUEST;
    }
}

extern "C" NTSTATUS NTAPI Dispatch(PDEVICE_OBJECT device, PIRP irp) {
    const ULONG magic = static_cast<VirtualExtension*>(device->DeviceExtension)->Magic;
    if (magic == kPdoMagic) return DispatchVirtualDevice(device, irp);
    if (magic == kBelowMagic) return DispatchBelow(device, irp);
    return KvCompleteControlRequest(irp, Control);
}

NTSTATUS CreateControlDevice(PDRIVER_OBJECT driver) {
    return KvCreateControlDevice(driver, sizeof(ControlExtension), kControlMagic, L"\\Device\\KvVirt", L"\\??\\kvvirt",
                                 nullptr);
}

}  // namespace

extern "C" NTSTATUS NTAPI DriverEntry(PDRIVER_OBJECT driver, PUNICODE_STRING) {
    g_Harness.Self = driver;
    KeInitializeSpinLock(&g_Harness.LogLock);
    InitializeVirtualControllers();
    InitializeDpcModel();
    InitializeDeviceLifetime();
    for (ULONG i = 0; i <= IRP_MJ_MAXIMUM_FUNCTION; ++i) driver->MajorFunction[i] = Dispatch;
    NTSTATUS status = CreateControlDevice(driver);
    if (!NT_SUCCESS(status)) return status;
    status = InstallImportPatches();
    if (!NT_SUCCESS(status)) return status;
    // The filter comes up with the harness; kvvirt.exe start repeats this
    // when a test has unloaded it.
    Start();
    return STATUS_SUCCESS;
}
