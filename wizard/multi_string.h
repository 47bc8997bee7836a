// REG_MULTI_SZ values as lists of strings: the filter lists of the device
// classes and the hardware-id lists of devices.
#pragma once

#include <stddef.h>

#include <string>
#include <vector>

using StringList = std::vector<std::string>;

// The entries of a multi-string image of `size` bytes, up to the first empty
// entry or the end of the data; a last entry without its zero byte counts.
StringList SplitMultiString(const char* data, size_t size);

// The image of `entries`: each entry with its zero byte, then one more zero
// byte. An empty list is one zero byte.
std::vector<char> JoinMultiString(const StringList& entries);

// Drops every entry equal to `entry` (case-sensitive), keeping the others in
// order; returns how many were dropped.
size_t RemoveEntry(StringList& entries, const std::string& entry);

bool ContainsEntry(const StringList& entries, const std::string& entry);

// Whether one whole entry of a hardware-id list equals `wanted` without
// regard to letter case (ASCII letters only, as the system compares ids).
bool HardwareIdListMatches(const char* data, size_t size, const std::string& wanted);
