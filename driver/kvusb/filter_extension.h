// The device extension of both device objects, and the driver-wide state
// that every device instance shares.
#pragma once
#include "kernel_headers.h"
#include "request_count.h"

#include "driver_state.h"

constexpr ULONG kExtensionSignature = KvFourCc('F', 'l', 't', 'r');

enum PnpState : ULONG {
    kPnpAdded = 0,
    kPnpStarting = 1,
    kPnpStarted = 2,
    kPnpStartFailed = 3,
    kPnpStopped = 4,
    // 5 is not used: a device in low power is still started, and a stop
    // passes down whatever the power state.
    kPnpSurpriseRemoved = 6,
    kPnpRemoved = 7,
};

// Class requests at the controller, so that its going can cancel them.
struct ClassRequestGate {
    KSPIN_LOCK Lock;
    LIST_ENTRY Pending;  // requests at the controller, listed by their senders
    BOOLEAN Closed;      // the controller is going: nothing more is sent
};

struct FilterExtension {
    ULONG Signature;
    volatile ULONG PnpState;
    PDEVICE_OBJECT FilterDevice;
    PDEVICE_OBJECT ControlDevice;
    PDEVICE_OBJECT PhysicalDevice;
    PDEVICE_OBJECT LowerDevice;
    RequestCount Requests;  // what removal waits for
    BOOLEAN IsFilter;
    UNICODE_STRING LinkName;
    ClassRequestGate ClassRequests;  // the control device's
};

// Driver-wide: settings, touch and capture state with the lock that
// serialises report completions against each other and against the
// control codes that touch the same words.
struct DriverGlobals {
    kv::DriverState State;
    KSPIN_LOCK StateLock;
    UNICODE_STRING RegistryPath;
    KTIMER BeepTimer;
    KDPC BeepDpc;
    // Released by the ending DPC as its very last act, emptied at each timer
    // setting: not signalled from a setting until its DPC has left.
    KSEMAPHORE BeepDpcDone;
};
extern DriverGlobals g_Driver;  // NOLINT(bugprone-dynamic-static-initializers): a declaration only

inline FilterExtension* ExtensionOf(PDEVICE_OBJECT device) {
    return static_cast<FilterExtension*>(device->DeviceExtension);
}

// Surprise-removed or removed: the controller is gone or going.
inline bool IsGoing(const FilterExtension* ext) {
    return ext->PnpState == kPnpSurpriseRemoved || ext->PnpState == kPnpRemoved;
}

// Completes a request with a status and no data, no priority boost.
NTSTATUS CompleteRequest(PIRP irp, NTSTATUS status, ULONG_PTR information = 0);

// Sends the request to the lower device with this stack location copied
// unchanged, no completion routine.
NTSTATUS PassDown(FilterExtension* ext, PIRP irp);

// Dispatch routines, one file each.
extern "C" {
DRIVER_ADD_DEVICE KvAddDevice;
DRIVER_DISPATCH KvDispatchCreateClose;
DRIVER_DISPATCH KvDispatchDeviceControl;
DRIVER_DISPATCH KvDispatchInternalControl;
DRIVER_DISPATCH KvDispatchPnp;
DRIVER_DISPATCH KvDispatchPower;
DRIVER_DISPATCH KvDispatchGeneric;
}
