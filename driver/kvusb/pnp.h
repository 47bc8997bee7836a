// Plug and Play handling of the filter device.
#pragma once
#include "filter_extension.h"

// Sends the request down and waits for the lower driver to finish it;
// the request stays ours afterwards. Returns its final status.
NTSTATUS ForwardAndWait(FilterExtension* ext, PIRP irp);

// Deletes this instance's link, control device and filter device.
void DeleteDevices(FilterExtension* ext);
