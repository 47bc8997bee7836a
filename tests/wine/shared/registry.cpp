// The Wine tests' registry keys.
#include "registry.h"

#include <sddl.h>

#include <algorithm>

namespace kvtest {

namespace {

// A NUL-separated list closed by an empty entry, as REG_MULTI_SZ stores it.
std::string JoinList(const std::vector<std::string>& entries) {
    std::string image;
    for (const std::string& entry : entries) image += entry + '\0';
    return image + '\0';
}

std::vector<std::string> SplitList(const std::string& image) {
    std::vector<std::string> entries;
    for (size_t start = 0; start < image.size();) {
        const size_t end = std::min(image.find('\0', start), image.size());
        if (end == start) break;
        entries.push_back(image.substr(start, end - start));
        start = end + 1;
    }
    return entries;
}

}  // namespace

HKEY RegKey::Open(REGSAM access) const {
    HKEY key = nullptr;
    return RegOpenKeyExA(root_, path_.c_str(), 0, access, &key) == ERROR_SUCCESS ? key : nullptr;
}

bool RegKey::Create() const {
    HKEY key = nullptr;
    if (RegCreateKeyExA(root_, path_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

bool RegKey::Exists() const {
    HKEY key = Open(KEY_QUERY_VALUE);
    if (key) RegCloseKey(key);
    return key != nullptr;
}

bool RegKey::RefuseWrites() const {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    HKEY key = nullptr;
    const bool refused =
        ConvertStringSecurityDescriptorToSecurityDescriptorA("D:P(A;;KRSD;;;WD)", SDDL_REVISION_1, &descriptor,
                                                             nullptr) &&
        RegOpenKeyExA(root_, path_.c_str(), 0, WRITE_DAC, &key) == ERROR_SUCCESS &&
        RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, descriptor) == ERROR_SUCCESS;
    if (key) RegCloseKey(key);
    if (descriptor) LocalFree(descriptor);
    return refused;
}

bool RegKey::Remove() const {
    if (HKEY key = Open(KEY_READ)) {
        std::vector<std::string> subs;
        char name[256];
        for (DWORD size = sizeof name; RegEnumKeyExA(key, static_cast<DWORD>(subs.size()), name, &size, nullptr,
                                                     nullptr, nullptr, nullptr) == ERROR_SUCCESS;
             size = sizeof name) {
            subs.push_back(name);
        }
        RegCloseKey(key);
        for (const std::string& sub : subs) Sub(sub).Remove();
    }
    return RegDeleteKeyA(root_, path_.c_str()) == ERROR_SUCCESS;
}

bool RegKey::Set(const char* name, const RegValue& value) const {
    HKEY key = nullptr;
    if (RegCreateKeyExA(root_, path_.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return false;
    const LONG status = RegSetValueExA(key, name, 0, value.type, reinterpret_cast<const BYTE*>(value.data.data()),
                                       static_cast<DWORD>(value.data.size()));
    RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

bool RegKey::SetDword(const char* name, DWORD value) const {
    return Set(name, {REG_DWORD, std::string(reinterpret_cast<const char*>(&value), sizeof value)});
}

bool RegKey::SetText(const char* name, const std::string& text) const {
    return Set(name, {REG_SZ, text + '\0'});
}

bool RegKey::SetList(const char* name, const std::vector<std::string>& entries) const {
    return Set(name, {REG_MULTI_SZ, JoinList(entries)});
}

bool RegKey::Delete(const char* name) const {
    HKEY key = Open(KEY_SET_VALUE);
    if (!key) return false;
    const LONG status = RegDeleteValueA(key, name);
    RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

bool RegKey::Get(const char* name, RegValue* value) const {
    HKEY key = Open(KEY_QUERY_VALUE);
    if (!key) return false;
    DWORD size = 0;
    LONG status = RegQueryValueExA(key, name, nullptr, &value->type, nullptr, &size);
    if (status == ERROR_SUCCESS) {
        value->data.assign(size, '\0');
        status = RegQueryValueExA(key, name, nullptr, &value->type, reinterpret_cast<BYTE*>(&value->data[0]), &size);
        value->data.resize(size);
    }
    RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

bool RegKey::Has(const char* name) const {
    RegValue value;
    return Get(name, &value);
}

DWORD RegKey::Dword(const char* name, DWORD fallback) const {
    RegValue value;
    if (!Get(name, &value) || value.type != REG_DWORD || value.data.size() != sizeof(DWORD)) return fallback;
    DWORD word = 0;
    value.data.copy(reinterpret_cast<char*>(&word), sizeof word);
    return word;
}

std::string RegKey::Text(const char* name) const {
    RegValue value;
    if (!Get(name, &value) || (value.type != REG_SZ && value.type != REG_EXPAND_SZ)) return std::string();
    return value.data.substr(0, value.data.find('\0'));
}

std::string RegKey::StoredText(const char* name) const {
    RegValue value;
    return Get(name, &value) && value.type == REG_SZ ? value.data : "<missing>";
}

std::vector<std::string> RegKey::List(const char* name, bool* present) const {
    RegValue value;
    const bool read = Get(name, &value);
    if (present) *present = read;
    return read ? SplitList(value.data) : std::vector<std::string>();
}

std::vector<std::pair<std::string, RegValue>> RegKey::Values() const {
    std::vector<std::pair<std::string, RegValue>> values;
    HKEY key = Open(KEY_QUERY_VALUE);
    if (!key) return values;
    for (DWORD index = 0;; ++index) {
        char name[16384];
        DWORD nameSize = sizeof name, type = 0, size = 0;
        if (RegEnumValueA(key, index, name, &nameSize, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) break;
        RegValue value{type, std::string(size, '\0')};
        nameSize = sizeof name;
        RegEnumValueA(key, index, name, &nameSize, nullptr, &type, reinterpret_cast<BYTE*>(&value.data[0]), &size);
        value.data.resize(size);
        values.emplace_back(name, value);
    }
    RegCloseKey(key);
    return values;
}

RemovedRegistry::RemovedRegistry(const RegKey& key, const char* name) : key_(key), name_(name) {
    if (name_) {
        RegValue value;
        removed_ = key_.Get(name_, &value) && key_.Delete(name_);
        if (removed_) values_.emplace_back(name_, value);
    } else {
        values_ = key_.Values();
        removed_ = RegDeleteKeyA(key_.Root(), key_.Path().c_str()) == ERROR_SUCCESS;
    }
}

RemovedRegistry::~RemovedRegistry() {
    if (!removed_ || !key_.Create()) return;
    for (const auto& value : values_) key_.Set(value.first.c_str(), value.second);
}

}  // namespace kvtest
