// Power handling of the filter device.
#pragma once
#include "filter_extension.h"

NTSTATUS HandlePower(FilterExtension* ext, PIRP irp);
