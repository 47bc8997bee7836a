// Reads a driver image's machine code back (cross objdump) and checks where
// each call runs: pageable (PAGE) and discardable (INIT) code must not raise
// the IRQL, resident code must not call into PAGE, and nothing but INIT
// itself may call into INIT. The compiler inlines across our section
// attributes, so only the built image tells where code really lies.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

namespace kvtest {

struct PlacementReport {
    size_t instructions = 0;
    size_t importCalls = 0;   // calls and jumps resolved to an imported routine
    size_t raisingCalls = 0;  // of those, to a routine that raises the IRQL
    size_t tailReleases = 0;  // semaphore releases reached by a jump, as a routine's last act
    std::vector<std::string> violations;  // "PAGE 0x13a2e: calls KfAcquireSpinLock"
};

// Disassembles `driver` with the objdump of its machine (i686 or x86_64
// mingw) and fills *report. False, with *error, when the image or the
// disassembly cannot be read.
bool CheckKernelPlacement(const std::string& driver, PlacementReport* report, std::string* error);

}  // namespace kvtest
