// The mouse-stack harness: plays the Plug and Play manager, the HID mouse
// driver at the bottom of each node, the mouse class driver and the
// system's input thread that reads from the top. Test code only.
#pragma once
#include "kernel_headers.h"

extern "C" {
#include <ntddmou.h>
}

#include "kvfhost_protocol.h"

// From the DDK's kbdmou.h, whose mingw copy pulls in a header mingw lacks.
#define KVF_MOUSE_CONNECT CTL_CODE(FILE_DEVICE_MOUSE, 0x0080, METHOD_NEITHER, FILE_ANY_ACCESS)

struct KvfConnect {
    PDEVICE_OBJECT ClassDeviceObject;
    PVOID ClassService;
};
typedef void(NTAPI* KvfService)(PDEVICE_OBJECT, PMOUSE_INPUT_DATA, PMOUSE_INPUT_DATA, PULONG);

constexpr ULONG kNodeMagic = KvFourCc('F', 'P', 'd', 'o');
constexpr ULONG kClassMagic = KvFourCc('F', 'C', 'l', 's');
constexpr ULONG kHostMagic = KvFourCc('F', 'C', 't', 'l');

struct HostExtension {
    ULONG Magic;
    ULONG Node;
};

// The mouse class stand-in on one node: connected to the HID mouse driver
// below, it queues the packets reported to it and answers reads with them.
struct ClassExtension {
    HostExtension Header;
    PDEVICE_OBJECT Self;
    PDEVICE_OBJECT Lower;
    KSPIN_LOCK Lock;
    PIRP PendingRead;
    bool Connected;
    bool Gone;  // surprise-removed: reads fail
    MOUSE_INPUT_DATA Queue[KVFHOST_MAX_PACKETS];
    ULONG Queued;
};

struct MouseNode {
    PDEVICE_OBJECT Pdo;
    ULONG Kind;
    KvfConnect Connect;     // the class's connection, as it reached the physical device
    volatile LONG Arrived;  // requests that reached the physical device
    // The input thread's read, kept here rather than on a stack: a read
    // that never completes must not leave the stack it was waited on.
    KEVENT ReadDone;
    IO_STATUS_BLOCK ReadIo;
    MOUSE_INPUT_DATA ReadBuffer[KVFHOST_MAX_PACKETS];
};

struct Host {
    PDRIVER_OBJECT Self;
    PDEVICE_OBJECT Control;
    PDRIVER_OBJECT Target;
    MouseNode Nodes[KVFHOST_MAX_NODES];
};
extern Host g_Host;

// mouse_node.cpp: the nodes, their physical devices and the requests sent in.
NTSTATUS AddNode(ULONG kind, ULONG* index);
NTSTATUS ReadPackets(const KvfPackets& packets, KvfPacketsSeen* seen);
NTSTATUS SendRequest(ULONG node, ULONG request, ULONG* arrived);
NTSTATUS RemoveAllNodes();
NTSTATUS DispatchNode(PDEVICE_OBJECT device, PIRP irp);

// node_stack.cpp: the drivers above a physical device, in Windows' order.
NTSTATUS BuildStack(PDEVICE_OBJECT pdo);

// class_standin.cpp: the mouse class driver.
NTSTATUS AddClassDevice(PDEVICE_OBJECT pdo);
NTSTATUS DispatchClass(PDEVICE_OBJECT device, PIRP irp);
