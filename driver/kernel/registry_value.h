// Registry values read into fixed buffers: whoever wrote a value chose its
// size, so nothing here allocates by it. Passive level.
#pragma once
#include "kernel_headers.h"

// Opens an existing key (never creates one) with the given access: PATH is
// absolute, or below ROOT when one is given.
NTSTATUS OpenRegistryKey(const UNICODE_STRING* path, ACCESS_MASK access, HANDLE* key, HANDLE root = nullptr);

// A value stored as a 4-byte REG_DWORD. False for a value that is missing,
// of another type or of another size, which callers take as not stored.
bool QueryDwordValue(HANDLE key, const wchar_t* name, ULONG* value);
