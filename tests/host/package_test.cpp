// The laid-out package: manifests that match the files, and shipped
// binaries that a Windows 2000 loader accepts (PE32 i386, right subsystem
// and its version, only functions that Windows 2000 exports, relocations
// where the image may not get its preferred base, the exports the system
// looks up). These run on every machine, also where 32-bit Wine cannot.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>

#include "i586_code.h"
#include "pe_image.h"

namespace fs = std::filesystem;

namespace {

const fs::path kPackage = fs::path(KV_SOURCE_DIR) / "out" / "package";
const fs::path kWin32Build = fs::path(KV_SOURCE_DIR) / "build" / "win32";

std::vector<uint8_t> ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string Sha256(const fs::path& path) {
    const std::string command = "sha256sum '" + path.string() + "'";
    FILE* pipe = popen(command.c_str(), "r");
    char digest[65] = {};
    const bool ok = pipe && fscanf(pipe, "%64s", digest) == 1;
    if (pipe) pclose(pipe);
    return ok ? digest : "";
}

std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// What the loader of each kind of shipped file needs.
struct ShippedKind {
    const char* extension;
    int subsystem;  // 1 native, 2 GUI
    bool needsRelocations;  // drivers and DLLs load wherever there is room
    const char* requiredExport;  // looked up by name by the system, or null
};
const ShippedKind kShippedKinds[] = {
    {".exe", 2, false, nullptr},
    {".sys", 1, true, nullptr},
    {".dll", 2, true, nullptr},
    {".cpl", 2, true, "CPlApplet"},
};

const ShippedKind* KindOf(const std::string& extension) {
    for (const ShippedKind& kind : kShippedKinds) {
        if (extension == kind.extension) return &kind;
    }
    return nullptr;
}

// Drivers import from the kernel only, programs never from it.
bool IsAllowedImport(const std::string& extension, const std::string& dll) {
    return (extension == ".sys") == (dll == "ntoskrnl.exe" || dll == "hal.dll");
}

// Each function `image` imports statically that the reviewed list of what
// Windows 2000 exports lacks, as "DLL FUNCTION" (by ordinal "DLL #N"). A
// line of the list names its source after the function, or it is no review.
std::vector<std::string> ImportsWindows2000Lacks(const kvtest::PeImage& image) {
    static const std::set<std::string> exports = [] {
        std::set<std::string> listed;
        std::ifstream list(fs::path(KV_SOURCE_DIR) / "tests/host/win2000_exports.txt");
        for (std::string line, dll, function, source; std::getline(list, line);) {
            std::istringstream fields(line);
            if (!(fields >> dll) || dll[0] == '#') continue;
            EXPECT_TRUE(fields >> function >> source) << "no source: " << line;
            listed.insert(dll + " " + function);
        }
        return listed;
    }();
    std::vector<std::string> missing;
    for (const kvtest::PeImportSlot& slot : image.importSlots) {
        const std::string function = slot.dll + " " + (slot.name.empty() ? "#" + std::to_string(slot.ordinal) : slot.name);
        if (!exports.count(function)) missing.push_back(function);
    }
    return missing;
}

// An INF file as Setup reads it: the UTF-16LE text's ASCII letters, without
// its comments.
std::string InfText(const fs::path& inf) {
    const std::vector<uint8_t> bytes = ReadBytes(inf);
    std::string text;
    bool comment = false;
    for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
        const char c = bytes[i + 1] ? '?' : char(bytes[i]);
        comment = c == ';' || (comment && c != '\n');
        if (!comment) text.push_back(c);
    }
    return text;
}

// The files an INF's [SourceDisksFiles] names.
std::vector<std::string> SourceDisksFiles(const std::string& infText) {
    std::istringstream lines(infText.substr(std::min(infText.find("[SourceDisksFiles]"), infText.size())));
    std::vector<std::string> files;
    std::string line, name;
    for (std::getline(lines, line); std::getline(lines, line) && line.rfind("[", 0) != 0;) {
        if (std::istringstream(line.substr(0, line.find('='))) >> name) files.push_back(name);
    }
    return files;
}

