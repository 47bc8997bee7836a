// Driver entry and unload: the driver-wide state, the dispatch table.
#include "beep.h"
#include "filter_extension.h"
#include "settings_read.h"
#include "unload_safe_completion.h"

DriverGlobals g_Driver;

namespace {

KV_PAGED void NTAPI Unload(PDRIVER_OBJECT) {
    StopBeep();
    if (g_Driver.RegistryPath.Buffer) ExFreePoolWithTag(g_Driver.RegistryPath.Buffer, kPoolTag);
    g_Driver.RegistryPath.Buffer = nullptr;
}

KV_INIT bool CopyRegistryPath(const UNICODE_STRING* path) {
    UNICODE_STRING& copy = g_Driver.RegistryPath;
    copy.Length = 0;
    copy.MaximumLength = static_cast<USHORT>(path->MaximumLength + sizeof(wchar_t));
    copy.Buffer = static_cast<PWCH>(ExAllocatePoolWithTag(PagedPool, copy.MaximumLength, kPoolTag));
    if (!copy.Buffer) return false;
    RtlZeroMemory(copy.Buffer, copy.MaximumLength);
    RtlCopyUnicodeString(&copy, path);
    return true;
}

KV_INIT void FillDispatchTable(PDRIVER_OBJECT driver) {
    for (ULONG i = 0; i <= IRP_MJ_MAXIMUM_FUNCTION; ++i) driver->MajorFunction[i] = KvDispatchGeneric;
    driver->MajorFunction[IRP_MJ_CREATE] = KvDispatchCreateClose;
    driver->MajorFunction[IRP_MJ_CLOSE] = KvDispatchCreateClose;
    driver->MajorFunction[IRP_MJ_CLEANUP] = KvDispatchCreateClose;
    driver->MajorFunction[IRP_MJ_DEVICE_CONTROL] = KvDispatchDeviceControl;
    driver->MajorFunction[IRP_MJ_INTERNAL_DEVICE_CONTROL] = KvDispatchInternalControl;
    driver->MajorFunction[IRP_MJ_PNP] = KvDispatchPnp;
    driver->DriverExtension->AddDevice = KvAddDevice;
    driver->DriverUnload = Unload;
}

}  // namespace

extern "C" KV_INIT NTSTATUS NTAPI DriverEntry(PDRIVER_OBJECT driver, PUNICODE_STRING registryPath) {
    kv::ClearDriverState(g_Driver.State);
    KeInitializeSpinLock(&g_Driver.StateLock);
    // The timer exists before any device, so nothing can start a beep on
    // an uninitialised timer (a second controller never creates one).
    InitializeBeep();
    FindUnloadSafeCompletion();
    // The path is needed by every settings read, this first one included.
    if (!CopyRegistryPath(registryPath)) return kv::kStatusNoPoolForPath;
    ReadDriverSettings();
    FillDispatchTable(driver);
    return STATUS_SUCCESS;
}
