// Test fixtures of the installer: a package folder of small stand-in files
// with the real INF files, device nodes with chosen hardware ids, and the
// prefix's installed state put back before and after each test.
#pragma once

#include <windows.h>
#include <setupapi.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "registry.h"

using kvtest::MachineKey;

// The package folder: the built INF files and a small file for every other
// file the INF copies. Removed again with everything in it.
class PackageFolder {
public:
    PackageFolder();
    ~PackageFolder();
    const std::string& Path() const { return path_; }  // with trailing backslash
    std::string DriverInf() const { return path_ + "kvusb.inf"; }
    static std::vector<std::string> StandInFiles();

private:
    std::string path_;
};

// A device node that Wine lists as present, with `hardwareIds` as its list.
class TestDevice {
public:
    explicit TestDevice(const std::vector<std::string>& hardwareIds);
    ~TestDevice();
    bool Created() const { return created_; }
    std::string Property(DWORD property) const;  // REG_SZ or first entry; "" if none
    // The device's own lower filters (SPDRP_LOWERFILTERS); `present` false
    // when the property does not exist.
    std::vector<std::string> LowerFilters(bool* present = nullptr) const;
    bool SetLowerFilters(const std::vector<std::string>& entries);
    // A list of the device's hardware key, where Wine's device install puts
    // what an INF's .HW section writes (Windows: the node's own lists).
    std::vector<std::string> HardwareKeyList(const char* name) const;
    bool SetHardwareKeyList(const char* name, const std::vector<std::string>& entries);
    // Gives the node a driver key naming `infName` as the INF it came from.
    bool SetDriverInf(const char* infName);

private:
    HDEVINFO set_ = INVALID_HANDLE_VALUE;
    SP_DEVINFO_DATA data_ = {};
    bool created_ = false;
};

// Removes what an installation leaves: files, service keys and services,
// the package's class filter entries, shortcuts and the RunOnce value.
void ResetInstalledState();

std::string ProgramFilesFolder();
std::string SystemFolder();
std::string WindowsFolder();
std::string CommonProgramsFolder();
bool FileExists(const std::string& path);
// The command RunOnce holds for the calibration program; "" when none.
std::string RunOnceValue();
// Whether `path` is gone within `milliseconds` (a batch removes it later).
bool WaitUntilGone(const std::string& path, DWORD milliseconds);

// A test that starts and ends with nothing of the package installed, and
// has a package folder.
class PackageTest : public testing::Test {
protected:
    void SetUp() override { ResetInstalledState(); }
    void TearDown() override { ResetInstalledState(); }
    PackageFolder package;
};

// Both service keys as the installer creates them: the given ErrorControl,
// Start 3 (on demand), Type 1 (kernel driver).
void ExpectNewServiceKeys(DWORD errorControl);

// The settings key's access rules, read back from the registry (Wine keeps
// them but runs every program as an administrator): only its own rules
// (protected), full control for SYSTEM and administrators, reading for
// users, nothing more for anyone.
void ExpectSettingsKeyRules();
