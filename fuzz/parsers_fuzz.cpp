// Fuzzes the parsers of what users, files and the registry hand the
// package: registry multi-strings (split, join, hardware-id match), the
// applet's stored decimal texts, kvsim's registry-export reader and its
// calibrate command line. The first byte picks the parser; the rest is its
// input, in a buffer of exactly its size so the sanitizers see any read
// past it. Besides staying quiet, a split must join back to itself and a
// decimal text must read as a number in 0..INT32_MAX.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "calibrate_command.h"
#include "multi_string.h"
#include "registry_export.h"
#include "settings_rules.h"

namespace {

void FuzzMultiString(const char* data, size_t size) {
    const StringList entries = SplitMultiString(data, size);
    for (const std::string& entry : entries) {
        if (entry.empty() || entry.find('\0') != std::string::npos) abort();
    }
    const std::vector<char> joined = JoinMultiString(entries);
    if (SplitMultiString(joined.data(), joined.size()) != entries) abort();
    HardwareIdListMatches(data, size, "USB\\VID_7A4E&PID_0001");
}

void FuzzDecimalText(const char* data, size_t size) {
    if (ParseDecimalText(data, size) < 0) abort();
}

void FuzzRegistryExport(const char* data, size_t size) {
    kvsim::StoredValues values;
    kvsim::ParseError error{0, ""};
    if (!kvsim::ParseRegistryExport(std::string(data, size), &values, &error)) {
        if (error.line < 0 || error.message.empty()) abort();
        return;
    }
    for (const auto& value : values) {
        if (value.first != kvsim::ToLower(value.first)) abort();
    }
}

void FuzzCalibrateCommand(const char* data, size_t size) {
    std::vector<std::string> args;
    std::istringstream words(std::string(data, size));
    for (std::string word; words >> word;) args.push_back(word);
    std::ostringstream out, err;
    const int status = kvsim::RunCalibrate(args, out, err);
    if (status != 0 && (status != 2 || err.str().empty())) abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    void (*const parsers[])(const char*, size_t) = {FuzzMultiString, FuzzDecimalText, FuzzRegistryExport,
                                                   FuzzCalibrateCommand};
    const size_t length = size - 1;
    char* input = static_cast<char*>(malloc(length ? length : 1));
    if (length) memcpy(input, data + 1, length);
    parsers[data[0] % (sizeof parsers / sizeof parsers[0])](input, length);
    free(input);
    return 0;
}
