// Bounded registry reads and the editing of class filter lists.
#pragma once

#include <windows.h>

#include <string>

#include "multi_string.h"

// A REG_SZ or REG_EXPAND_SZ value of at most 259 characters; false (and `out`
// empty) when the key or value is missing, of another type or too long.
bool ReadRegistryString(HKEY root, const char* keyPath, const char* valueName, std::string& out);

// A REG_MULTI_SZ value, read in a buffer sized to its data. A missing value
// is an empty list with `present` false; any other failure returns its code.
LONG ReadMultiStringValue(HKEY key, const char* valueName, StringList& entries, bool& present);

LONG WriteMultiStringValue(HKEY key, const char* valueName, const StringList& entries);

enum class WhenListEmpty { DeleteValue, WriteEmptyList };

// Drops every `entry` from the filter list `valueName` of `keyPath` and
// writes the rest back in order. Without a change nothing is written.
// Returns 0 when done (also when the key or value does not exist).
LONG RemoveFilterEntry(HKEY root, const char* keyPath, const char* valueName, const char* entry,
                       WhenListEmpty whenEmpty);

// Whether the filter list holds `entry` (case-sensitive); false when the
// key or value does not exist.
bool FilterListContains(HKEY root, const char* keyPath, const char* valueName, const char* entry);
