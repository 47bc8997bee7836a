// Registry keys as the Wine tests prepare, read back and put back what the
// programs under test use. Every call opens the key afresh, so a test sees
// what the program left there.
#pragma once
#include <windows.h>

#include <string>
#include <utility>
#include <vector>

namespace kvtest {

// A value as stored: its type and its bytes.
struct RegValue {
    DWORD type = REG_NONE;
    std::string data;
};

class RegKey {
public:
    RegKey(HKEY root, std::string path) : root_(root), path_(std::move(path)) {}
    HKEY Root() const { return root_; }
    const std::string& Path() const { return path_; }
    RegKey Sub(const std::string& name) const { return RegKey(root_, path_ + "\\" + name); }

    bool Create() const;
    bool Exists() const;
    // The key with everything below it (RegDeleteKey takes leaves only).
    bool Remove() const;
    // Everyone may read the key (and remove it) but not write it, as the
    // installer leaves the driver's key for a standard user.
    bool RefuseWrites() const;

    // The Set calls create the key when it is missing.
    bool Set(const char* name, const RegValue& value) const;
    bool SetDword(const char* name, DWORD value) const;
    bool SetText(const char* name, const std::string& text) const;  // REG_SZ, terminator included
    bool SetList(const char* name, const std::vector<std::string>& entries) const;  // REG_MULTI_SZ
    bool Delete(const char* name) const;

    // False when the value (or the key) is missing.
    bool Get(const char* name, RegValue* value) const;
    bool Has(const char* name) const;
    // A REG_DWORD of four bytes, else `fallback`.
    DWORD Dword(const char* name, DWORD fallback) const;
    // REG_SZ text up to its terminator; "" when missing.
    std::string Text(const char* name) const;
    // REG_SZ bytes as stored, terminator included; "<missing>" when there
    // are none, so a test sees whether the terminator was written.
    std::string StoredText(const char* name) const;
    // REG_MULTI_SZ entries; a missing value is an empty list and `present` false.
    std::vector<std::string> List(const char* name, bool* present = nullptr) const;
    std::vector<std::pair<std::string, RegValue>> Values() const;

private:
    HKEY Open(REGSAM access) const;  // null when it cannot be opened
    HKEY root_;
    std::string path_;
};

// A key made empty for the life of the object: removed with everything
// below it when made, and again when gone.
class ScratchKey : public RegKey {
public:
    ScratchKey(HKEY root, const std::string& path) : RegKey(root, path) { Remove(); }
    ~ScratchKey() { Remove(); }
    ScratchKey(const ScratchKey&) = delete;
    ScratchKey& operator=(const ScratchKey&) = delete;
};

// Keys below HKEY_LOCAL_MACHINE and HKEY_CURRENT_USER.
inline RegKey MachineKey(const std::string& path) { return RegKey(HKEY_LOCAL_MACHINE, path); }
inline RegKey UserKey(const std::string& path) { return RegKey(HKEY_CURRENT_USER, path); }

// A value, or without a name a key of plain values, taken away for the
// life of the object (a system without it) and put back as it was.
class RemovedRegistry {
public:
    explicit RemovedRegistry(const RegKey& key, const char* name = nullptr);
    ~RemovedRegistry();
    RemovedRegistry(const RemovedRegistry&) = delete;
    RemovedRegistry& operator=(const RemovedRegistry&) = delete;
    bool Removed() const { return removed_; }

private:
    RegKey key_;
    const char* name_;
    bool removed_ = false;
    std::vector<std::pair<std::string, RegValue>> values_;
};

// The Windows version Wine reports to `program` (by its file name; "" for
// Wine's own), for the life of the object.
class ReportedWindowsVersion {
public:
    ReportedWindowsVersion(const std::string& program, const char* version)
        : key_(HKEY_CURRENT_USER, "Software\\Wine\\AppDefaults\\" + program.substr(program.find_last_of("\\/") + 1)) {
        if (*version) key_.SetText("Version", version);
    }

private:
    ScratchKey key_;
};

}  // namespace kvtest
