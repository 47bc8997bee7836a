// Reads what the package checks need from a PE file: machine, optional
// header kind, subsystem and the system version it asks for, entry point,
// image base, relocations, COFF symbols, imported DLL names and functions
// (by name or ordinal), exported names and section table.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace kvtest {

struct PeSection {
    std::string name;
    uint32_t virtualAddress;
    uint32_t virtualSize;
    uint32_t characteristics;
    uint32_t rawOffset;  // where its bytes lie in the file
    uint32_t rawSize;
};

// One imported function: the address slot the loader fills, and its name,
// or its ordinal when imported by ordinal (name empty).
struct PeImportSlot {
    uint32_t slotRva;
    std::string dll;  // lower case
    std::string name;  // as written
    uint16_t ordinal = 0;
};

struct PeImage {
    uint16_t machine = 0;
    uint16_t characteristics = 0;
    uint16_t optionalMagic = 0;  // 0x10B for PE32, 0x20B for PE32+
    uint16_t subsystem = 0;
    uint32_t subsystemVersion = 0;  // major << 16 | minor: the oldest system the image loads on
    uint16_t dllCharacteristics = 0;
    uint32_t entryPoint = 0;  // RVA
    uint64_t imageBase = 0;
    bool hasRelocations = false;  // a base relocation table, not stripped
    uint32_t symbolCount = 0;  // COFF symbols left in the file
    std::vector<std::string> imports;  // lower case
    std::vector<PeImportSlot> importSlots;
    std::vector<std::string> exports;  // as written
    std::vector<PeSection> sections;
};

// Parses `bytes`; on failure returns false and says why in *error.
bool ParsePe(const std::vector<uint8_t>& bytes, PeImage* image, std::string* error);

}  // namespace kvtest
