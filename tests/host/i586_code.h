// Instructions an i586 lacks, as objdump names them. Windows 2000 and XP
// run on Pentium, K6, early VIA C3 and Geode GX1, so no shipped file may
// hold one: the Pentium Pro's conditional moves and flag-setting x87
// compares, MMX and SSE, and everything after.
#pragma once
#include <string>
#include <vector>

#include "machine_code.h"

namespace kvtest {

// Why `instruction` is one an i586 lacks ("conditional move (Pentium
// Pro)"), or null when an i586 runs it.
const char* BeyondI586(const Instruction& instruction);

// Every instruction of `machineCode` an i586 lacks, one line each:
// "0x4012ab: cmovne %eax,%edx: conditional move (Pentium Pro)".
std::vector<std::string> InstructionsBeyondI586(const MachineCode& machineCode);

}  // namespace kvtest
