// File-queue callback: silent skip of undeletable files.
#include "queue_callback.h"

namespace {
DefaultQueueCallbackFunction g_defaultCallback = SetupDefaultQueueCallbackA;
}

DefaultQueueCallbackFunction SetDefaultQueueCallbackFunction(DefaultQueueCallbackFunction function) {
    const DefaultQueueCallbackFunction previous = g_defaultCallback;
    g_defaultCallback = function ? function : SetupDefaultQueueCallbackA;
    return previous;
}

UINT CALLBACK QueueCallback(PVOID context, UINT notification, UINT_PTR param1, UINT_PTR param2) {
    if (notification == SPFILENOTIFY_DELETEERROR) return FILEOP_SKIP;
    return g_defaultCallback(context, notification, param1, param2);
}
