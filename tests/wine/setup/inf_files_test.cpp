// The package's INF files as Wine's SetupAPI reads them: version data,
// models, device install sections, services, the package sections and the
// class filter entries.
#include <gtest/gtest.h>

#include <windows.h>
#include <setupapi.h>

#include <algorithm>
#include <string>
#include <vector>

#include "package_fixture.h"

namespace {

class InfFile {
public:
    explicit InfFile(const std::string& path)
        : inf_(SetupOpenInfFileA(path.c_str(), nullptr, INF_STYLE_WIN4, nullptr)) {}
    ~InfFile() {
        if (Opened()) SetupCloseInfFile(inf_);
    }
    bool Opened() const { return inf_ != INVALID_HANDLE_VALUE; }

    // The fields of the line `key` in `section` (of its first line when key is null).
    std::vector<std::string> Fields(const char* section, const char* key) const {
        INFCONTEXT line;
        if (!SetupFindFirstLineA(inf_, section, key, &line)) return {};
        return LineFields(line);
    }

    // Every line of `section`, each as its fields.
    std::vector<std::vector<std::string>> Lines(const char* section) const {
        std::vector<std::vector<std::string>> lines;
        INFCONTEXT line;
        for (bool more = SetupFindFirstLineA(inf_, section, nullptr, &line); more;
             more = SetupFindNextLine(&line, &line)) {
            lines.push_back(LineFields(line));
        }
        return lines;
    }

    std::wstring WideText(const char* section, const char* key) const {
        WCHAR text[256] = {};
        std::wstring wideSection(section, section + strlen(section)), wideKey(key, key + strlen(key));
        if (!SetupGetLineTextW(nullptr, inf_, wideSection.c_str(), wideKey.c_str(), text, 256, nullptr)) return L"";
        return text;
    }

private:
    static std::vector<std::string> LineFields(INFCONTEXT& line) {
        std::vector<std::string> fields;
        const DWORD count = SetupGetFieldCount(&line);
        for (DWORD i = 1; i <= count; ++i) {
            char text[512] = {};
            SetupGetStringFieldA(&line, i, text, sizeof text, nullptr);
            fields.push_back(text);
        }
        return fields;
    }
    HINF inf_;
};

typedef std::vector<std::string> Fields;

struct Directive {
    const char* section;
    const char* key;
    Fields expected;
};

class InfFilesTest : public testing::Test {
protected:
    PackageFolder package;
    InfFile driver{package.Path() + "kvusb.inf"};
    InfFile filter{package.Path() + "kvfilt.inf"};

