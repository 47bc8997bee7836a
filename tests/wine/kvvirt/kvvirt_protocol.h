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
/* Out: KvVirtAccounting; its counts (but PoolOutstanding) start again. */
#define IOCTL_KVVIRT_TAKE_ACCOUNTING KVVIRT_CTL(0x809)
/* In: uint32 N: the filter's Nth pool allocation from now fails (0: none). */
#define IOCTL_KVVIRT_FAIL_ALLOCATION KVVIRT_CTL(0x80A)
/* In: KvVirtDpcModel. */
#define IOCTL_KVVIRT_DPC_MODEL KVVIRT_CTL(0x80B)
/* Out: the DACL of the filter's control device as its object holds it, a
 * self-relative security descriptor. */
#define IOCTL_KVVIRT_CONTROL_DACL KVVIRT_CTL(0x80C)
/* In: a path of at most KVVIRT_MAX_PATH wide characters. Out: KvVirtStatus
 * with the status the control device completes an open of that path below
 * its name with (Windows hands such an open to the driver; Wine refuses it
 * itself). */
#define IOCTL_KVVIRT_OPEN_CONTROL KVVIRT_CTL(0x80D)

#define KVVIRT_MAX_CONTROLLERS 2u
#define KVVIRT_MAX_REPORT 64u
#define KVVIRT_MAX_RECORDS 256u
#define KVVIRT_MAX_REQUEST_DATA 64u
#define KVVIRT_MAX_PATH 32u

typedef struct KvVirtStatus {
    int32_t Status; /* NTSTATUS */
    uint32_t Value;
} KvVirtStatus;

/* How the virtual device hands the report back. */
#define KVVIRT_REPORT_COMPLETE_AT_ONCE 0u
#define KVVIRT_REPORT_COMPLETE_LATER 1u /* STATUS_PENDING, completed by a timer */
#define KVVIRT_REPORT_NO_BUFFER 2u      /* transfer buffer pointer left null */
#define KVVIRT_REPORT_FAILED 3u         /* the bytes are in the buffer, but the transfer fails */
#define KVVIRT_REPORT_OUTGOING 4u       /* a host-to-device transfer of the bytes */

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
#define KVVIRT_WMI 0x202u    /* IRP_MJ_SYSTEM_CONTROL */
/* The controller stops answering class requests; once it holds one, a
 * thread of the harness removes it (the request's caller holds the thread
 * that delivers requests to the drivers). */
#define KVVIRT_SILENT_REMOVAL 0x300u

typedef struct KvVirtPnp {
    uint32_t Controller;
    uint32_t Request;
} KvVirtPnp;

typedef struct KvVirtStackEvent {
    uint32_t Controller;
    uint32_t Major;
    uint32_t Minor;
} KvVirtStackEvent;

/* The rules the harness holds the filter to, one row each: a name, and
 * what Windows or Driver Verifier does that makes it a rule. */
#define KVVIRT_FOR_EACH_RULE(X)                                                                                       \
    X(POWER_PASSES, "power and WMI requests reach the device below in every state: Verifier requires a filter to "    \
                    "pass them on, also after surprise removal")                                                    \
    X(NEVER_FAILED, "a stop or a set-power request is never failed: Verifier stops the machine on a failed stop, "  \
                    "and a failed system set-power vetoes standby")                                                 \
    X(NOTHING_AFTER_REMOVAL, "nothing reaches the physical device after the removal went down to it: the bus "     \
                             "driver has deleted it")                                                              \
    X(COMPLETED_ONCE, "every request completed exactly once: Verifier stops the machine on a second completion, "   \
                      "and a lost one leaves its sender waiting")                                                   \
    X(POOL_FREED, "no pool block left once the driver has unloaded: Verifier stops the machine on such an unload")   \
    X(POOL_OWNED, "every block allocated and freed under the driver's tag: Verifier's pool tracking")               \
    X(STACK_LOCATIONS, "a request has a stack location for every driver below: an overrun corrupts the request")    \
    X(NO_LATE_DPC, "no DPC of the driver queued or running once its unload returned: the system would run code "   \
                   "that is gone")                                                                                  \
    X(CLASS_REQUEST_CANCELLED, "a request still at the controller when the removal comes is cancelled: a "         \
                               "controller that never answers would keep it and the removal waiting for ever")

#define KVVIRT_DEFINE_RULE(name, text) KVVIRT_RULE_##name,
enum KvVirtRule { KVVIRT_FOR_EACH_RULE(KVVIRT_DEFINE_RULE) KVVIRT_RULE_COUNT };
#undef KVVIRT_DEFINE_RULE

/* What the harness counted: each rule's breaches, and what it checked. */
typedef struct KvVirtAccounting {
    uint32_t Broken[KVVIRT_RULE_COUNT]; /* breaches of each rule */
    uint32_t IrpsSent;                  /* requests the harness sent into a stack */
    uint32_t PowerSent;                 /* of those, power and WMI requests */
    uint32_t PoolAllocations;           /* by the filter */
    uint32_t PoolOutstanding;           /* allocated and not yet freed (never cleared) */
    uint32_t PoolFailures;              /* allocations failed on purpose */
} KvVirtAccounting;

/* How the harness's timers and DPCs behave for the filter: as on Windows,
 * a DPC may be queued and not yet run, or running, when a timer is
 * cancelled. KeFlushQueuedDpcs is offered from XP on. */
typedef struct KvVirtDpcModel {
    uint32_t Windows2000;   /* 1: the system has no KeFlushQueuedDpcs, no IoSetCompletionRoutineEx */
    uint32_t QueuedHoldMs;  /* an expired timer's DPC waits this long before it runs */
    uint32_t RunningHoldMs; /* a DPC that ends the tone takes this long inside the speaker call */
    uint32_t Reserved;
} KvVirtDpcModel;

typedef struct KvVirtState {
    uint32_t Loaded;
    uint32_t Controllers; /* bit i set: controller i present */
    uint32_t ImportsPatched; /* the harness stands in for the filter's speaker, pool and timer imports */
    uint32_t PriorInstance;  /* removed with its last controller, but something of it is still open */
    uint32_t BeepSounding;   /* a tone has started and not yet ended */
    uint32_t DpcPhase;       /* where the filter's timer DPC is: KVVIRT_DPC_* */
} KvVirtState;

#define KVVIRT_DPC_IDLE 0u
#define KVVIRT_DPC_QUEUED 1u   /* its timer expired, the DPC waits in the queue */
#define KVVIRT_DPC_REMOVED 2u  /* taken out of the queue before it ran */
#define KVVIRT_DPC_RUNNING 3u

#endif
