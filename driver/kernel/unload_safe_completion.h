// Completion routines that an unload cannot take from under them.
#pragma once
#include "kernel_headers.h"

// Looks IoSetCompletionRoutineEx up (Windows XP on). At the entry point,
// before any request.
void FindUnloadSafeCompletion();

// Sets `routine` to run on success, error and cancel. Where the system has
// IoSetCompletionRoutineEx it keeps `device` (one of ours) referenced until
// the routine has returned, so a routine that lets a waiter go (and with it,
// perhaps, the driver's unload) is not left running in freed code. On
// Windows 2000, or when the system finds no memory for that, the plain
// registration.
void SetUnloadSafeCompletion(PDEVICE_OBJECT device, PIRP irp, PIO_COMPLETION_ROUTINE routine, PVOID context);
