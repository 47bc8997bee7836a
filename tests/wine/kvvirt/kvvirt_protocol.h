/* The virtual touch controller's control interface, shared by the test
 * kernel driver kvvirt.sys and its Win32 clients. Records are fixed-size
 * little-endian words, the same on i686 and x86_64. */
#ifndef KV_TESTS_KVVIRT_PROTOCOL_H
#define KV_TESTS_KVVIRT_PROTOCOL_H

#include <stdint.h>

#define KVVIRT_DEVICE_PATH "\\\\.\\kvvirt"
#define KVVIRT_SERVICE "kvvirt"
#define KVVIRT_TARGET_SERVICE "KVUSB"

#define KVVIRT_CTL(function) ((0x8000u << 16) | ((uint32_t)(function) << 2))

/* Load kvusb.sys if needed and bring controller 0 up (as a controller
 * plugged in: 0xC000038E while a removed instance is still held open).
 * Out: KvVirtStatus. */
#define IOCTL_KVVIRT_START KVVIRT_CTL(0x800)
/* Add and start one more controller. Out: KvVirtStatus (Value = index). */
#define IOCTL_KVVIRT_ADD_CONTROLLER KVVIRT_CTL(0x801)
/* In: KvVirtReportHeader + bytes. Out: the bytes as they arrive above. */
#define IOCTL_KVVIRT_REPORT KVVIRT_CTL(0x802)
/* Out: KvVirtBeep records, oldest first; the list is cleared. */
#define IOCTL_KVVIRT_TAKE_BEEPS KVVIRT_CTL(0x803)
/* Out: KvVirtClassRequest records, oldest first; cleared. */
#define IOCTL_KVVIRT_TAKE_REQUESTS KVVIRT_CTL(0x804)
/* In: KvVirtPnp. Out: KvVirtStatus with the status from the stack. */
#define IOCTL_KVVIRT_PNP KVVIRT_CTL(0x805)
/* Out: KvVirtStackEvent records that reached the physical device; cleared. */
#define IOCTL_KVVIRT_TAKE_STACK_EVENTS KVVIRT_CTL(0x806)
/* Remove every controller and unload kvusb.sys. Out: KvVirtStatus. */
#define IOCTL_KVVIRT_UNLOAD KVVIRT_CTL(0x807)
/* Out: KvVirtState. */
#define IOCTL_KVVIRT_QUERY KVVIRT_CTL(0x808)
/* Out: KvVirtAccounting; its counts of events are cleared. */
#define IOCTL_KVVIRT_TAKE_ACCOUNTING KVVIRT_CTL(0x809)
/* In: uint32 N: the filter's Nth pool allocation from now fails (0: none). */
#define IOCTL_KVVIRT_FAIL_ALLOCATION KVVIRT_CTL(0x80A)
/* In: KvVirtDpcModel. */
#define IOCTL_KVVIRT_DPC_MODEL KVVIRT_CTL(0x80B)

#define KVVIRT_MAX_CONTROLLERS 2u
#define KVVIRT_MAX_REPORT 64u
#define KVVIRT_MAX_RECORDS 256u
#define KVVIRT_MAX_REQUEST_DATA 64u

typedef struct KvVirtStatus {
    int32_t Status; /* NTSTATUS */
    uint32_t Value;
} KvVirtStatus;

/* How the virtual device hands the report back. */
#define KVVIRT_REPORT_COMPLETE_AT_ONCE 0u
#define KVVIRT_REPORT_COMPLETE_LATER 1u /* STATUS_PENDING, completed by a timer */
#define KVVIRT_REPORT_NO_BUFFER 2u      /* transfer buffer pointer left null */

typedef struct KvVirtReportHeader {
    uint32_t Controller;
    uint32_t Mode;
    uint32_t Length; /* bytes that follow, at most KVVIRT_MAX_REPORT */
} KvVirtReportHeader;

typedef struct KvVirtBeep {
    uint32_t Frequency;
    uint32_t Milliseconds; /* 0xFFFFFFFF while still sounding */
} KvVirtBeep;

typedef struct KvVirtClassRequest {
    uint32_t Function; /* URB function */
    uint32_t Request;
    uint32_t DeviceToHost;
    uint32_t Value;
    uint32_t Index;
    uint32_t Length;
    uint8_t Data[KVVIRT_MAX_REQUEST_DATA]; /* the first bytes of a host-to-device stage */
} KvVirtClassRequest;

/* Requests sent into the stack from the top. */
#define KVVIRT_PNP_START 0x00u
#define KVVIRT_PNP_QUERY_REMOVE 0x01u
#define KVVIRT_PNP_REMOVE 0x02u
#define KVVIRT_PNP_STOP 0x04u
#define KVVIRT_PNP_QUERY_STOP 0x05u
#define KVVIRT_PNP_SURPRISE_REMOVAL 0x17u
#define KVVIRT_POWER_D0 0x100u
#define KVVIRT_POWER_D3 0x103u
#define KVVIRT_CREATE 0x200u /* IRP_MJ_CREATE to the filter device */
#define KVVIRT_READ 0x201u   /* IRP_MJ_READ: a counted request */

typedef struct KvVirtPnp {
    uint32_t Controller;
    uint32_t Request;
} KvVirtPnp;

typedef struct KvVirtStackEvent {
    uint32_t Controller;
    uint32_t Major;
    uint32_t Minor;
} KvVirtStackEvent;

/* What the harness saw the filter do, as Driver Verifier would count it. */
typedef struct KvVirtAccounting {
    uint32_t PoolAllocations;  /* by the filter (not cleared) */
    uint32_t PoolOutstanding;  /* allocated and not yet freed (not cleared) */
    uint32_t PoolMisuses;      /* a tag other than Filt, a free of a block not ours */
    uint32_t PoolFailures;     /* allocations failed on purpose */
    uint32_t IrpsSent;         /* by the harness into a stack */
    uint32_t IrpsCompleted;
    uint32_t IrpsMiscompleted; /* completed twice, or never within the harness's wait */
    uint32_t LateRequests;     /* reached a physical device after its surprise removal or removal */
    uint32_t StackOverruns;    /* reached the device below the filter with no stack location left */
    uint32_t LateDpcs;         /* a DPC of the filter still queued or running when its unload returned */
} KvVirtAccounting;

/* How the harness's timers and DPCs behave for the filter: as on Windows,
 * a DPC may be queued and not yet run, or running, when a timer is
 * cancelled. KeFlushQueuedDpcs is offered from XP on. */
typedef struct KvVirtDpcModel {
    uint32_t Windows2000;   /* 1: the system has no KeFlushQueuedDpcs */
    uint32_t QueuedHoldMs;  /* an expired timer's DPC waits this long before it runs */
    uint32_t RunningHoldMs; /* a DPC that ends the tone takes this long inside the speaker call */
    uint32_t Reserved;
} KvVirtDpcModel;

typedef struct KvVirtState {
    uint32_t Loaded;
    uint32_t Controllers; /* bit i set: controller i present */
    uint32_t ImportsPatched; /* the harness stands in for the filter's speaker, pool and timer imports */
    uint32_t PriorInstance;  /* removed with its last controller, but something of it is still open */
} KvVirtState;

#endif
