// Reads what the package checks need from a PE file: machine, optional
// header kind, subsystem, imported DLL names and section table.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace kvtest {

struct PeSection {
    std::string name;
    uint32_t characteristics;
};

struct PeImage {
    uint16_t machine = 0;
    uint16_t optionalMagic = 0;  // 0x10B for PE32
    uint16_t subsystem = 0;
    std::vector<std::string> imports;  // lower case
    std::vector<PeSection> sections;
};

// Parses `bytes`; on failure returns false and says why in *error.
bool ParsePe(const std::vector<uint8_t>& bytes, PeImage* image, std::string* error);

}  // namespace kvtest
