// REG_MULTI_SZ splitting, joining and entry matching.
#include "multi_string.h"

#include <algorithm>
#include <cstring>

namespace {

char UpperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

bool EqualIgnoringAsciiCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (UpperAscii(a[i]) != UpperAscii(b[i])) return false;
    }
    return true;
}

}  // namespace

StringList SplitMultiString(const char* data, size_t size) {
    StringList entries;
    size_t pos = 0;
    while (data && pos < size) {
        const void* end = std::memchr(data + pos, '\0', size - pos);
        const size_t length = end ? static_cast<size_t>(static_cast<const char*>(end) - (data + pos)) : size - pos;
        if (length == 0) break;
        entries.emplace_back(data + pos, length);
        pos += length + 1;
    }
    return entries;
}

std::vector<char> JoinMultiString(const StringList& entries) {
    std::vector<char> image;
    for (const std::string& entry : entries) {
        image.insert(image.end(), entry.begin(), entry.end());
        image.push_back('\0');
    }
    image.push_back('\0');
    return image;
}

size_t RemoveEntry(StringList& entries, const std::string& entry) {
    const size_t before = entries.size();
    entries.erase(std::remove(entries.begin(), entries.end(), entry), entries.end());
    return before - entries.size();
}

bool ContainsEntry(const StringList& entries, const std::string& entry) {
    return std::find(entries.begin(), entries.end(), entry) != entries.end();
}

bool HardwareIdListMatches(const char* data, size_t size, const std::string& wanted) {
    for (const std::string& id : SplitMultiString(data, size)) {
        if (EqualIgnoringAsciiCase(id, wanted)) return true;
    }
    return false;
}
