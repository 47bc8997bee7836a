// A PE image's machine code, read back through the cross objdump.
#include "machine_code.h"

#include <cctype>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>

namespace kvtest {

namespace {

bool IsPrefix(const std::string& token) {
    static const std::set<std::string> prefixes = {"lock", "rep", "repz", "repe", "repnz", "repne", "cs", "ds",
                                                   "es", "fs", "gs", "ss", "data16", "data32", "addr16", "addr32",
                                                   "notrack", "bnd", "xacquire", "xrelease"};
    return prefixes.count(token) > 0 || token.rfind("rex", 0) == 0;
}

bool Entry(const std::vector<uint8_t>& bytes, const PeSection& section, size_t width, size_t index,
           uint64_t* value) {
    const size_t at = section.rawOffset + index * width;
    if ((index + 1) * width > section.rawSize || at + width > bytes.size()) return false;
    *value = 0;
    for (size_t i = width; i-- > 0;) *value = *value << 8 | bytes[at + i];
    return true;
}

// mingw's linker script ends .text with the constructor and destructor
// lists: -1, addresses of functions, 0, twice. Returns where they begin, or
// the section's end when it does not end that way.
uint64_t CodeEnd(const std::vector<uint8_t>& bytes, const PeImage& image, const PeSection& text) {
    const size_t width = image.optionalMagic == 0x20B ? 8 : 4;
    const uint64_t start = image.imageBase + text.virtualAddress, end = start + text.virtualSize;
    const uint64_t minusOne = width == 8 ? ~uint64_t{0} : 0xffffffffu;
    size_t index = text.virtualSize / width;
    uint64_t value = 0;
    for (int list = 0; list < 2; ++list) {
        if (index == 0 || !Entry(bytes, text, width, --index, &value) || value != 0) return end;
        while (index > 0 && Entry(bytes, text, width, index - 1, &value) && value >= start && value < end) --index;
        if (index == 0 || !Entry(bytes, text, width, --index, &value) || value != minusOne) return end;
    }
    return start + index * width;
}

bool Disassemble(const std::string& path, bool wide, std::vector<Instruction>* code, std::string* error) {
    const std::string objdump = wide ? "x86_64-w64-mingw32-objdump" : "i686-w64-mingw32-objdump";
    FILE* pipe = popen((objdump + " -d --no-show-raw-insn '" + path + "' 2>&1").c_str(), "r");
    if (!pipe) {
        *error = "cannot start " + objdump;
        return false;
    }
    char buffer[512];
    while (fgets(buffer, sizeof buffer, pipe)) {
        std::string text(buffer);
        if (!text.empty() && text.back() == '\n') text.pop_back();
        Instruction instruction;
        if (ParseObjdumpLine(text, &instruction)) code->push_back(instruction);
    }
    const int status = pclose(pipe);
    if (status != 0 || code->empty()) {
        *error = objdump + " read no code from " + path;
        return false;
    }
    return true;
}

}  // namespace

bool ParseObjdumpLine(const std::string& line, Instruction* instruction) {
    // "ADDRESS:" (a DLL's eight digits come without indent), then the
    // instruction; symbol lines ("00401000 <_main>:") and the rest fail.
    const size_t from = line.find_first_not_of(" \t");
    const size_t colon = line.find(':');
    if (from == std::string::npos || colon == std::string::npos || colon == from ||
        line.find_first_not_of("0123456789abcdef", from) != colon) {
        return false;
    }
    std::istringstream words(line.substr(colon + 1));
    std::string word;
    if (!(words >> word)) return false;
    instruction->address = std::stoull(line.substr(from, colon - from), nullptr, 16);
    instruction->prefixes.clear();
    while (IsPrefix(word) && words >> std::ws && !words.eof()) {
        instruction->prefixes += instruction->prefixes.empty() ? word : " " + word;
        words >> word;
    }
    instruction->mnemonic = word;
    std::getline(words >> std::ws, instruction->operands);
    while (!instruction->operands.empty() && std::isspace(static_cast<unsigned char>(instruction->operands.back()))) {
        instruction->operands.pop_back();
    }
    return true;
}

bool ReadMachineCode(const std::string& path, MachineCode* machineCode, std::string* error) {
    std::ifstream in(path, std::ios::binary);
    const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::vector<Instruction> all;
    PeImage& image = machineCode->image;
    if (!ParsePe(bytes, &image, error) || !Disassemble(path, image.optionalMagic == 0x20B, &all, error)) return false;
    uint64_t dataFrom = 0, dataTo = 0;
    for (const PeSection& section : image.sections) {
        if (section.name != ".text") continue;
        dataFrom = CodeEnd(bytes, image, section);
        dataTo = image.imageBase + section.virtualAddress + section.virtualSize;
    }
    for (const Instruction& instruction : all) {
        if (instruction.address < dataFrom || instruction.address >= dataTo) machineCode->code.push_back(instruction);
    }
    return true;
}

}  // namespace kvtest
