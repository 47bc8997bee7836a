// Reads the driver's Parameters values from a registry export file
// (REGEDIT4 or "Windows Registry Editor Version 5.00", ANSI or UTF-16).
#pragma once
#include <cstdint>
#include <map>
#include <string>

namespace kvsim {

// Value name (lower case) to its 32-bit value; only dword values are kept.
using StoredValues = std::map<std::string, uint32_t>;

struct ParseError {
    int line;  // 0 when the error concerns the whole file
    std::string message;
};

// Parses the export's text. Values under a key ending in
// "\Services\KVUSB\Parameters" are taken; other keys and value types are
// ignored, as the driver ignores them. Returns false and fills *error on a
// malformed file.
bool ParseRegistryExport(const std::string& bytes, StoredValues* values, ParseError* error);

// "NAME=VALUE" as given to --set; VALUE is decimal, negative or 0x-hex.
bool ParseAssignment(const std::string& text, StoredValues* values, std::string* error);

// A 32-bit number in decimal (optionally negative) or 0x-hex.
bool ParseWord(const std::string& text, uint32_t* value);

// The driver's value id for a name, case-insensitively; -1 when unknown.
int DriverValueId(const std::string& name);

std::string ToLower(std::string text);

}  // namespace kvsim
