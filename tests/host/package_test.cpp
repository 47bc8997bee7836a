// The laid-out package: manifests that match the files, and shipped
// binaries that start on a bare Windows 2000 (PE32 i386, right subsystem,
// only system DLLs that Windows 2000 has).
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>

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

// Expected subsystem by extension: the driver is native, the rest GUI.
int ExpectedSubsystem(const std::string& extension) { return extension == ".sys" ? 1 : 2; }

bool IsAllowedImport(const std::string& extension, const std::string& dll) {
    static const std::set<std::string> user = {"kernel32.dll", "user32.dll", "gdi32.dll", "advapi32.dll",
                                               "comctl32.dll", "shell32.dll", "ole32.dll", "setupapi.dll",
                                               "newdev.dll", "msvcrt.dll"};
    static const std::set<std::string> kernel = {"ntoskrnl.exe", "hal.dll"};
    return (extension == ".sys" ? kernel : user).count(dll) > 0;
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

TEST(Package, ShippedBinariesStartOnWindows2000) {
    for (const auto& entry : fs::recursive_directory_iterator(kPackage)) {
        const std::string extension = Lower(entry.path().extension().string());
        if (extension != ".exe" && extension != ".cpl" && extension != ".sys" && extension != ".dll") continue;
        kvtest::PeImage image;
        std::string error;
        ASSERT_TRUE(kvtest::ParsePe(ReadBytes(entry.path()), &image, &error)) << entry.path() << ": " << error;
        EXPECT_EQ(image.machine, 0x14C) << entry.path() << " is not i386";
        EXPECT_EQ(image.optionalMagic, 0x10B) << entry.path() << " is not PE32";
        EXPECT_EQ(image.subsystem, ExpectedSubsystem(extension)) << entry.path();
        for (const std::string& dll : image.imports) EXPECT_TRUE(IsAllowedImport(extension, dll)) << entry.path() << " imports " << dll;
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
    EXPECT_FALSE(image.sections.empty());
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
