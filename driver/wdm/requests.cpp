// Request bookkeeping shared by the dispatch routines: the outstanding
// count that removal waits for, completion and pass-through.
#include "filter_extension.h"

void AcquireRequest(FilterExtension* ext) { InterlockedIncrement(&ext->OutstandingRequests); }

void ReleaseRequest(FilterExtension* ext) {
    if (InterlockedDecrement(&ext->OutstandingRequests) < 0) {
        KeSetEvent(&ext->RemoveEvent, IO_NO_INCREMENT, FALSE);
    }
}

NTSTATUS CompleteRequest(PIRP irp, NTSTATUS status, ULONG_PTR information) {
    irp->IoStatus.Status = status;
    irp->IoStatus.Information = information;
    IoCompleteRequest(irp, IO_NO_INCREMENT);
    return status;
}

NTSTATUS PassDown(FilterExtension* ext, PIRP irp) {
    IoCopyCurrentIrpStackLocationToNext(irp);
    return IoCallDriver(ext->LowerDevice, irp);
}
