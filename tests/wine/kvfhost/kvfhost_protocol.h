/* The mouse-stack harness for kvfilt.sys: shared by the test kernel driver
 * kvfhost.sys and its Win32 test. Fixed-size little-endian records. */
#ifndef KV_TESTS_KVFHOST_PROTOCOL_H
#define KV_TESTS_KVFHOST_PROTOCOL_H

#include <stdint.h>

#define KVFHOST_DEVICE_PATH "\\\\.\\kvfhost"
#define KVFHOST_SERVICE "kvfhost"
#define KVFHOST_TARGET_SERVICE "kvfilt"

#define KVFHOST_CTL(function) ((0x8000u << 16) | ((uint32_t)(function) << 2))

/* Load kvfilt.sys. Out: KvfStatus. */
#define IOCTL_KVFHOST_LOAD KVFHOST_CTL(0x800)
/* In: u32 node kind. Out: KvfStatus (Value = node index): a mouse device
 * node whose stack is built as Windows builds it from the registry: the
 * HID mouse driver on the physical device, then the mouse class's upper
 * filters in list order (mouclass played by the harness, kvfilt the real
 * one), started. */
#define IOCTL_KVFHOST_ADD_NODE KVFHOST_CTL(0x801)
/* In: KvfPackets. Out: KvfPacketsSeen: a read sent in at the top of the
 * node, as the system's input thread sends it, and the packets the HID
 * mouse driver reports while it is pending, as the read returns them. */
#define IOCTL_KVFHOST_READ KVFHOST_CTL(0x803)
/* In: KvfRequest. Out: KvfStatus (Value = requests that reached the
 * physical device while this one was handled). */
#define IOCTL_KVFHOST_REQUEST KVFHOST_CTL(0x804)
/* Remove every node and unload kvfilt.sys. Out: KvfStatus. */
#define IOCTL_KVFHOST_UNLOAD KVFHOST_CTL(0x805)

#define KVFHOST_MAX_NODES 4u
#define KVFHOST_MAX_PACKETS 8u

/* Node kinds: what the physical device answers for its hardware ids. */
#define KVFHOST_NODE_TOUCH 0u         /* HID\VID_7A4E&PID_0001 */
#define KVFHOST_NODE_TOUCH_SUFFIX 1u  /* hid\vid_7a4e&pid_0001&rev_0100 first */
#define KVFHOST_NODE_OTHER_MOUSE 2u   /* HID\VID_7A4E&PID_00010 and another mouse */

/* Requests sent in at the top of a node's stack. */
#define KVFHOST_PNP_START 0x00u       /* IRP_MJ_PNP with these minor codes */
#define KVFHOST_PNP_QUERY_REMOVE 0x01u
#define KVFHOST_PNP_REMOVE 0x02u
#define KVFHOST_PNP_CANCEL_REMOVE 0x03u
#define KVFHOST_PNP_STOP 0x04u
#define KVFHOST_PNP_QUERY_STOP 0x05u
#define KVFHOST_PNP_SURPRISE_REMOVAL 0x17u
#define KVFHOST_POWER_D0 0x100u
#define KVFHOST_POWER_D3 0x103u
#define KVFHOST_REMOVE_WHILE_READING 0x300u /* removal with a read pending; Value = 1 when it completed */

typedef struct KvfStatus {
    int32_t Status;
    uint32_t Value;
} KvfStatus;

typedef struct KvfPackets {
    uint32_t Node;
    uint32_t Count;
    uint16_t Flags[KVFHOST_MAX_PACKETS];
} KvfPackets;

typedef struct KvfPacketsSeen {
    int32_t ReadStatus;
    uint32_t Count;    /* packets the read returned */
    uint16_t Flags[KVFHOST_MAX_PACKETS];
    int32_t LastX[KVFHOST_MAX_PACKETS];
} KvfPacketsSeen;

typedef struct KvfRequest {
    uint32_t Node;
    uint32_t Request;
} KvfRequest;

#endif
