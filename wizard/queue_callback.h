// The file-queue callback of every INF operation of the installer and the
// uninstaller.
#pragma once

#include <windows.h>
#include <setupapi.h>

// A file that cannot be deleted is skipped without asking the user; every
// other notification goes to the system's default callback with `context`
// (a context of SetupInitDefaultQueueCallback).
UINT CALLBACK QueueCallback(PVOID context, UINT notification, UINT_PTR param1, UINT_PTR param2);

// The system's default callback, as SetupDefaultQueueCallbackA: where the
// user is asked for a missing disk or a failed copy and may cancel. A seam
// of the installation: tests answer in the user's place.
using DefaultQueueCallbackFunction = UINT(CALLBACK*)(PVOID context, UINT notification, UINT_PTR param1,
                                                     UINT_PTR param2);

// Installs `function` (nullptr: the system's) and returns the one before.
DefaultQueueCallbackFunction SetDefaultQueueCallbackFunction(DefaultQueueCallbackFunction function);
