// Test fixtures of the installer.
#include "package_fixture.h"

#include <aclapi.h>
#include <sddl.h>
#include <shlobj.h>

#include <map>

#include "gui_wait.h"
#include "kernel_services.h"
#include "multi_string.h"
#include "package_names.h"
#include "process_runner.h"

#ifndef KV_INF_DIR
#error KV_INF_DIR names the folder of the built INF files
#endif

namespace {

void WriteSmallFile(const std::string& path, const std::string& content) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    CloseHandle(file);
}

// Wide: the Chinese edition's link names are Unicode on any system.
void RemoveTree(const std::wstring& folder) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..") continue;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(folder + name + L"\\");
            } else {
                DeleteFileW((folder + name).c_str());
            }
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(folder.c_str());
}

void RemoveTree(const std::string& folder) {
    wchar_t wide[MAX_PATH] = {};
    if (MultiByteToWideChar(CP_ACP, 0, folder.c_str(), -1, wide, MAX_PATH)) RemoveTree(std::wstring(wide));
}

}  // namespace

std::vector<std::string> PackageFolder::StandInFiles() {
    return {"readme.txt", "kvcal.exe", "uninst.exe", "kvrbtn.exe", "KvUsb.dll",
            "kvcplusb.cpl", "kvusb.sys", "kvfilt.sys"};
}

PackageFolder::PackageFolder() {
    char temp[MAX_PATH] = {};
    GetTempPathA(sizeof temp, temp);
    path_ = std::string(temp) + "kv package " + std::to_string(GetCurrentProcessId()) + "\\";
    CreateDirectoryA(path_.c_str(), nullptr);
    const std::string infDir = kvtest::WindowsPath(KV_INF_DIR) + "\\";
    CopyFileA((infDir + KV_DRIVER_INF).c_str(), (path_ + KV_DRIVER_INF).c_str(), FALSE);
    CopyFileA((infDir + KV_FILTER_INF).c_str(), (path_ + KV_FILTER_INF).c_str(), FALSE);
    for (const std::string& name : StandInFiles()) WriteSmallFile(path_ + name, "stand-in for " + name);
}

PackageFolder::~PackageFolder() { RemoveTree(path_); }

TestDevice::TestDevice(const std::vector<std::string>& hardwareIds) {
    GUID hidClass = {0x745a17a0, 0x74d3, 0x11d0, {0xb6, 0xfe, 0x00, 0xa0, 0xc9, 0x0f, 0x57, 0xda}};
    set_ = SetupDiCreateDeviceInfoList(&hidClass, nullptr);
    if (set_ == INVALID_HANDLE_VALUE) return;
    data_.cbSize = sizeof data_;
    if (!SetupDiCreateDeviceInfoA(set_, "KVTEST", &hidClass, nullptr, nullptr, DICD_GENERATE_ID, &data_)) return;
    const std::vector<char> ids = JoinMultiString(hardwareIds);
    std::vector<char> list(ids);
    list.push_back('\0');
    created_ = SetupDiSetDeviceRegistryPropertyA(set_, &data_, SPDRP_HARDWAREID,
                                                 reinterpret_cast<const BYTE*>(list.data()),
                                                 static_cast<DWORD>(list.size())) &&
               SetupDiCallClassInstaller(DIF_REGISTERDEVICE, set_, &data_);
}

TestDevice::~TestDevice() {
    if (set_ == INVALID_HANDLE_VALUE) return;
    if (created_) SetupDiRemoveDevice(set_, &data_);
    SetupDiDestroyDeviceInfoList(set_);
}

std::string TestDevice::Property(DWORD property) const {
    char buffer[512] = {};
    if (!SetupDiGetDeviceRegistryPropertyA(set_, const_cast<SP_DEVINFO_DATA*>(&data_), property, nullptr,
                                           reinterpret_cast<BYTE*>(buffer), sizeof buffer - 1, nullptr)) {
        return std::string();
    }
    return buffer;
}

std::vector<std::string> TestDevice::LowerFilters(bool* present) const {
    char buffer[512] = {};
    DWORD size = 0;
    const bool read = SetupDiGetDeviceRegistryPropertyA(set_, const_cast<SP_DEVINFO_DATA*>(&data_), SPDRP_LOWERFILTERS,
                                                        nullptr, reinterpret_cast<BYTE*>(buffer), sizeof buffer - 2,
                                                        &size);
    if (present) *present = read;
    return read ? SplitMultiString(buffer, size) : std::vector<std::string>();
}

bool TestDevice::SetLowerFilters(const std::vector<std::string>& entries) {
    const std::vector<char> image = JoinMultiString(entries);
    return SetupDiSetDeviceRegistryPropertyA(set_, &data_, SPDRP_LOWERFILTERS,
                                             reinterpret_cast<const BYTE*>(image.data()),
                                             static_cast<DWORD>(image.size()));
}

std::vector<std::string> TestDevice::HardwareKeyList(const char* name) const {
    HKEY key = SetupDiOpenDevRegKey(set_, const_cast<SP_DEVINFO_DATA*>(&data_), DICS_FLAG_GLOBAL, 0, DIREG_DEV,
                                    KEY_QUERY_VALUE);
    if (key == INVALID_HANDLE_VALUE) return {};
    char buffer[512] = {};
    DWORD size = sizeof buffer - 2;
    const bool read = RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &size) == 0;
    RegCloseKey(key);
    return read ? SplitMultiString(buffer, size) : std::vector<std::string>();
}

