// readme.txt of each edition as the installer copies it to readme.htm: a
// whole HTML page in the charset it declares (plain ASCII for en-US, code
// page 936 for zh-CN), covering what a user needs to find in it.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const fs::path kPackage = fs::path(KV_SOURCE_DIR) / "out" / "package";

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Converts with iconv; false when the bytes are not valid in `from`.
bool Convert(const std::string& bytes, const char* from, const char* to, std::string* out) {
    const fs::path input = fs::temp_directory_path() / ("kv_readme_" + std::to_string(::getpid()));
    std::ofstream(input, std::ios::binary) << bytes;
    const std::string command = std::string("iconv -f ") + from + " -t " + to + " '" + input.string() + "' 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    out->clear();
    char chunk[4096];
    size_t got;
    while (pipe && (got = fread(chunk, 1, sizeof chunk, pipe)) > 0) out->append(chunk, got);
    const int status = pipe ? pclose(pipe) : -1;
    fs::remove(input);
    return status == 0;
}

struct Edition {
    const char* name;
    const char* charset;       // as the page declares it
    const char* iconvCharset;  // what its bytes must be valid in
    std::vector<std::string> mustMention;  // UTF-8
};

const Edition kEditions[] = {
    {"en-US", "charset=windows-1252", "ASCII",
     {"Windows 2000", "Windows 7", "setup.exe", "Calibrate", "Is cursor lined up with the finger touch on?",
      "Beep Settings", "Mouse Mode", "Screen Placement", "kvrbtn.exe", "Uninstall",
      "Device didn't connect or Driver isn't installed.", "Troubleshooting"}},
    {"zh-CN", "charset=gb2312", "GB2312",
     {"Windows 2000", "Windows 7", "setup.exe", "校正程序", "声音设置", "鼠标模式", "屏幕位置", "kvrbtn.exe",
      "卸载驱动", "使用说明", "故障排除"}},
};

TEST(Readme, EachEditionIsAWholePageInItsDeclaredCharset) {
    for (const Edition& edition : kEditions) {
        const fs::path path = kPackage / edition.name / "readme.txt";
        ASSERT_TRUE(fs::exists(path)) << path << " (run make package)";
        const std::string bytes = ReadFile(path);
        EXPECT_NE(bytes.find(edition.charset), std::string::npos) << edition.name;
        EXPECT_EQ(bytes.rfind("<!DOCTYPE", 0), 0u) << edition.name;
        EXPECT_NE(bytes.find("</html>"), std::string::npos) << edition.name << " is cut short";
        std::string text;
        ASSERT_TRUE(Convert(bytes, edition.iconvCharset, "UTF-8", &text)) << edition.name << " is not " << edition.iconvCharset;
        for (const std::string& phrase : edition.mustMention) {
            EXPECT_NE(text.find(phrase), std::string::npos) << edition.name << " does not mention " << phrase;
        }
    }
}

// The Chinese page must ship as code page 936 bytes, not as UTF-8.
TEST(Readme, ChinesePageIsCodePage936NotUtf8) {
    const std::string bytes = ReadFile(kPackage / "zh-CN" / "readme.txt");
    std::string expected;
    ASSERT_TRUE(Convert("使用说明", "UTF-8", "CP936", &expected));
    EXPECT_EQ(expected, "\xca\xb9\xd3\xc3\xcb\xb5\xc3\xf7");
    EXPECT_NE(bytes.find(expected), std::string::npos);
    EXPECT_EQ(bytes.find("使用说明"), std::string::npos) << "UTF-8 text in the CP936 page";
}

}  // namespace
