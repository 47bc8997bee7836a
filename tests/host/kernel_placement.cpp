// The placement rules of kernel code, read from objdump's disassembly.
#include "kernel_placement.h"

#include <map>
#include <regex>
#include <set>
#include <sstream>

#include "machine_code.h"

namespace kvtest {

namespace {

enum class Residence { Resident, Pageable, Discardable, NotCode };

// Routines that raise the IRQL or need it raised (spin locks of every kind,
// the explicit raises, the interrupt synchronisation).
bool RaisesIrql(const std::string& name) {
    static const std::regex raising("AcquireSpinLock|AcquireInStackQueuedSpinLock|AcquireInterruptSpinLock|"
                                    "RaiseIrql|KeSynchronizeExecution");
    return std::regex_search(name, raising);
}

class Image {
public:
    explicit Image(const PeImage& pe) : pe_(pe) {
        for (const PeImportSlot& slot : pe_.importSlots) slotNames_[pe_.imageBase + slot.slotRva] = slot.name;
    }

    Residence ResidenceOf(uint64_t address, std::string* section = nullptr) const {
        for (const PeSection& s : pe_.sections) {
            const uint64_t start = pe_.imageBase + s.virtualAddress;
            if (address < start || address - start >= s.virtualSize) continue;
            if (section) *section = s.name;
            if (!(s.characteristics & 0x20000000u)) return Residence::NotCode;
            if (s.name.rfind("PAGE", 0) == 0) return Residence::Pageable;
            if (s.name == "INIT") return Residence::Discardable;
            return Residence::Resident;
        }
        return Residence::NotCode;
    }
    const std::string* SlotName(uint64_t slot) const {
        const auto found = slotNames_.find(slot);
        return found == slotNames_.end() ? nullptr : &found->second;
    }

private:
    const PeImage& pe_;
    std::map<uint64_t, std::string> slotNames_;
};

bool IsTransfer(const std::string& mnemonic) { return mnemonic.rfind("call", 0) == 0 || mnemonic[0] == 'j'; }

// The slot an indirect call goes through: "*0x1a0e0" (i686, absolute) or
// "*0x816a(%rip)        # 0x191b0" (x86_64, objdump's resolved address).
bool SlotOf(const Instruction& insn, uint64_t* slot) {
    static const std::regex absolute(R"(^\*0x([0-9a-f]+)\s*$)");
    static const std::regex ripRelative(R"(^\*0x[0-9a-f]+\(%rip\)\s+#\s+(?:0x)?([0-9a-f]+))");
    std::smatch m;
    if (!std::regex_search(insn.operands, m, absolute) && !std::regex_search(insn.operands, m, ripRelative)) {
        return false;
    }
    *slot = std::stoull(m[1], nullptr, 16);
    return true;
}

bool DirectTarget(const Instruction& insn, uint64_t* target) {
    static const std::regex direct(R"(^(?:0x)?([0-9a-f]+)(\s|$))");
    std::smatch m;
    if (!std::regex_search(insn.operands, m, direct)) return false;
    *target = std::stoull(m[1], nullptr, 16);
    return true;
}

std::string Hex(uint64_t value) {
    std::ostringstream out;
    out << "0x" << std::hex << value;
    return out.str();
}

class Checker {
public:
    Checker(const Image& image, const std::vector<Instruction>& code, PlacementReport* report)
        : image_(image), code_(code), report_(report) {
        // Import thunks ("jmp *slot"): a direct call to one is a call of the import.
        for (const Instruction& insn : code_) {
            uint64_t slot, target;
            if (insn.mnemonic == "jmp" && SlotOf(insn, &slot)) thunks_[insn.address] = slot;
            if (IsTransfer(insn.mnemonic) && DirectTarget(insn, &target)) targets_.insert(target);
        }
    }

    void Run() {
        report_->instructions = code_.size();
        for (const Instruction& insn : code_) {
            std::string section;
            const Residence from = image_.ResidenceOf(insn.address, &section);
            if (from == Residence::NotCode) continue;
            const std::string where = section + " " + Hex(insn.address) + ": ";
            if (insn.mnemonic.rfind("mov", 0) == 0 && insn.operands.find(",%cr8") != std::string::npos &&
                from != Residence::Resident) {
                Flag(where + "changes the IRQL (writes CR8)");
            }
            if (IsTransfer(insn.mnemonic)) CheckTransfer(insn, from, where);
        }
    }

private:
    void CheckTransfer(const Instruction& insn, Residence from, const std::string& where) {
        uint64_t slot = 0, target = 0;
        bool throughSlot = SlotOf(insn, &slot);
        if (!throughSlot && DirectTarget(insn, &target)) {
            const auto thunk = thunks_.find(target);
            if (thunk != thunks_.end()) {
                slot = thunk->second;
                throughSlot = true;
            } else {
                CheckDirect(from, target, where);
            }
        }
        const std::string* name = throughSlot ? image_.SlotName(slot) : nullptr;
        if (!name) return;
        ++report_->importCalls;
        // An import thunk is a jump through a slot that code transfers to.
        if (*name == "KeReleaseSemaphore" && !targets_.count(insn.address)) CheckRelease(insn, where);
        if (!RaisesIrql(*name)) return;
        ++report_->raisingCalls;
        if (from != Residence::Resident) Flag(where + "calls " + *name);
    }

    // A release may let an unload go on: nothing of the image may run after
    // it, so it is the routine's last act, a jump that returns to its caller.
    void CheckRelease(const Instruction& insn, const std::string& where) {
        if (insn.mnemonic[0] == 'j') ++report_->tailReleases;
        else Flag(where + "runs on after releasing a semaphore (a call, not the routine's closing jump)");
    }

    void CheckDirect(Residence from, uint64_t target, const std::string& where) {
        std::string section;
        const Residence to = image_.ResidenceOf(target, &section);
        const bool intoPaged = to == Residence::Pageable && from == Residence::Resident;
        const bool intoInit = to == Residence::Discardable && from != Residence::Discardable;
        if (intoPaged || intoInit) Flag(where + "calls into " + section + " at " + Hex(target));
    }

    void Flag(const std::string& text) { report_->violations.push_back(text); }

    const Image& image_;
    const std::vector<Instruction>& code_;
    PlacementReport* report_;
    std::map<uint64_t, uint64_t> thunks_;
    std::set<uint64_t> targets_;  // of direct calls and jumps
};

}  // namespace

bool CheckKernelPlacement(const std::string& driver, PlacementReport* report, std::string* error) {
    MachineCode machineCode;
    if (!ReadMachineCode(driver, &machineCode, error)) return false;
    const Image image(machineCode.image);
    Checker(image, machineCode.code, report).Run();
    return true;
}

}  // namespace kvtest
