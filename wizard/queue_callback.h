// The file-queue callback of every INF operation of the installer and the
// uninstaller.
#pragma once

#include <windows.h>
#include <setupapi.h>

// A file that cannot be deleted is skipped without asking the user; every
// other notification goes to the system's default callback with `context`
// (a context of SetupInitDefaultQueueCallback).
UINT CALLBACK QueueCallback(PVOID context, UINT notification, UINT_PTR param1, UINT_PTR param2);
