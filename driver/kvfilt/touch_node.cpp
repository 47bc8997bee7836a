// What the filter needs to know about its node: whether it is the touch
// screen's HID child, and the touch driver's screen placement.
#include "kvfilt.h"

#include "kvshared.h"
#include "registry_value.h"

namespace {

// The controller's HID child, with or without a revision or collection
// suffix ("...&REV_0100", "...&Col01").
const wchar_t kTouchHidId[] = L"HID\\VID_7A4E&PID_0001";

wchar_t Upper(wchar_t c) { return (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - L'a' + L'A') : c; }

// `id` holds `length` characters (no terminator needed).
KV_PAGED bool IsTouchHidId(const wchar_t* id, ULONG length) {
    const ULONG wanted = sizeof kTouchHidId / sizeof(wchar_t) - 1;
    if (length < wanted) return false;
    for (ULONG i = 0; i < wanted; ++i) {
        if (Upper(id[i]) != kTouchHidId[i]) return false;
    }
    return length == wanted || id[wanted] == L'&';
}

wchar_t kParametersKey[] = L"\\Registry\\Machine\\" KV_WIDE(KV_PARAMETERS_KEY);
const wchar_t kPlacementValue[] = L"DBScreenPos";

KV_PAGED void InitUnicode(UNICODE_STRING* string, wchar_t* text, USHORT bytes) {
    string->Buffer = text;
    string->Length = static_cast<USHORT>(bytes - sizeof(wchar_t));
    string->MaximumLength = bytes;
}

// The node's hardware ids as its bus driver reports them (a multi-string
// from paged pool that the caller frees), or null. Asked of the stack
// directly rather than through the device property, which the system
// answers only for nodes it has fully registered.
KV_PAGED wchar_t* QueryHardwareIds(PDEVICE_OBJECT pdo) {
    PDEVICE_OBJECT top = IoGetAttachedDeviceReference(pdo);
    KEVENT done;
    IO_STATUS_BLOCK io;
    KeInitializeEvent(&done, NotificationEvent, FALSE);
    PIRP irp = IoBuildSynchronousFsdRequest(IRP_MJ_PNP, top, nullptr, 0, nullptr, &done, &io);
    NTSTATUS status = STATUS_INSUFFICIENT_RESOURCES;
    io.Information = 0;
    if (irp) {
        PIO_STACK_LOCATION next = IoGetNextIrpStackLocation(irp);
        next->MinorFunction = IRP_MN_QUERY_ID;
        next->Parameters.QueryId.IdType = BusQueryHardwareIDs;
        irp->IoStatus.Status = STATUS_NOT_SUPPORTED;
        status = IoCallDriver(top, irp);
        if (status == STATUS_PENDING) {
            KeWaitForSingleObject(&done, Executive, KernelMode, FALSE, nullptr);
            status = io.Status;
        }
    }
    ObDereferenceObject(top);
    return NT_SUCCESS(status) ? reinterpret_cast<wchar_t*>(io.Information) : nullptr;
}

}  // namespace

KV_PAGED bool KvFiltIsTouchScreenNode(PDEVICE_OBJECT pdo) {
    wchar_t* ids = QueryHardwareIds(pdo);
    if (!ids) return false;
    // A multi-string ended by an empty string; walked within a sane bound.
    const ULONG kMaxCharacters = 4096;
    bool found = false;
    for (ULONG start = 0; start < kMaxCharacters && ids[start] && !found;) {
        ULONG end = start;
        while (end < kMaxCharacters && ids[end]) ++end;
        found = IsTouchHidId(ids + start, end - start);
        start = end + 1;
    }
    ExFreePool(ids);
    return found;
}

// Placements 5 and 6 put the touch screen on one monitor of a pair; the
// others map onto the primary screen (or a desktop stretched across it).
// Only a well-formed REG_DWORD counts; anything else means no placement.
KV_PAGED bool KvFiltPlacementNeedsVirtualDesktop() {
    UNICODE_STRING keyName;
    InitUnicode(&keyName, kParametersKey, sizeof kParametersKey);
    HANDLE key;
    if (!NT_SUCCESS(OpenRegistryKey(&keyName, KEY_QUERY_VALUE, &key))) return false;
    ULONG placement = DBSCREENPOS_SINGLE;
    const bool stored = QueryDwordValue(key, kPlacementValue, &placement);
    ZwClose(key);
    return stored && (placement == DBSCREENPOS_SLAVE || placement == DBSCREENPOS_PRIMARY);
}
