// AddDevice: the filter device on the controller's stack, and the one
// control device with its link for the first controller.
#include "class_request.h"
#include "control_security.h"
#include "filter_extension.h"

namespace {

// Constant storage: the extension's link name points here.
wchar_t kControlDeviceName[] = L"\\Device\\PointerUsb0";
wchar_t kLinkName[] = L"\\??\\kvusb";

KV_PAGED void InitUnicode(UNICODE_STRING* string, wchar_t* text, USHORT bytes) {
    string->Buffer = text;
    string->Length = static_cast<USHORT>(bytes - sizeof(wchar_t));
    string->MaximumLength = bytes;
}

KV_PAGED void InitExtension(PDEVICE_OBJECT device, PDEVICE_OBJECT filter, PDEVICE_OBJECT control,
                            PDEVICE_OBJECT physical, bool isFilter) {
    FilterExtension* ext = ExtensionOf(device);
    RtlZeroMemory(ext, sizeof *ext);
    ext->Signature = kExtensionSignature;
    ext->PnpState = kPnpAdded;
    ext->FilterDevice = filter;
    ext->ControlDevice = control;
    ext->PhysicalDevice = physical;
    ext->IsFilter = isFilter;
    InitializeRequestCount(&ext->Requests);
    InitializeClassRequestGate(&ext->ClassRequests);
}

// A filter looks like the device below it to the drivers and the I/O
// manager above. One stack location more than the device we attached to:
// with another lower filter below us, the physical device's own size is
// one short.
KV_PAGED void TakeLowerDeviceTraits(PDEVICE_OBJECT filter, PDEVICE_OBJECT lower) {
    const ULONG inherited = DO_BUFFERED_IO | DO_DIRECT_IO | DO_POWER_PAGABLE | DO_POWER_INRUSH;
    filter->DeviceType = lower->DeviceType;
    filter->Characteristics = lower->Characteristics;
    filter->StackSize = static_cast<CCHAR>(lower->StackSize + 1);
    filter->Flags |= lower->Flags & inherited;
    filter->Flags &= ~DO_DEVICE_INITIALIZING;
}

// The control interface for this instance; false when another instance
// holds it (a second controller), or the device cannot be kept to its
// users, which leaves a working filter.
KV_PAGED bool CreateLink(FilterExtension* ext, PDEVICE_OBJECT control, UNICODE_STRING* controlName) {
    if (!NT_SUCCESS(RestrictControlDevice(control))) return false;
    UNICODE_STRING link;
    InitUnicode(&link, kLinkName, sizeof kLinkName);
    if (!NT_SUCCESS(IoCreateSymbolicLink(&link, controlName))) return false;
    ext->LinkName = link;
    return true;
}

}  // namespace

extern "C" KV_PAGED NTSTATUS NTAPI KvAddDevice(PDRIVER_OBJECT driver, PDEVICE_OBJECT physical) {
    PDEVICE_OBJECT filter = nullptr;
    PDEVICE_OBJECT control = nullptr;
    UNICODE_STRING controlName;
    InitUnicode(&controlName, kControlDeviceName, sizeof kControlDeviceName);
    // The filter is unnamed, as WDM filters are: it is reached through the
    // stack only. The control device checks its DACL on every open, also of
    // a path below its name.
    const NTSTATUS status = IoCreateDevice(driver, sizeof(FilterExtension), nullptr, FILE_DEVICE_UNKNOWN, 0, FALSE,
                                           &filter);
    if (!NT_SUCCESS(IoCreateDevice(driver, sizeof(FilterExtension), &controlName, FILE_DEVICE_UNKNOWN,
                                   FILE_DEVICE_SECURE_OPEN, FALSE, &control))) {
        control = nullptr;
    }
    if (!NT_SUCCESS(status)) {
        if (control) IoDeleteDevice(control);
        return status;
    }

    InitExtension(filter, filter, control, physical, true);
    FilterExtension* ext = ExtensionOf(filter);
    ext->LowerDevice = IoAttachDeviceToDeviceStack(filter, physical);
    if (!ext->LowerDevice) {
        if (control) IoDeleteDevice(control);
        IoDeleteDevice(filter);
        return STATUS_NO_SUCH_DEVICE;
    }
    TakeLowerDeviceTraits(filter, ext->LowerDevice);

    if (!control) return status;
    if (!CreateLink(ext, control, &controlName)) {
        IoDeleteDevice(control);
        ext->ControlDevice = nullptr;
        return status;
    }
    InitExtension(control, filter, control, physical, false);
    // The control device's class requests go to the physical device, from
    // handles that may outlive the controller: held until its removal.
    ObReferenceObject(physical);
    control->Flags |= DO_BUFFERED_IO;
    control->Flags &= ~DO_DEVICE_INITIALIZING;
    return status;
}
