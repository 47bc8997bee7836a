// Requests inside a device, counted so that its removal can wait until the
// last one has left. Both drivers guard their removal this way.
#pragma once
#include "kernel_headers.h"

struct RequestCount {
    volatile LONG Outstanding;  // 0 when idle; changed only by interlocked operations
    KEVENT RemoveEvent;         // signalled when the count drops below 0
};

// A count of 0 and an event not signalled.
void InitializeRequestCount(RequestCount* count);

// One request more, or one less (signalling the event below 0).
void EnterRequest(RequestCount* count);
void LeaveRequest(RequestCount* count);

// For the removal: drops the count's own unit, so that the count goes below
// 0 once the requests inside have left, and waits for that. Passive level.
void WaitForRequests(RequestCount* count);