bool TestDevice::SetHardwareKeyList(const char* name, const std::vector<std::string>& entries) {
    HKEY key = SetupDiCreateDevRegKeyA(set_, &data_, DICS_FLAG_GLOBAL, 0, DIREG_DEV, nullptr, nullptr);
    if (key == INVALID_HANDLE_VALUE) return false;
    const std::vector<char> image = JoinMultiString(entries);
    const LONG set = RegSetValueExA(key, name, 0, REG_MULTI_SZ, reinterpret_cast<const BYTE*>(image.data()),
                                    static_cast<DWORD>(image.size()));
    RegCloseKey(key);
    return set == ERROR_SUCCESS;
}

bool TestDevice::SetDriverInf(const char* infName) {
    HKEY key = SetupDiCreateDevRegKeyA(set_, &data_, DICS_FLAG_GLOBAL, 0, DIREG_DRV, nullptr, nullptr);
    if (key == INVALID_HANDLE_VALUE) return false;
    const LONG set = RegSetValueExA(key, "InfPath", 0, REG_SZ, reinterpret_cast<const BYTE*>(infName),
                                    static_cast<DWORD>(strlen(infName) + 1));
    RegCloseKey(key);
    return set == ERROR_SUCCESS;
}

std::string ProgramFilesFolder() {
    char path[MAX_PATH] = {};
    SHGetFolderPathA(nullptr, CSIDL_PROGRAM_FILES, nullptr, 0, path);
    return path;
}

std::string SystemFolder() {
    char path[MAX_PATH] = {};
    GetSystemDirectoryA(path, sizeof path);
    return path;
}

std::string CommonProgramsFolder() {
    char path[MAX_PATH] = {};
    // Also makes Wine write "Common Programs" into Shell Folders, as Windows has it.
    SHGetFolderPathA(nullptr, CSIDL_COMMON_PROGRAMS | CSIDL_FLAG_CREATE, nullptr, 0, path);
    return path;
}

std::string WindowsFolder() {
    char path[MAX_PATH] = {};
    GetWindowsDirectoryA(path, sizeof path);
    return path;
}

bool FileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string RunOnceValue() { return MachineKey(KV_RUN_ONCE_KEY).Text("kvusbcal"); }

bool WaitUntilGone(const std::string& path, DWORD milliseconds) {
    return kvtest::WaitFor([&] { return !FileExists(path); }, milliseconds);
}

void ResetInstalledState() {
    kvtest::DeleteKernelService("kvusb");
    kvtest::DeleteKernelService("kvfilt");
    for (const char* service : {KV_DRIVER_SERVICE_KEY, KV_FILTER_SERVICE_KEY}) MachineKey(service).Remove();
    MachineKey(KV_HID_CLASS_KEY).Delete(KV_LOWER_FILTERS);
    MachineKey(KV_MOUSE_CLASS_KEY).Delete(KV_UPPER_FILTERS);
    MachineKey(KV_RUN_ONCE_KEY).Delete("kvusbcal");
    RemoveTree(ProgramFilesFolder() + KV_PROGRAM_FOLDER "\\");
    RemoveTree(CommonProgramsFolder() + KV_START_MENU_FOLDER);
    const std::string system = SystemFolder();
    for (const char* file : {"\\kvcplusb.cpl", "\\drivers\\kvusb.sys", "\\drivers\\kvfilt.sys"}) {
        DeleteFileA((system + file).c_str());
    }
    const std::string windows = WindowsFolder();
    for (const char* file : {"\\inf\\kvusb.inf", "\\inf\\kvfilt.inf", "\\inf\\kvusb.pnf", "\\inf\\kvfilt.pnf"}) {
        DeleteFileA((windows + file).c_str());
    }
}

void ExpectNewServiceKeys(DWORD errorControl) {
    for (const char* key : {KV_DRIVER_SERVICE_KEY, KV_FILTER_SERVICE_KEY}) {
        EXPECT_EQ(MachineKey(key).Dword("ErrorControl", 99), errorControl) << key;
        EXPECT_EQ(MachineKey(key).Dword("Start", 99), 3u) << key;
        EXPECT_EQ(MachineKey(key).Dword("Type", 99), 1u) << key;
    }
}

void ExpectSettingsKeyRules() {
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, KV_DRIVER_SERVICE_KEY "\\Parameters", 0, READ_CONTROL, &key), 0);
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    const DWORD read = GetSecurityInfo(key, SE_REGISTRY_KEY, DACL_SECURITY_INFORMATION, nullptr, nullptr, &dacl,
                                       nullptr, &descriptor);
    RegCloseKey(key);
    ASSERT_EQ(read, 0u);
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    GetSecurityDescriptorControl(descriptor, &control, &revision);
    EXPECT_TRUE(control & SE_DACL_PROTECTED);
    std::map<std::string, DWORD> rights;  // account SID (marked when denied) to its rights
    ACCESS_ALLOWED_ACE* ace = nullptr;
    for (DWORD i = 0; dacl && i < dacl->AceCount && GetAce(dacl, i, reinterpret_cast<void**>(&ace)); ++i) {
        char* sid = nullptr;
        ConvertSidToStringSidA(&ace->SidStart, &sid);
        rights[std::string(sid ? sid : "?") + (ace->Header.AceType == ACCESS_ALLOWED_ACE_TYPE ? "" : " denied")] |=
            ace->Mask;
        LocalFree(sid);
    }
    LocalFree(descriptor);
    const std::map<std::string, DWORD> expected = {{"S-1-5-18", KEY_ALL_ACCESS},
                                                   {"S-1-5-32-544", KEY_ALL_ACCESS},
                                                   {"S-1-5-32-545", KEY_READ}};
    EXPECT_EQ(rights, expected);
}
