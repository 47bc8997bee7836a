// The counted removal guard: resident, as requests enter and leave at up to
// dispatch level.
#include "request_count.h"

void InitializeRequestCount(RequestCount* count) {
    count->Outstanding = 0;
    KeInitializeEvent(&count->RemoveEvent, NotificationEvent, FALSE);
}

void EnterRequest(RequestCount* count) { InterlockedIncrement(&count->Outstanding); }

void LeaveRequest(RequestCount* count) {
    if (InterlockedDecrement(&count->Outstanding) < 0) KeSetEvent(&count->RemoveEvent, IO_NO_INCREMENT, FALSE);
}

void WaitForRequests(RequestCount* count) {
    LeaveRequest(count);
    KeWaitForSingleObject(&count->RemoveEvent, Executive, KernelMode, FALSE, nullptr);
}