TEST(Package, EditionsHaveManifestsThatMatchTheirFiles) {
    for (const char* edition : {"en-US", "zh-CN"}) {
        const fs::path dir = kPackage / edition;
        ASSERT_TRUE(fs::is_directory(dir)) << dir << " (run make package)";
        ASSERT_TRUE(fs::exists(kPackage / (std::string("kvtouch-") + edition + ".zip"))) << edition;
        std::ifstream manifest(dir / "manifest.txt");
        ASSERT_TRUE(manifest) << edition;
        std::set<std::string> listed;
        std::string name, digest;
        uintmax_t size = 0;
        while (manifest >> name >> size >> digest) {
            listed.insert(name);
            ASSERT_TRUE(fs::exists(dir / name)) << name;
            EXPECT_EQ(fs::file_size(dir / name), size) << name;
            EXPECT_EQ(Sha256(dir / name), digest) << name;
        }
        for (const auto& entry : fs::recursive_directory_iterator(dir)) {
            const std::string relative = fs::relative(entry.path(), dir).string();
            if (entry.is_regular_file() && relative != "manifest.txt") {
                EXPECT_TRUE(listed.count(relative)) << relative;
            }
        }
    }
}

// setup.exe runs straight from the edition folder: everything its INFs
// copy lies next to it, and so do the INFs and the readme it copies itself.
TEST(Package, EachEditionHoldsWhatTheInstallerCopies) {
    for (const char* edition : {"en-US", "zh-CN"}) {
        std::vector<std::string> files = {"setup.exe", "kvusb.inf", "kvfilt.inf", "readme.txt"};
        for (const char* inf : {"kvusb.inf", "kvfilt.inf"}) {
            const std::vector<std::string> copied = SourceDisksFiles(InfText(kPackage / edition / inf));
            EXPECT_FALSE(copied.empty()) << edition << "/" << inf;
            files.insert(files.end(), copied.begin(), copied.end());
        }
        for (const std::string& file : files) EXPECT_TRUE(fs::exists(kPackage / edition / file)) << edition << "/" << file;
    }
}

// The wizards change the system: Vista and 7 must start them elevated; the
// calibration program and the helper run as the user, unvirtualized. Each
// names Vista and 7 as known systems. Programs ship without symbols or
// debug data.
TEST(Package, ProgramsAskForTheirRightsAndAreStripped) {
    const struct {
        const char* program;
        const char* level;
    } manifests[] = {{"setup.exe", "requireAdministrator"}, {"uninst.exe", "requireAdministrator"},
                     {"kvcal.exe", "asInvoker"},            {"kvrbtn.exe", "asInvoker"}};
    for (const char* edition : {"en-US", "zh-CN"}) {
        for (const auto& m : manifests) {
            const std::vector<uint8_t> bytes = ReadBytes(kPackage / edition / m.program);
            const std::string text(bytes.begin(), bytes.end());
            const std::string where = std::string(edition) + "/" + m.program;
            EXPECT_NE(text.find(std::string("level=\"") + m.level + "\""), std::string::npos) << where;
            for (const char* os : {"{e2011457-1546-43c5-a5fe-008deee3d3f0}", "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}"}) {
                EXPECT_NE(text.find(std::string("supportedOS Id=\"") + os), std::string::npos) << where << " " << os;
            }
        }
        for (const auto& entry : fs::directory_iterator(kPackage / edition)) {
            const std::string extension = Lower(entry.path().extension().string());
            if (extension != ".exe" && extension != ".cpl" && extension != ".dll") continue;
            kvtest::PeImage image;
            std::string error;
            ASSERT_TRUE(kvtest::ParsePe(ReadBytes(entry.path()), &image, &error)) << error;
            EXPECT_EQ(image.symbolCount, 0u) << entry.path() << " keeps its symbols";
            for (const kvtest::PeSection& section : image.sections) {
                EXPECT_NE(section.name.rfind(".debug", 0), 0u) << entry.path() << " keeps " << section.name;
            }
        }
    }
}

// The shipped INF files as 64-bit Windows reads them: no models for its
// platform (the 64-bit test build's own are for its own drivers), and no
// catalog named that the package does not ship.
TEST(Package, InfFilesOfferTheirDriversTo32BitWindowsOnly) {
    for (const char* edition : {"en-US", "zh-CN"}) {
        for (const char* inf : {"kvusb.inf", "kvfilt.inf"}) {
            const std::string text = InfText(kPackage / edition / inf);
            EXPECT_NE(text.find("Models, NTx86\r\n"), std::string::npos) << edition << "/" << inf;
            for (const char* absent : {"NTamd64", "NTia64", "CatalogFile", "@KV_"}) {
                EXPECT_EQ(text.find(absent), std::string::npos) << edition << "/" << inf << " names " << absent;
            }
        }
    }
}

