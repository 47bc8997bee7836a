// Power requests pass down unchanged in every state and are never failed
// here: the power manager needs every driver of the stack to pass them on,
// also after surprise removal. Runs at up to dispatch level: non-paged.
#include "power.h"

NTSTATUS HandlePower(FilterExtension* ext, PIRP irp) {
    PoStartNextPowerIrp(irp);
    IoSkipCurrentIrpStackLocation(irp);
    return PoCallDriver(ext->LowerDevice, irp);
}
