// The mouse-stack harness: plays the Plug and Play manager, the HID mouse
// driver below kvfilt and the mouse class above it. Test code only.
#pragma once
#include "kernel_headers.h"

extern "C" {
#include <ntddmou.h>
NTSYSAPI NTSTATUS NTAPI ObReferenceObjectByName(PUNICODE_STRING name, ULONG attributes, PACCESS_STATE access,
                                                ACCESS_MASK desired, POBJECT_TYPE type, KPROCESSOR_MODE mode,
                                                PVOID parse, PVOID* object);
}

#include "kvfhost_protocol.h"

#define KVF_MOUSE_CONNECT CTL_CODE(FILE_DEVICE_MOUSE, 0x0080, METHOD_NEITHER, FILE_ANY_ACCESS)
#define KVF_MOUSE_DISCONNECT CTL_CODE(FILE_DEVICE_MOUSE, 0x0100, METHOD_NEITHER, FILE_ANY_ACCESS)

struct KvfConnect {
    PDEVICE_OBJECT ClassDeviceObject;
    PVOID ClassService;
};
typedef void(NTAPI* KvfService)(PDEVICE_OBJECT, PMOUSE_INPUT_DATA, PMOUSE_INPUT_DATA, PULONG);

constexpr ULONG kNodeMagic = KvFourCc('F', 'P', 'd', 'o');
constexpr ULONG kHostMagic = KvFourCc('F', 'C', 't', 'l');

struct HostExtension {
    ULONG Magic;
    ULONG Node;
};

struct MouseNode {
    PDEVICE_OBJECT Pdo;
    ULONG Kind;
    KvfConnect Connect;  // as it reached the physical device
    volatile LONG Arrived;  // requests that reached the physical device
};

struct Host {
    PDRIVER_OBJECT Self;
    PDEVICE_OBJECT Control;  // also the "mouse class" device of connects
    PDRIVER_OBJECT Target;
    MouseNode Nodes[KVFHOST_MAX_NODES];
    KvfPacketsSeen Seen;
};
extern Host g_Host;

// mouse_node.cpp
NTSTATUS AddNode(ULONG kind, ULONG* index);
NTSTATUS ConnectNode(ULONG node, ULONG* classOwn);
NTSTATUS SendPackets(const KvfPackets& packets, KvfPacketsSeen* seen);
NTSTATUS SendRequest(ULONG node, ULONG request, ULONG* arrived);
NTSTATUS RemoveAllNodes();
NTSTATUS DispatchNode(PDEVICE_OBJECT device, PIRP irp);
