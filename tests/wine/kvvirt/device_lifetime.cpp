// How Windows ends a Plug and Play driver's life, which Wine does not: a
// device object deleted while files are open on it stays until the last of
// them is closed, and the driver is unloaded once its last controller is
// removed and its devices are all gone. While a removed instance stays, a
// controller plugged in again does not start (Code 38: a previous instance
// of the device driver is still in memory). The harness counts the files
// open on the filter's devices by wrapping its create and close dispatch,
// holds back the filter's IoDeleteDevice (its import) while any is open,
// and settles the rest at its own next request: it is the only observer.
#include "harness.h"

namespace {

// The filter's devices that files were opened on; it has a few.
struct WatchedDevice {
    PDEVICE_OBJECT Device;
    LONG OpenFiles;
    bool DeletePending;
};
WatchedDevice g_Watched[8];
KSPIN_LOCK g_WatchLock;
PDRIVER_DISPATCH g_FilterCreate, g_FilterClose;

// DEVICE's entry, made when `add`; null when there is none (or no room).
// Runs with the watch lock held.
WatchedDevice* Entry(PDEVICE_OBJECT device, bool add) {
    for (WatchedDevice& watched : g_Watched) {
        if (watched.Device == device) return &watched;
    }
    for (WatchedDevice& watched : g_Watched) {
        if (add && !watched.Device) return &(watched = WatchedDevice{device, 0, false});
    }
    return nullptr;
}

// Only a real open has a file object; the harness's own requests have
// none. Looked at before the filter completes (and frees) the request.
bool OfAFile(PIRP irp) { return IoGetCurrentIrpStackLocation(irp)->FileObject != nullptr; }

void CountFile(PDEVICE_OBJECT device, LONG change) {
    KIRQL irql;
    KeAcquireSpinLock(&g_WatchLock, &irql);
    if (WatchedDevice* watched = Entry(device, true)) watched->OpenFiles += change;
    KeReleaseSpinLock(&g_WatchLock, irql);
}

extern "C" NTSTATUS NTAPI CountingCreate(PDEVICE_OBJECT device, PIRP irp) {
    const bool file = OfAFile(irp);
    const NTSTATUS status = g_FilterCreate(device, irp);
    if (file && NT_SUCCESS(status) && status != STATUS_PENDING) CountFile(device, 1);
    return status;
}

extern "C" NTSTATUS NTAPI CountingClose(PDEVICE_OBJECT device, PIRP irp) {
    if (OfAFile(irp)) CountFile(device, -1);
    return g_FilterClose(device, irp);
}

// Deletes the held devices nothing is open on any more (all of them: `any`).
void DeleteHeldDevices(bool any) {
    for (;;) {
        PDEVICE_OBJECT device = nullptr;
        KIRQL irql;
        KeAcquireSpinLock(&g_WatchLock, &irql);
        for (WatchedDevice& watched : g_Watched) {
            if (!device && watched.DeletePending && (any || watched.OpenFiles <= 0)) {
                device = watched.Device;
                watched = WatchedDevice{};
            }
        }
        KeReleaseSpinLock(&g_WatchLock, irql);
        if (!device) return;
        IoDeleteDevice(device);
    }
}

}  // namespace

void InitializeDeviceLifetime() { KeInitializeSpinLock(&g_WatchLock); }

void WatchTargetFiles(PDRIVER_OBJECT target) {
    if (target->MajorFunction[IRP_MJ_CREATE] == CountingCreate) return;
    g_FilterCreate = target->MajorFunction[IRP_MJ_CREATE];
    g_FilterClose = target->MajorFunction[IRP_MJ_CLOSE];
    target->MajorFunction[IRP_MJ_CREATE] = CountingCreate;
    target->MajorFunction[IRP_MJ_CLOSE] = CountingClose;
}

extern "C" VOID NTAPI ModelDeleteDevice(PDEVICE_OBJECT device) {
    KIRQL irql;
    KeAcquireSpinLock(&g_WatchLock, &irql);
    WatchedDevice* watched = Entry(device, false);
    const bool held = watched && watched->OpenFiles > 0;
    if (held) watched->DeletePending = true;
    if (watched && !held) *watched = WatchedDevice{};
    KeReleaseSpinLock(&g_WatchLock, irql);
    if (!held) IoDeleteDevice(device);
}

bool PriorInstanceStays() { return g_Harness.Target && g_Harness.UnloadPending; }

void SettleTarget() {
    DeleteHeldDevices(false);
    if (PriorInstanceStays() && !g_Harness.Target->DeviceObject) UnloadLoadedTarget();
}

void ReleaseHeldDevices() { DeleteHeldDevices(true); }
