// kvfhost.sys: entry, the control device that the test drives, and loading
// and unloading kvfilt.sys.
#include "kvfhost.h"
#include "import_patch.h"
#include "kernel_test_support.h"

Host g_Host;

namespace {

const wchar_t kTargetKey[] = L"\\Registry\\Machine\\System\\CurrentControlSet\\Services\\kvfilt";

NTSTATUS Load() {
    if (g_Host.Target) return STATUS_SUCCESS;
    return KvLoadTarget(kTargetKey, L"\\Driver\\kvfilt", &g_Host.Target);
}

NTSTATUS Unload() {
    const NTSTATUS removed = RemoveAllNodes();
    if (!g_Host.Target) return removed;
    const NTSTATUS status = KvUnloadTarget(kTargetKey, &g_Host.Target);
    return NT_SUCCESS(removed) ? status : removed;
}

ULONG Answer(void* buffer, NTSTATUS status, ULONG value) {
    auto* answer = static_cast<KvfStatus*>(buffer);
    answer->Status = status;
    answer->Value = value;
    return sizeof *answer;
}

bool ReadWords(const void* buffer, ULONG inLength, ULONG* first, ULONG* second) {
    if (inLength < sizeof(ULONG) * (second ? 2 : 1)) return false;
    RtlCopyMemory(first, buffer, sizeof *first);
    if (second) RtlCopyMemory(second, static_cast<const UCHAR*>(buffer) + sizeof(ULONG), sizeof *second);
    return true;
}

NTSTATUS Control(PIRP irp, ULONG* information) {
    const IO_STACK_LOCATION* stack = IoGetCurrentIrpStackLocation(irp);
    const ULONG code = stack->Parameters.DeviceIoControl.IoControlCode;
    const ULONG in = stack->Parameters.DeviceIoControl.InputBufferLength;
    const ULONG out = stack->Parameters.DeviceIoControl.OutputBufferLength;
    void* buffer = irp->AssociatedIrp.SystemBuffer;
    *information = 0;
    if (code == IOCTL_KVFHOST_READ) {
        if (in < sizeof(KvfPackets) || out < sizeof(KvfPacketsSeen)) return STATUS_BUFFER_TOO_SMALL;
        KvfPackets packets;
        RtlCopyMemory(&packets, buffer, sizeof packets);
        const NTSTATUS status = ReadPackets(packets, static_cast<KvfPacketsSeen*>(buffer));
        if (NT_SUCCESS(status)) *information = sizeof(KvfPacketsSeen);
        return status;
    }
    if (out < sizeof(KvfStatus)) return STATUS_BUFFER_TOO_SMALL;
    ULONG first = 0, second = 0, value = 0;
    NTSTATUS status;
    switch (code) {
        case IOCTL_KVFHOST_LOAD: status = Load(); break;
        case IOCTL_KVFHOST_UNLOAD: status = Unload(); break;
        case IOCTL_KVFHOST_ADD_NODE:
            if (!ReadWords(buffer, in, &first, nullptr)) return STATUS_BUFFER_TOO_SMALL;
            status = AddNode(first, &value);
            break;
        case IOCTL_KVFHOST_REQUEST:
            if (!ReadWords(buffer, in, &first, &second)) return STATUS_BUFFER_TOO_SMALL;
            status = SendRequest(first, second, &value);
            break;
        default: return STATUS_INVALID_DEVICE_REQUEST;
    }
    *information = Answer(buffer, status, value);
    return STATUS_SUCCESS;
}

extern "C" NTSTATUS NTAPI Dispatch(PDEVICE_OBJECT device, PIRP irp) {
    const ULONG magic = static_cast<HostExtension*>(device->DeviceExtension)->Magic;
    if (magic == kNodeMagic) return DispatchNode(device, irp);
    if (magic == kClassMagic) return DispatchClass(device, irp);
    return KvCompleteControlRequest(irp, Control);
}

// The routines the filter looks up by name, as Windows has them.
extern "C" PVOID NTAPI FindSystemRoutine(PUNICODE_STRING name) {
    if (KvNames(name, L"IoSetCompletionRoutineEx")) return reinterpret_cast<PVOID>(&KvSetCompletionRoutineEx);
    return MmGetSystemRoutineAddress(name);
}

const KvImportPatch kPatches[] = {
    {"ntoskrnl.exe", "MmGetSystemRoutineAddress", reinterpret_cast<void*>(&FindSystemRoutine), true},
};

extern "C" void NTAPI OnImageLoad(PUNICODE_STRING name, HANDLE, KvImageInfo* info) {
    if (info && KvImageNameEndsWith(name, L"kvfilt.sys")) KvPatchImports(static_cast<UCHAR*>(info->ImageBase), kPatches);
}

}  // namespace

extern "C" NTSTATUS NTAPI DriverEntry(PDRIVER_OBJECT driver, PUNICODE_STRING) {
    g_Host.Self = driver;
    for (ULONG i = 0; i <= IRP_MJ_MAXIMUM_FUNCTION; ++i) driver->MajorFunction[i] = Dispatch;
    const NTSTATUS status = PsSetLoadImageNotifyRoutine(OnImageLoad);
    if (!NT_SUCCESS(status)) return status;
    return KvCreateControlDevice(driver, sizeof(HostExtension), kHostMagic, L"\\Device\\KvfHost", L"\\??\\kvfhost",
                                 &g_Host.Control);
}
