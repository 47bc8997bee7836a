// HID class requests to the controller as USB control transfers, and their
// cancellation when the controller goes.
#pragma once
#include "filter_extension.h"

#include "ports.h"

void InitializeClassRequestGate(ClassRequestGate* gate);

// Sends the request to the physical device of the control device `control`
// and waits for it without a time-out; STATUS_DELETE_PENDING once the
// gate is closed. Passive level; the caller holds no lock.
NTSTATUS SendClassRequest(FilterExtension* control, const kv::ClassRequest& request, uint32_t* transferred);

// The controller is going: refuses every class request from now on and
// cancels those still at the controller (they complete with
// STATUS_CANCELLED). Up to dispatch level.
void CloseClassRequests(ClassRequestGate* gate);
