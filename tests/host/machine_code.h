// Reads a PE image's machine code back with the cross objdump of its
// machine (i686 or x86_64 mingw): what the checks of the shipped drivers
// and programs look at, since only the built image tells what runs.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "pe_image.h"

namespace kvtest {

struct Instruction {
    uint64_t address;
    std::string prefixes;  // "lock", "rep", segment overrides... as objdump names them
    std::string mnemonic;
    std::string operands;  // with objdump's "# 0x..." comment, if any
};

struct MachineCode {
    PeImage image;
    std::vector<Instruction> code;  // every code section's, in address order
};

// Reads `path`. mingw's linker ends .text with the constructor and
// destructor lists, which are data and are left out. False, with *error,
// when the image or its disassembly cannot be read.
bool ReadMachineCode(const std::string& path, MachineCode* machineCode, std::string* error);

// One line of objdump's disassembly ("  401a2c:\tlock xadd %eax,(%ecx)"),
// split; false for any other line.
bool ParseObjdumpLine(const std::string& line, Instruction* instruction);

}  // namespace kvtest
