// kvfhost.sys: entry, the control device that the test drives, and loading
// and unloading kvfilt.sys.
#include "kvfhost.h"
#include "kernel_test_support.h"

Host g_Host;

namespace {

wchar_t kDeviceName[] = L"\\Device\\KvfHost";
wchar_t kLinkName[] = L"\\??\\kvfhost";
wchar_t kTargetKey[] = L"\\Registry\\Machine\\System\\CurrentControlSet\\Services\\kvfilt";
wchar_t kTargetDriver[] = L"\\Driver\\kvfilt";

void InitUnicode(UNICODE_STRING* string, wchar_t* text, USHORT bytes) {
    string->Buffer = text;
    string->Length = static_cast<USHORT>(bytes - sizeof(wchar_t));
    string->MaximumLength = bytes;
}

NTSTATUS Load() {
    if (g_Host.Target) return STATUS_SUCCESS;
    UNICODE_STRING key, name;
    InitUnicode(&key, kTargetKey, sizeof kTargetKey);
    InitUnicode(&name, kTargetDriver, sizeof kTargetDriver);
    NTSTATUS status = ZwLoadDriver(&key);
    if (!NT_SUCCESS(status) && status != STATUS_IMAGE_ALREADY_LOADED) return status;
    PVOID object = nullptr;
    status = ObReferenceObjectByName(&name, OBJ_CASE_INSENSITIVE, nullptr, 0, nullptr, KernelMode, nullptr, &object);
    if (NT_SUCCESS(status)) g_Host.Target = static_cast<PDRIVER_OBJECT>(object);
    return status;
}

NTSTATUS Unload() {
    const NTSTATUS removed = RemoveAllNodes();
    if (!g_Host.Target) return removed;
    ObDereferenceObject(g_Host.Target);
    g_Host.Target = nullptr;
    UNICODE_STRING key;
    InitUnicode(&key, kTargetKey, sizeof kTargetKey);
    const NTSTATUS status = ZwUnloadDriver(&key);
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

}  // namespace

extern "C" NTSTATUS NTAPI DriverEntry(PDRIVER_OBJECT driver, PUNICODE_STRING) {
    g_Host.Self = driver;
    for (ULONG i = 0; i <= IRP_MJ_MAXIMUM_FUNCTION; ++i) driver->MajorFunction[i] = Dispatch;
    UNICODE_STRING name, link;
    InitUnicode(&name, kDeviceName, sizeof kDeviceName);
    InitUnicode(&link, kLinkName, sizeof kLinkName);
    return KvCreateControlDevice(driver, sizeof(HostExtension), kHostMagic, &name, &link, &g_Host.Control);
}
