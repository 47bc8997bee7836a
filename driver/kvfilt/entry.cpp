// kvfilt.sys entry: the dispatch table and AddDevice. An upper filter of
// the mouse class, listed after the class driver itself: it sits above it
// on every mouse, so it attaches to each one and changes nothing except the
// reads of the touch screen's own HID node.
#include "kvfilt.h"
#include "unload_safe_completion.h"

namespace {

KV_PAGED void NTAPI Unload(PDRIVER_OBJECT) {
    // Every device object went with its node's removal.
}

}  // namespace

extern "C" KV_PAGED NTSTATUS NTAPI KvFiltAddDevice(PDRIVER_OBJECT driver, PDEVICE_OBJECT pdo) {
    // Asked of the physical device before attaching, so no request of ours
    // travels through a half-built stack.
    const bool touchScreen = KvFiltIsTouchScreenNode(pdo);
    PDEVICE_OBJECT device = nullptr;
    NTSTATUS status = IoCreateDevice(driver, sizeof(KvFiltExtension), nullptr, FILE_DEVICE_MOUSE, 0, FALSE, &device);
    if (!NT_SUCCESS(status)) return status;
    KvFiltExtension* ext = KvFiltOf(device);
    RtlZeroMemory(ext, sizeof *ext);
    ext->Signature = kKvFiltSignature;
    ext->Self = device;
    ext->Pdo = pdo;
    ext->IsTouchScreen = touchScreen;
    InitializeRequestCount(&ext->Requests);
    ext->Lower = IoAttachDeviceToDeviceStack(device, pdo);
    if (!ext->Lower) {
        IoDeleteDevice(device);
        return STATUS_NO_SUCH_DEVICE;
    }
    // Look like the device below to whoever sits above.
    device->DeviceType = ext->Lower->DeviceType;
    device->Characteristics = ext->Lower->Characteristics;
    device->Flags |= ext->Lower->Flags & (DO_BUFFERED_IO | DO_DIRECT_IO | DO_POWER_PAGABLE);
    device->Flags &= ~DO_DEVICE_INITIALIZING;
    return STATUS_SUCCESS;
}

extern "C" KV_INIT NTSTATUS NTAPI DriverEntry(PDRIVER_OBJECT driver, PUNICODE_STRING) {
    FindUnloadSafeCompletion();
    for (ULONG i = 0; i <= IRP_MJ_MAXIMUM_FUNCTION; ++i) driver->MajorFunction[i] = KvFiltDispatchPassThrough;
    driver->MajorFunction[IRP_MJ_PNP] = KvFiltDispatchPnp;
    driver->MajorFunction[IRP_MJ_POWER] = KvFiltDispatchPower;
    driver->MajorFunction[IRP_MJ_READ] = KvFiltDispatchRead;
    driver->DriverExtension->AddDevice = KvFiltAddDevice;
    driver->DriverUnload = Unload;
    return STATUS_SUCCESS;
}
