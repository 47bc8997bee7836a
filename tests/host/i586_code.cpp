// The one table of instructions beyond the i586, for drivers and programs.
#include "i586_code.h"

#include <sstream>

namespace kvtest {

namespace {

// Each row: the beginnings of objdump's "mnemonic operands" text it
// refuses, or, for registers, what the operands must not name.
struct Beyond {
    std::vector<std::string> texts;
    const char* what;
    bool inOperands;
};

const std::vector<Beyond>& Table() {
    static const std::vector<Beyond> table = {
        {{"cmov"}, "conditional move (Pentium Pro)", false},
        {{"fcmov"}, "x87 conditional move (Pentium Pro)", false},
        {{"fcomi ", "fcomip ", "fucomi ", "fucomip "}, "x87 compare into the flags (Pentium Pro)", false},
        {{"nopw ", "nopl ", "nop %"}, "multi-byte no-op (Pentium Pro)", false},
        {{"rdpmc "}, "performance counter read (Pentium Pro)", false},
        {{"sysenter", "sysexit", "syscall", "sysret"}, "fast system call (Pentium II and later)", false},
        {{"fxsave", "fxrstor", "xsave", "xrstor"}, "extended state save (Pentium II and later)", false},
        {{"%mm", "%xmm", "%ymm", "%zmm"}, "MMX or SSE register", true},
        {{"emms ", "femms "}, "MMX state (Pentium MMX and later)", false},
        {{"ldmxcsr", "stmxcsr", "sfence", "lfence", "mfence", "clflush", "clwb", "movnti", "prefetch"},
         "SSE control, ordering, cache or prefetch", false},
        {{"fisttp"}, "x87 truncating store (SSE3)", false},
        {{"popcnt", "lzcnt", "tzcnt", "movbe", "crc32", "rdrand", "rdseed", "rdtscp", "xgetbv", "cmpxchg16b", "adcx",
          "adox", "andn", "bextr", "blsi", "blsmsk", "blsr", "bzhi", "mulx", "pdep", "pext", "rorx", "sarx", "shlx",
          "shrx", "endbr", "vzero"},
         "later extension", false},
        {{"(bad)"}, "not an instruction", false},
    };
    return table;
}

}  // namespace

const char* BeyondI586(const Instruction& instruction) {
    const std::string text = instruction.mnemonic + " " + instruction.operands;
    for (const Beyond& beyond : Table()) {
        for (const std::string& refused : beyond.texts) {
            const bool found = beyond.inOperands ? instruction.operands.find(refused) != std::string::npos
                                                 : text.compare(0, refused.size(), refused) == 0;
            if (found) return beyond.what;
        }
    }
    return nullptr;
}

std::vector<std::string> InstructionsBeyondI586(const MachineCode& machineCode) {
    std::vector<std::string> found;
    for (const Instruction& instruction : machineCode.code) {
        if (const char* what = BeyondI586(instruction)) {
            std::ostringstream line;
            line << "0x" << std::hex << instruction.address << ": " << instruction.mnemonic << " "
                 << instruction.operands << ": " << what;
            found.push_back(line.str());
        }
    }
    return found;
}

}  // namespace kvtest