TEST(Package, ShippedBinariesLoadOnWindows2000) {
    for (const auto& entry : fs::recursive_directory_iterator(kPackage)) {
        const std::string extension = Lower(entry.path().extension().string());
        const ShippedKind* kind = KindOf(extension);
        if (!kind) continue;
        kvtest::PeImage image;
        std::string error;
        ASSERT_TRUE(kvtest::ParsePe(ReadBytes(entry.path()), &image, &error)) << entry.path() << ": " << error;
        EXPECT_EQ(image.machine, 0x14C) << entry.path() << " is not i386";
        EXPECT_EQ(image.optionalMagic, 0x10B) << entry.path() << " is not PE32";
        EXPECT_EQ(image.subsystem, kind->subsystem) << entry.path();
        // A resource-only library (icons) has no code to enter or relocate.
        const bool resourceOnly = extension == ".dll" && image.entryPoint == 0 && image.imports.empty();
        if (resourceOnly) {
            EXPECT_TRUE(std::any_of(image.sections.begin(), image.sections.end(),
                                    [](const kvtest::PeSection& s) { return s.name == ".rsrc"; }))
                << entry.path() << " has neither code nor resources";
            continue;
        }
        EXPECT_NE(image.entryPoint, 0u) << entry.path();
        if (kind->needsRelocations) {
            EXPECT_TRUE(image.hasRelocations) << entry.path() << " has no relocations";
        }
        if (kind->requiredExport) {
            EXPECT_NE(std::find(image.exports.begin(), image.exports.end(), kind->requiredExport), image.exports.end())
                << entry.path() << " does not export " << kind->requiredExport;
        }
        // A loader refuses an image that asks for a later system (5.0 is Windows 2000).
        EXPECT_LE(image.subsystemVersion, 0x50000u) << entry.path();
        for (const std::string& dll : image.imports) EXPECT_TRUE(IsAllowedImport(extension, dll)) << entry.path() << " imports " << dll;
        for (const std::string& lacking : ImportsWindows2000Lacks(image)) {
            ADD_FAILURE() << entry.path() << " imports " << lacking << ", which Windows 2000 lacks or the list does not show";
        }
    }
}

// The drivers' pageable code and their discardable entry points: gcc places
// them by section attribute, so the built image is checked, not the source.
struct ShippedDriver {
    const char* name;
    uintmax_t maxSize;
};
const ShippedDriver kShippedDrivers[] = {
    {"kvusb.sys", 24u * 1024},
    {"kvfilt.sys", 16u * 1024},
};

TEST(Package, DriversKeepTheirSectionsAndSize) {
    for (const char* edition : {"en-US", "zh-CN"}) {
        for (const ShippedDriver& shipped : kShippedDrivers) {
            const fs::path driver = kPackage / edition / shipped.name;
            ASSERT_TRUE(fs::exists(driver)) << driver;
            EXPECT_LT(fs::file_size(driver), shipped.maxSize) << driver;
            kvtest::PeImage image;
            std::string error;
            ASSERT_TRUE(kvtest::ParsePe(ReadBytes(driver), &image, &error)) << error;
            const kvtest::PeSection* page = nullptr;
            const kvtest::PeSection* init = nullptr;
            for (const kvtest::PeSection& section : image.sections) {
                if (section.name == "PAGE") page = &section;
                if (section.name == "INIT") init = &section;
            }
            ASSERT_TRUE(page) << driver << ": no PAGE section";
            ASSERT_TRUE(init) << driver << ": no INIT section";
            const uint32_t kCode = 0x20, kExecute = 0x20000000;
            EXPECT_EQ(page->characteristics & (kCode | kExecute), kCode | kExecute) << driver;
            EXPECT_GE(image.entryPoint, init->virtualAddress) << driver << ": the entry point lies in INIT";
            EXPECT_LT(image.entryPoint, init->virtualAddress + init->virtualSize) << driver;
            EXPECT_NE(std::find(image.imports.begin(), image.imports.end(), "ntoskrnl.exe"), image.imports.end()) << driver;
        }
    }
}

// Every driver, program and library of both editions runs on the
// processors of Windows 2000 and XP; the distribution's C++ runtime, as a
// test program links it, shows that the check finds what it looks for.
TEST(Package, ShippedCodeRunsOnAnI586) {
    size_t files = 0;
    for (const auto& entry : fs::recursive_directory_iterator(kPackage)) {
        if (!KindOf(Lower(entry.path().extension().string()))) continue;
        kvtest::MachineCode shipped;
        std::string error;
        ASSERT_TRUE(kvtest::ReadMachineCode(entry.path().string(), &shipped, &error)) << error;
        ++files;
        for (const std::string& found : kvtest::InstructionsBeyondI586(shipped)) {
            ADD_FAILURE() << fs::relative(entry.path(), kPackage).string() << " " << found;
        }
    }
    EXPECT_GE(files, 16u) << "eight binaries in each edition";
    kvtest::MachineCode test;
    std::string error;
    ASSERT_TRUE(kvtest::ReadMachineCode((kWin32Build / "tests/wine/shared_header_test.exe").string(), &test, &error))
        << error;
    const std::vector<std::string> found = kvtest::InstructionsBeyondI586(test);
    EXPECT_TRUE(std::any_of(found.begin(), found.end(),
                            [](const std::string& line) { return line.find(": cmov") != std::string::npos; }));
}

