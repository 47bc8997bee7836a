// Registry export parsing for kvsim.
#include "registry_export.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <sstream>
#include <vector>

#include "kvshared.h"

namespace kvsim {

namespace {

const char* const kDriverValueNames[] = {KV_FOR_EACH_DRIVER_VALUE(KV_VALUE_NAME_ITEM)};

const char kParametersSuffix[] = "\\services\\kvusb\\parameters";

// regedit writes version 5 files in UTF-16LE; the names we need are ASCII.
std::string DecodeText(const std::string& bytes) {
    if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
        static_cast<unsigned char>(bytes[1]) == 0xFE) {
        std::string text;
        for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
            const unsigned unit = static_cast<unsigned char>(bytes[i]) |
                                  (static_cast<unsigned char>(bytes[i + 1]) << 8);
            text.push_back(unit < 0x80 ? static_cast<char>(unit) : '?');
        }
        return text;
    }
    if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) return bytes.substr(3);
    return bytes;
}

std::string Trim(const std::string& text) {
    size_t begin = 0, end = text.size();
    while (begin < end && std::isspace(static_cast<unsigned char>(text[begin]))) ++begin;
    while (end > begin && std::isspace(static_cast<unsigned char>(text[end - 1]))) --end;
    return text.substr(begin, end - begin);
}

bool EndsWith(const std::string& text, const std::string& suffix) {
    return text.size() >= suffix.size() &&
           text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

bool IsHeader(const std::string& line) {
    return line == "REGEDIT4" || line == "Windows Registry Editor Version 5.00";
}

bool ParseDwordData(const std::string& data, uint32_t* value) {
    if (data.empty() || data.size() > 8) return false;
    for (char c : data) {
        if (!std::isxdigit(static_cast<unsigned char>(c))) return false;
    }
    *value = static_cast<uint32_t>(std::strtoul(data.c_str(), nullptr, 16));
    return true;
}

// One "name"=data line of the Parameters key.
bool ParseValueLine(const std::string& line, StoredValues* values, std::string* error) {
    if (line[0] == '@') return true;  // the key's default value; not ours
    const size_t close = line.find('"', 1);
    if (line[0] != '"' || close == std::string::npos || close + 1 >= line.size() ||
        line[close + 1] != '=') {
        *error = "expected \"Name\"=data";
        return false;
    }
    const std::string name = ToLower(line.substr(1, close - 1));
    const std::string data = Trim(line.substr(close + 2));
    if (data == "-") {
        values->erase(name);
        return true;
    }
    if (ToLower(data.substr(0, 6)) != "dword:") {
        values->erase(name);  // another type reads like a missing value
        return true;
    }
    uint32_t value = 0;
    if (!ParseDwordData(data.substr(6), &value)) {
        *error = "dword value is not 1 to 8 hex digits: " + data;
        return false;
    }
    (*values)[name] = value;
    return true;
}

}  // namespace

std::string ToLower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

int DriverValueId(const std::string& name) {
    const std::string lower = ToLower(name);
    for (int id = 0; id < KV_DRIVER_VALUE_COUNT; ++id) {
        if (ToLower(kDriverValueNames[id]) == lower) return id;
    }
    return -1;
}

bool ParseWord(const std::string& text, uint32_t* value) {
    if (text.empty()) return false;
    const bool negative = text[0] == '-';
    const std::string digits = negative ? text.substr(1) : text;
    const bool hex = digits.size() > 2 && (digits.compare(0, 2, "0x") == 0 || digits.compare(0, 2, "0X") == 0);
    if (digits.empty() || (negative && hex)) return false;
    char* end = nullptr;
    errno = 0;
    const unsigned long long magnitude = std::strtoull(digits.c_str(), &end, hex ? 16 : 10);
    if (*end != '\0' || errno != 0 || !std::isxdigit(static_cast<unsigned char>(digits[hex ? 2 : 0]))) return false;
    if (negative ? magnitude > 0x80000000ull : magnitude > 0xFFFFFFFFull) return false;
    *value = negative ? static_cast<uint32_t>(0u - static_cast<uint32_t>(magnitude))
                      : static_cast<uint32_t>(magnitude);
    return true;
}

bool ParseAssignment(const std::string& text, StoredValues* values, std::string* error) {
    const size_t equals = text.find('=');
    const std::string name = text.substr(0, equals);
    uint32_t value = 0;
    if (equals == std::string::npos || DriverValueId(name) < 0) {
        *error = "--set needs NAME=VALUE with a driver value name: " + text;
        return false;
    }
    if (!ParseWord(text.substr(equals + 1), &value)) {
        *error = "--set value is not a 32-bit number: " + text;
        return false;
    }
    (*values)[ToLower(name)] = value;
    return true;
}

bool ParseRegistryExport(const std::string& bytes, StoredValues* values, ParseError* error) {
    std::istringstream in(DecodeText(bytes));
    std::string raw;
    int lineNumber = 0;
    bool sawHeader = false, inParameters = false, continued = false;
    while (std::getline(in, raw)) {
        ++lineNumber;
        const std::string line = Trim(raw);
        const bool wasContinued = continued;
        continued = !line.empty() && line.back() == '\\';
        if (wasContinued || line.empty() || line[0] == ';') continue;
        if (!sawHeader) {
            if (!IsHeader(line)) {
                *error = {lineNumber, "not a registry export (expected REGEDIT4 or Windows Registry Editor Version 5.00)"};
                return false;
            }
            sawHeader = true;
            continue;
        }
        if (line[0] == '[') {
            if (line.back() != ']') {
                *error = {lineNumber, "unterminated key name"};
                return false;
            }
            const std::string key = ToLower(line.substr(1, line.size() - 2));
            inParameters = key[0] != '-' && EndsWith(key, kParametersSuffix);
            continue;
        }
        std::string message;
        if (inParameters && !ParseValueLine(line, values, &message)) {
            *error = {lineNumber, message};
            return false;
        }
    }
    if (!sawHeader) {
        *error = {0, "empty file, not a registry export"};
        return false;
    }
    return true;
}

}  // namespace kvsim
