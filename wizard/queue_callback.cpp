// File-queue callback: silent skip of undeletable files.
#include "queue_callback.h"

UINT CALLBACK QueueCallback(PVOID context, UINT notification, UINT_PTR param1, UINT_PTR param2) {
    if (notification == SPFILENOTIFY_DELETEERROR) return FILEOP_SKIP;
    return SetupDefaultQueueCallbackA(context, notification, param1, param2);
}
