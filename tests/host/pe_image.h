// Reads what the package checks need from a PE file: machine, optional
// header kind, subsystem, entry point, image base, relocations, imported
// DLL names and function slots, exported names and section table.
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

// One imported function: the address slot the loader fills, and its name
// (empty when imported by ordinal).
struct PeImportSlot {
    uint32_t slotRva;
    std::string dll;  // lower case
    std::string name;  // as written
};

struct PeImage {
    uint16_t machine = 0;
    uint16_t characteristics = 0;
    uint16_t optionalMagic = 0;  // 0x10B for PE32, 0x20B for PE32+
    uint16_t subsystem = 0;
    uint16_t dllCharacteristics = 0;
    uint32_t entryPoint = 0;  // RVA
    uint64_t imageBase = 0;
    bool hasRelocations = false;  // a base relocation table, not stripped
    std::vector<std::string> imports;  // lower case
    std::vector<PeImportSlot> importSlots;
    std::vector<std::string> exports;  // as written
    std::vector<PeSection> sections;
};

// Parses `bytes`; on failure returns false and says why in *error.
bool ParsePe(const std::vector<uint8_t>& bytes, PeImage* image, std::string* error);

}  // namespace kvtest
