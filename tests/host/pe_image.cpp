// Minimal PE32 / PE32+ reader for the package tests; every read is
// bounds-checked.
#include "pe_image.h"

#include <cctype>
#include <cstdlib>

namespace kvtest {

namespace {

class Reader {
public:
    explicit Reader(const std::vector<uint8_t>& bytes) : bytes_(bytes) {}
    bool U16(size_t at, uint16_t* v) const {
        if (at + 2 > bytes_.size()) return false;
        *v = static_cast<uint16_t>(bytes_[at] | (bytes_[at + 1] << 8));
        return true;
    }
    bool U32(size_t at, uint32_t* v) const {
        uint16_t lo, hi;
        if (!U16(at, &lo) || !U16(at + 2, &hi)) return false;
        *v = lo | (static_cast<uint32_t>(hi) << 16);
        return true;
    }
    bool CString(size_t at, std::string* s, bool lower = true) const {
        s->clear();
        for (; at < bytes_.size() && bytes_[at]; ++at) {
            s->push_back(static_cast<char>(lower ? std::tolower(bytes_[at]) : bytes_[at]));
        }
        return at < bytes_.size();
    }

private:
    const std::vector<uint8_t>& bytes_;
};

struct RawSection {
    uint32_t virtualAddress, virtualSize, rawOffset, rawSize;
};

bool RvaToOffset(const std::vector<RawSection>& sections, uint32_t rva, size_t* offset) {
    for (const RawSection& s : sections) {
        const uint32_t size = s.virtualSize > s.rawSize ? s.virtualSize : s.rawSize;
        if (rva >= s.virtualAddress && rva - s.virtualAddress < size) {
            *offset = s.rawOffset + (rva - s.virtualAddress);
            return true;
        }
    }
    return false;
}

// The function slots of one DLL: the lookup table names them, the address
// table at `slots` is what the code calls through. Entries are 4 bytes in
// PE32, 8 in PE32+ (the top bit marks an import by ordinal).
bool ReadImportSlots(const Reader& r, const std::vector<RawSection>& raw, uint32_t lookupRva, uint32_t slots,
                     size_t width, const std::string& dll, PeImage* image) {
    size_t entry;
    if (!RvaToOffset(raw, lookupRva, &entry)) return false;
    for (uint32_t index = 0;; ++index, entry += width) {
        uint32_t low, high = 0;
        if (!r.U32(entry, &low) || (width == 8 && !r.U32(entry + 4, &high))) return false;
        if (low == 0 && high == 0) return true;
        const bool byOrdinal = width == 8 ? (high & 0x80000000u) != 0 : (low & 0x80000000u) != 0;
        PeImportSlot slot{static_cast<uint32_t>(slots + index * width), dll, "",
                          static_cast<uint16_t>(byOrdinal ? low & 0xFFFF : 0)};
        size_t nameOffset;
        if (!byOrdinal && (!RvaToOffset(raw, low + 2, &nameOffset) || !r.CString(nameOffset, &slot.name, false))) {
            return false;
        }
        image->importSlots.push_back(slot);
    }
}

bool ReadImports(const Reader& r, const std::vector<RawSection>& raw, uint32_t importRva, PeImage* image) {
    size_t descriptor;
    if (importRva == 0) return true;
    if (!RvaToOffset(raw, importRva, &descriptor)) return false;
    const size_t width = image->optionalMagic == 0x20B ? 8 : 4;
    for (;; descriptor += 20) {
        uint32_t lookup, nameRva, slots;
        if (!r.U32(descriptor, &lookup) || !r.U32(descriptor + 12, &nameRva) || !r.U32(descriptor + 16, &slots)) {
            return false;
        }
        if (nameRva == 0 && slots == 0) return true;
        size_t nameOffset;
        std::string name;
        if (!RvaToOffset(raw, nameRva, &nameOffset) || !r.CString(nameOffset, &name)) return false;
        image->imports.push_back(name);
        if (!ReadImportSlots(r, raw, lookup ? lookup : slots, slots, width, name, image)) return false;
    }
}

bool ReadExports(const Reader& r, const std::vector<RawSection>& raw, uint32_t exportRva, PeImage* image) {
    size_t directory, names;
    uint32_t count, namesRva;
    if (exportRva == 0) return true;
    if (!RvaToOffset(raw, exportRva, &directory) || !r.U32(directory + 24, &count) ||
        !r.U32(directory + 32, &namesRva) || (count > 0 && !RvaToOffset(raw, namesRva, &names))) {
        return false;
    }
    for (uint32_t i = 0; i < count; ++i) {
        uint32_t nameRva;
        size_t nameOffset;
        std::string name;
        if (!r.U32(names + 4 * i, &nameRva) || !RvaToOffset(raw, nameRva, &nameOffset) ||
            !r.CString(nameOffset, &name, false)) {
            return false;
        }
        image->exports.push_back(name);
    }
    return true;
}

// A name longer than eight characters is stored as "/N": offset N into the
// string table behind the COFF symbols. Left as it is when that is missing.
void ResolveLongName(const Reader& r, size_t fileHeader, std::string* name) {
    if (name->size() < 2 || (*name)[0] != '/') return;
    uint32_t symbols = 0, symbolCount = 0;
    if (!r.U32(fileHeader + 8, &symbols) || !r.U32(fileHeader + 12, &symbolCount) || symbols == 0) return;
    const size_t offset = std::strtoul(name->c_str() + 1, nullptr, 10);
    std::string full;
    if (r.CString(symbols + size_t{symbolCount} * 18 + offset, &full, false) && !full.empty()) *name = full;
}

}  // namespace

bool ParsePe(const std::vector<uint8_t>& bytes, PeImage* image, std::string* error) {
    const Reader r(bytes);
    uint16_t mz, sectionCount, optionalSize;
    uint32_t peOffset, signature, exportRva, importRva, relocRva, relocSize;
    if (!r.U16(0, &mz) || mz != 0x5A4D || !r.U32(0x3C, &peOffset) || !r.U32(peOffset, &signature) ||
        signature != 0x4550) {
        *error = "not a PE file";
        return false;
    }
    const size_t fileHeader = peOffset + 4, optional = fileHeader + 20;
    if (!r.U16(fileHeader, &image->machine) || !r.U16(fileHeader + 2, &sectionCount) ||
        !r.U16(fileHeader + 16, &optionalSize) || !r.U16(fileHeader + 18, &image->characteristics) ||
        !r.U16(optional, &image->optionalMagic)) {
        *error = "truncated headers";
        return false;
    }
    if (image->optionalMagic != 0x10B && image->optionalMagic != 0x20B) {
        *error = "unknown optional header";
        return false;
    }
    // The data directories follow the fields whose width differs between
    // PE32 and PE32+.
    const bool wide = image->optionalMagic == 0x20B;
    const size_t directories = optional + (wide ? 112 : 96);
    uint32_t baseLow = 0, baseHigh = 0;
    if (!r.U32(optional + (wide ? 24 : 28), &baseLow) || (wide && !r.U32(optional + 28, &baseHigh))) {
        *error = "truncated headers";
        return false;
    }
    image->imageBase = baseLow | (uint64_t{baseHigh} << 32);
    uint16_t subsystemMajor = 0, subsystemMinor = 0;
    if (!r.U32(optional + 16, &image->entryPoint) || !r.U16(optional + 68, &image->subsystem) ||
        !r.U16(optional + 48, &subsystemMajor) || !r.U16(optional + 50, &subsystemMinor) ||
        !r.U32(fileHeader + 12, &image->symbolCount) ||
        !r.U16(optional + 70, &image->dllCharacteristics) || !r.U32(directories, &exportRva) ||
        !r.U32(directories + 8, &importRva) || !r.U32(directories + 40, &relocRva) ||
        !r.U32(directories + 44, &relocSize)) {
        *error = "truncated headers";
        return false;
    }
    image->subsystemVersion = uint32_t{subsystemMajor} << 16 | subsystemMinor;
    image->hasRelocations = relocRva != 0 && relocSize != 0 && (image->characteristics & 1) == 0;
    std::vector<RawSection> raw;
    for (size_t i = 0, at = optional + optionalSize; i < sectionCount; ++i, at += 40) {
        RawSection s;
        PeSection section;
        if (!r.U32(at + 8, &s.virtualSize) || !r.U32(at + 12, &s.virtualAddress) || !r.U32(at + 16, &s.rawSize) ||
            !r.U32(at + 20, &s.rawOffset) || !r.U32(at + 36, &section.characteristics)) {
            *error = "truncated section table";
            return false;
        }
        for (size_t c = 0; c < 8 && bytes[at + c]; ++c) section.name.push_back(static_cast<char>(bytes[at + c]));
        ResolveLongName(r, fileHeader, &section.name);
        section.virtualAddress = s.virtualAddress;
        section.virtualSize = s.virtualSize;
        section.rawOffset = s.rawOffset;
        section.rawSize = s.rawSize;
        raw.push_back(s);
        image->sections.push_back(section);
    }
    if (!ReadImports(r, raw, importRva, image)) {
        *error = "import table outside the file";
        return false;
    }
    if (!ReadExports(r, raw, exportRva, image)) {
        *error = "export table outside the file";
        return false;
    }
    return true;
}

}  // namespace kvtest
