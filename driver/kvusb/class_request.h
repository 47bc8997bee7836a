// HID class requests to the controller as USB control transfers.
#pragma once
#include "filter_extension.h"

#include "ports.h"

// Sends the request to the physical device and waits for it without a
// time-out. Passive level; the caller holds no lock.
NTSTATUS SendClassRequest(PDEVICE_OBJECT physical, const kv::ClassRequest& request, uint32_t* transferred);