// objdump's lines as the check reads them: prefixes, the instructions an
// i586 has that look like later ones, and what it lacks.
TEST(I586Code, TellsInstructionsAnI586LacksFromThoseItHas) {
    const struct {
        const char* line;
        bool beyond;
    } cases[] = {
        {"  4012ab:\tcmovne %eax,%edx", true},
        {"66701000:\tcmova  %edx,%eax", true},  // a DLL's addresses: no indent
        {"  4012ab:\tfcomip %st(1),%st", true},
        {"  4012ab:\tfcomp  %st(1)", false},
        {"  4012ab:\tmovd   %mm0,%eax", true},
        {"  4012ab:\tcs nopw 0x0(%eax,%eax,1)", true},
        {"  4012ab:\tnop", false},
        {"  4012ab:\tlock cmpxchg8b (%esi)", false},
        {"  4012ab:\tpause", false},
        {"  4012ab:\tud2", false},
        {"  4012ab:\tprefetchnta (%eax)", true},
        {"  4012ab:\ttzcnt  %eax,%eax", true},
        {"  4012ab:\t(bad)", true},
    };
    for (const auto& c : cases) {
        kvtest::Instruction instruction;
        ASSERT_TRUE(kvtest::ParseObjdumpLine(c.line, &instruction)) << c.line;
        EXPECT_EQ(kvtest::BeyondI586(instruction) != nullptr, c.beyond) << c.line;
    }
}

TEST(PeImage, ReadsACrossBuiltProgram) {
    const fs::path exe = kWin32Build / "tests" / "wine" / "shared_header_test.exe";
    ASSERT_TRUE(fs::exists(exe)) << exe << " (run make win32)";
    const std::vector<uint8_t> bytes = ReadBytes(exe);
    kvtest::PeImage image;
    std::string error;
    ASSERT_TRUE(kvtest::ParsePe(bytes, &image, &error)) << error;
    EXPECT_EQ(image.machine, 0x14C);
    EXPECT_EQ(image.optionalMagic, 0x10B);
    EXPECT_EQ(image.subsystem, 3) << "a console program";
    const std::set<std::string> imports(image.imports.begin(), image.imports.end());
    EXPECT_TRUE(imports.count("kernel32.dll"));
    EXPECT_TRUE(imports.count("advapi32.dll"));
    EXPECT_FALSE(imports.count("libstdc++-6.dll")) << "the C++ runtime is linked statically";
    EXPECT_FALSE(ImportsWindows2000Lacks(image).empty()) << "the runtime's imports, which nothing shipped has";
    EXPECT_FALSE(image.sections.empty());
}

TEST(PeImage, ReadsTheSixtyFourBitBuildToo) {
    const fs::path exe = fs::path(KV_SOURCE_DIR) / "build" / "win64" / "tests" / "wine" / "shared_header_test.exe";
    ASSERT_TRUE(fs::exists(exe)) << exe << " (run make win64)";
    kvtest::PeImage image;
    std::string error;
    ASSERT_TRUE(kvtest::ParsePe(ReadBytes(exe), &image, &error)) << error;
    EXPECT_EQ(image.machine, 0x8664);
    EXPECT_EQ(image.optionalMagic, 0x20B);
    EXPECT_EQ(image.subsystem, 3);
    const std::set<std::string> imports(image.imports.begin(), image.imports.end());
    EXPECT_TRUE(imports.count("advapi32.dll")) << "import table found through the PE32+ directories";
}

TEST(PeImage, RejectsWhatIsNotAPeFile) {
    const fs::path exe = kWin32Build / "tests" / "wine" / "shared_header_test.exe";
    std::vector<uint8_t> truncated = ReadBytes(exe);
    truncated.resize(300);
    const std::vector<std::vector<uint8_t>> bad = {{}, {'M', 'Z'}, ReadBytes("/proc/self/exe"), truncated};
    for (const auto& bytes : bad) {
        kvtest::PeImage image;
        std::string error;
        EXPECT_FALSE(kvtest::ParsePe(bytes, &image, &error)) << bytes.size();
        EXPECT_FALSE(error.empty());
    }
}

}  // namespace