    void ExpectDirectives(const InfFile& inf, const std::vector<Directive>& directives) {
        for (const Directive& d : directives) {
            EXPECT_EQ(inf.Fields(d.section, d.key), d.expected) << d.section << " " << (d.key ? d.key : "");
        }
    }
};

TEST_F(InfFilesTest, BothOpenAsWindowsNtInfFiles) {
    ASSERT_TRUE(driver.Opened());
    ASSERT_TRUE(filter.Opened());
    struct VersionCase {
        const InfFile* inf;
        const char *deviceClass, *classGuid;
    } cases[] = {
        {&driver, "HIDClass", "{745A17A0-74D3-11D0-B6FE-00A0C90F57DA}"},
        {&filter, "Mouse", "{4D36E96F-E325-11CE-BFC1-08002BE10318}"},
    };
    for (const VersionCase& c : cases) {
        ExpectDirectives(*c.inf, {
            {"Version", "Signature", {"$WINDOWS NT$"}},
            {"Version", "Class", {c.deviceClass}},
            {"Version", "ClassGuid", {c.classGuid}},
            {"Version", "Provider", {"Kestiva"}},
            {"Version", "CatalogFile", {}},  // the package ships no catalog
        });
    }
    for (const InfFile* inf : {&driver, &filter}) {
        const Fields version = inf->Fields("Version", "DriverVer");
        ASSERT_EQ(version.size(), 2u);
        EXPECT_EQ(version[0].size(), 10u) << "mm/dd/yyyy";
        EXPECT_EQ(std::count(version[1].begin(), version[1].end(), '.'), 3) << "a.b.c.d";
    }
}

// Undecorated for Windows 2000, and for XP to 7 only the platform the
// build's drivers are for (NTx86 in the package): a 64-bit Windows finds no
// models in the package.
TEST_F(InfFilesTest, ModelsNameTheControllerAndItsHidChildForTheDriversPlatformOnly) {
    const std::string platform = sizeof(void*) == 8 ? "NTamd64" : "NTx86";
    ExpectDirectives(driver, {
        {"Manufacturer", nullptr, {"KvUsb.Models", platform}},
        {"KvUsb.Models", nullptr, {"KvUsb_Device", "USB\\VID_7A4E&PID_0001"}},
        {("KvUsb.Models." + platform).c_str(), nullptr, {"KvUsb_Device", "USB\\VID_7A4E&PID_0001"}},
    });
    ExpectDirectives(filter, {
        {"Manufacturer", nullptr, {"KvFilt.Models", platform}},
        {"KvFilt.Models", nullptr, {"KvFilt_Device", "HID\\VID_7A4E&PID_0001"}},
        {("KvFilt.Models." + platform).c_str(), nullptr, {"KvFilt_Device", "HID\\VID_7A4E&PID_0001"}},
    });
}

TEST_F(InfFilesTest, ControllerGetsHidUsbWithKvusbAsLowerFilter) {
    ExpectDirectives(driver, {
        {"KvUsb_Device.NT", "Include", {"input.inf"}},
        {"KvUsb_Device.NT", "Needs", {"HID_Inst.NT"}},
        {"KvUsb_Device.NT", "CopyFiles", {"KvUsb.Driver.Files"}},
        {"KvUsb_Device.NT", "CopyINF", {"kvfilt.inf"}},
        {"KvUsb_Device.NT.HW", "AddReg", {"KvUsb_Device.HW.AddReg"}},
        // FLG_ADDREG_TYPE_MULTI_SZ | FLG_ADDREG_APPEND: the node's other filters stay.
        {"KvUsb_Device.HW.AddReg", nullptr, {"HKR", "", "LowerFilters", "0x00010008", "kvusb"}},
        {"KvUsb_Device.NT.Services", "Needs", {"HID_Inst.NT.Services"}},
        {"KvUsb_Device.NT.Services", "AddService", {"kvusb", "", "KvUsb_Service_Inst"}},
        {"KvUsb_Service_Inst", "ServiceType", {"1"}},
        {"KvUsb_Service_Inst", "StartType", {"3"}},
        {"KvUsb_Service_Inst", "ErrorControl", {"1"}},
    });
    const Fields binary = driver.Fields("KvUsb_Service_Inst", "ServiceBinary");
    ASSERT_EQ(binary.size(), 1u);
    EXPECT_NE(binary[0].find("\\drivers\\kvusb.sys"), std::string::npos) << binary[0];
}

TEST_F(InfFilesTest, HidChildGetsTheMouseDriverAndKvfiltAppendedToTheClassFilters) {
    ExpectDirectives(filter, {
        {"KvFilt_Device.NT", "Include", {"msmouse.inf"}},
        {"KvFilt_Device.NT", "Needs", {"HID_Mouse_Inst.NT"}},
        {"KvFilt_Device.NT", "CopyFiles", {"KvFilt.Driver.Files"}},
        {"KvFilt.Driver.Files", nullptr, {"kvfilt.sys"}},
        {"KvFilt_Device.NT.Services", "Needs", {"HID_Mouse_Inst.NT.Services"}},
        {"KvFilt_Device.NT.Services", "AddService", {"kvfilt", "", "KvFilt_Service_Inst"}},
        {"KvFilt_Service_Inst", "ServiceType", {"1"}},
        // FLG_ADDREG_TYPE_MULTI_SZ | FLG_ADDREG_APPEND: never overwrites the list.
        {"KvFilt.Class.AddReg", nullptr,
         {"HKLM", "SYSTEM\\CurrentControlSet\\Control\\Class\\{4D36E96F-E325-11CE-BFC1-08002BE10318}",
          "UpperFilters", "0x00010008", "kvfilt"}},
    });
}

TEST_F(InfFilesTest, InstallAndUninstallSectionsCoverTheSameFilesAndKeys) {
    const Fields fileLists = {"KvUsb.Program.Files", "KvUsb.Applet.Files", "KvUsb.Driver.Files"};
    ExpectDirectives(driver, {
        {"KvUsb_Install.NT", "CopyFiles", fileLists},
        {"KvUsb_Uninstall.NT", "DelFiles", fileLists},
        {"DestinationDirs", "KvUsb.Program.Files", {"16422", "KVUSB"}},
        {"DestinationDirs", "KvUsb.Applet.Files", {"11"}},
        {"DestinationDirs", "KvUsb.Driver.Files", {"12"}},
        {"KvUsb.AddReg", nullptr, {"HKLM", "System\\CurrentControlSet\\Services\\KVUSB\\Parameters", "", "0x00000010"}},
        {"KvUsb.DelReg", nullptr, {"HKLM", "System\\CurrentControlSet\\Services\\KVUSB\\Parameters"}},
    });
    std::vector<std::string> programFiles;
    for (const Fields& line : driver.Lines("KvUsb.Program.Files")) programFiles.push_back(line[0]);
    // Every file the INF names lies in the program folder, where setup
    // stages the INF from: the readme under both its names.
    EXPECT_EQ(programFiles, (Fields{"readme.htm", "readme.txt", "kvcal.exe", "uninst.exe", "kvrbtn.exe", "kvusb.inf",
                                    "KvUsb.dll", "kvcplusb.cpl", "kvfilt.inf", "kvusb.sys", "kvfilt.sys"}));
    EXPECT_EQ(driver.Fields("KvUsb.Program.Files", nullptr), (Fields{"readme.htm", "readme.txt"}));
}

TEST_F(InfFilesTest, EverySourceFileIsOnTheDisk) {
    for (const char* list : {"KvUsb.Program.Files", "KvUsb.Applet.Files", "KvUsb.Driver.Files"}) {
        for (const Fields& line : driver.Lines(list)) {
            const std::string& source = line.size() > 1 ? line[1] : line[0];
            EXPECT_EQ(driver.Fields("SourceDisksFiles", source.c_str()), Fields{"1"}) << source;
        }
    }
    EXPECT_EQ(filter.Fields("SourceDisksFiles", "kvfilt.sys"), Fields{"1"});
}

TEST_F(InfFilesTest, ChineseStringsSurviveTheUnicodeFile) {
    EXPECT_EQ(driver.WideText("Strings.0804", "KvUsb.DeviceDesc"), L"Kestiva USB \u7ea2\u5916\u7ebf\u89e6\u6478\u5c4f");
    EXPECT_EQ(filter.WideText("Strings.0804", "KvFilt.ServiceDesc"),
              L"Kestiva USB \u89e6\u6478\u5c4f\u9f20\u6807\u8fc7\u6ee4\u9a71\u52a8");
    EXPECT_EQ(driver.WideText("Strings", "KvUsb.DeviceDesc"), L"Kestiva USB touch screen");
}

}  // namespace
