// Error codes of failed system calls, never 0.
#pragma once

#include <windows.h>

// The thread's last-error value after a call that reported failure; a
// failure that left the value at 0 is still a failure.
inline DWORD FailureCode() {
    const DWORD error = GetLastError();
    return error != ERROR_SUCCESS ? error : ERROR_GEN_FAILURE;
}
