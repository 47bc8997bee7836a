// The mouse-stack filter: its device extension and the pieces that the
// dispatch files share.
#pragma once
#include "kernel_headers.h"
#include "request_count.h"

extern "C" {
#include <ntddmou.h>
}

constexpr ULONG kKvFiltSignature = KvFourCc('K', 'v', 'F', 'l');

struct KvFiltExtension {
    ULONG Signature;
    PDEVICE_OBJECT Self;
    PDEVICE_OBJECT Lower;
    PDEVICE_OBJECT Pdo;
    // Requests inside the filter, and whether the node is being removed:
    // from then on new requests are refused.
    RequestCount Requests;
    volatile LONG Removing;
    // Set once at AddDevice: only the touch screen's own node is touched;
    // every other mouse gets plain pass-through.
    BOOLEAN IsTouchScreen;
    // Decided as the node starts: absolute packets are stamped as virtual-
    // desktop coordinates (placements on a primary/secondary monitor pair).
    volatile LONG VirtualDesktop;
};

inline KvFiltExtension* KvFiltOf(PDEVICE_OBJECT device) {
    return static_cast<KvFiltExtension*>(device->DeviceExtension);
}

// Counts a request in, unless the node is being removed (then the
// request is completed with STATUS_DELETE_PENDING and false returned).
bool KvFiltEnter(KvFiltExtension* ext, PIRP irp);
// Sends the request on unchanged and counts it out.
NTSTATUS KvFiltSkipDown(KvFiltExtension* ext, PIRP irp);
NTSTATUS KvFiltComplete(PIRP irp, NTSTATUS status);

// touch_node.cpp: is this device node the touch screen's HID child, and
// which placement does the touch driver use.
bool KvFiltIsTouchScreenNode(PDEVICE_OBJECT pdo);
bool KvFiltPlacementNeedsVirtualDesktop();

extern "C" {
DRIVER_ADD_DEVICE KvFiltAddDevice;
DRIVER_DISPATCH KvFiltDispatchPnp;
DRIVER_DISPATCH KvFiltDispatchPower;
DRIVER_DISPATCH KvFiltDispatchPassThrough;
DRIVER_DISPATCH KvFiltDispatchRead;  // read_stamp.cpp
}
