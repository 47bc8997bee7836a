// The mouse class's upper filter list, without the companion filter.
#pragma once

#include <windows.h>

// Drops every "kvfilt" entry (case-sensitive) from the mouse class's
// UpperFilters and writes the rest back in order, also when nothing was
// dropped; an absent value is written as the empty list. A value of
// another type, or one that cannot be read whole, is left untouched: an
// empty list in its place would stop every mouse. 0 or the error.
LONG RemoveMouseUpperFilter();
