// The routines the installer and the uninstaller share, on Wine's real
// registry and SetupAPI: filter-list editing, bounded value reads, service
// key removal, the queue callback and the uninstall section.
#include <gtest/gtest.h>

#include "inf_section.h"
#include "install_by_inf.h"
#include "install_result.h"
#include "package_fixture.h"
#include "package_names.h"
#include "queue_callback.h"
#include "registry_text.h"
#include "rollback.h"
#include "service_keys.h"
#include "update_recorder.h"

namespace {

const char kTestKey[] = "Software\\KvSetupTest\\Lists";
typedef std::vector<std::string> List;

class RegistryTextTest : public testing::Test {
protected:
    void SetRaw(const char* name, DWORD type, const std::string& data) {
        ASSERT_TRUE(MachineKey(kTestKey).Set(name, {type, data}));
    }
    const kvtest::ScratchKey scratch_{HKEY_LOCAL_MACHINE, "Software\\KvSetupTest"};
};

TEST_F(RegistryTextTest, RemovingAFilterKeepsOtherEntriesAndDeletesOnlyAnEmptyList) {
    struct Case {
        List before;
        WhenListEmpty whenEmpty;
        bool present;
        List after;
        const char* what;
    } cases[] = {
        {{"otherlow", "kvusb", "third"}, WhenListEmpty::DeleteValue, true, {"otherlow", "third"}, "others kept in order"},
        {{"kvusb"}, WhenListEmpty::DeleteValue, false, {}, "only ours: value deleted"},
        {{"kvusb"}, WhenListEmpty::WriteEmptyList, true, {}, "only ours: empty list kept"},
        {{"KVUSB", "kvusb2"}, WhenListEmpty::DeleteValue, true, {"KVUSB", "kvusb2"}, "case-sensitive, whole entries"},
        {{"kvusb", "a", "kvusb"}, WhenListEmpty::DeleteValue, true, {"a"}, "every copy"},
    };
    for (const Case& c : cases) {
        MachineKey(kTestKey).SetList("Filters", c.before);
        EXPECT_EQ(RemoveFilterEntry(HKEY_LOCAL_MACHINE, kTestKey, "Filters", "kvusb", c.whenEmpty), ERROR_SUCCESS)
            << c.what;
        bool present = false;
        EXPECT_EQ(MachineKey(kTestKey).List("Filters", &present), c.after) << c.what;
        EXPECT_EQ(present, c.present) << c.what;
    }
}

TEST_F(RegistryTextTest, LongListsAreReadWhole) {
    List entries;
    for (int i = 0; i < 40; ++i) entries.push_back("filter" + std::to_string(i) + std::string(20, 'x'));
    entries.push_back("kvusb");
    MachineKey(kTestKey).SetList("Filters", entries);
    EXPECT_EQ(RemoveFilterEntry(HKEY_LOCAL_MACHINE, kTestKey, "Filters", "kvusb", WhenListEmpty::DeleteValue), 0);
    entries.pop_back();
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, kTestKey, 0, KEY_QUERY_VALUE, &key), ERROR_SUCCESS);
    List read;
    bool present = false;
    EXPECT_EQ(ReadMultiStringValue(key, "Filters", read, present), ERROR_SUCCESS);
    RegCloseKey(key);
    EXPECT_EQ(read, entries);
}

TEST_F(RegistryTextTest, ValuesOfAnotherTypeOrMissingAreLeftAlone) {
    SetRaw("Filters", REG_SZ, std::string("kvusb\0", 6));
    EXPECT_NE(RemoveFilterEntry(HKEY_LOCAL_MACHINE, kTestKey, "Filters", "kvusb", WhenListEmpty::DeleteValue), 0);
    std::string text;
    EXPECT_TRUE(ReadRegistryString(HKEY_LOCAL_MACHINE, kTestKey, "Filters", text));
    EXPECT_EQ(text, "kvusb");
    EXPECT_EQ(RemoveFilterEntry(HKEY_LOCAL_MACHINE, kTestKey, "Absent", "kvusb", WhenListEmpty::DeleteValue), 0);
    EXPECT_EQ(RemoveFilterEntry(HKEY_LOCAL_MACHINE, "Software\\KvSetupTest\\NoKey", "Filters", "kvusb",
                                WhenListEmpty::DeleteValue), 0);
}

TEST_F(RegistryTextTest, StringReadsAreBoundedAndTerminated) {
    struct Case {
        DWORD type;
        std::string data;
        bool ok;
        std::string text;
        const char* what;
    } cases[] = {
        {REG_SZ, std::string("C:\\Program Files\0", 17), true, "C:\\Program Files", "terminated"},
        {REG_SZ, "C:\\Unterminated", true, "C:\\Unterminated", "stored without its zero"},
        {REG_EXPAND_SZ, std::string("%SystemRoot%\0", 13), true, "%SystemRoot%", "expandable, as stored"},
        {REG_SZ, std::string(300, 'p'), false, "", "longer than a path"},
        {REG_SZ, std::string(259, 'p'), true, std::string(259, 'p'), "longest path"},
        {REG_SZ, std::string(260, 'p'), false, "", "no room for the zero"},
        {REG_DWORD, std::string("\1\0\0\0", 4), false, "", "another type"},
    };
    for (const Case& c : cases) {
        SetRaw("Text", c.type, c.data);
        std::string text = "stale";
        EXPECT_EQ(ReadRegistryString(HKEY_LOCAL_MACHINE, kTestKey, "Text", text), c.ok) << c.what;
        EXPECT_EQ(text, c.text) << c.what;
    }
}

TEST(ServiceKeys, DeletedWithTheirSubkeysAndMissingOnesTolerated) {
    for (const char* path : {KV_DRIVER_SERVICE_KEY "\\Parameters", KV_DRIVER_SERVICE_KEY "\\Enum",
                             KV_FILTER_SERVICE_KEY "\\Security"}) {
        ASSERT_TRUE(MachineKey(path).Create());
    }
    DeleteServiceKeys();
    EXPECT_FALSE(MachineKey(KV_DRIVER_SERVICE_KEY).Exists());
    EXPECT_FALSE(MachineKey(KV_FILTER_SERVICE_KEY).Exists());
    DeleteServiceKeys();
    EXPECT_TRUE(MachineKey(KV_SERVICES_KEY).Exists());
}

TEST(QueueCallbackTest, SkipsUndeletableFilesAndPassesTheRestOn) {
    PVOID context = SetupInitDefaultQueueCallback(nullptr);
    ASSERT_NE(context, nullptr);
    FILEPATHS_A paths = {};
    paths.Target = "C:\\locked.file";
    paths.Win32Error = ERROR_SHARING_VIOLATION;
    EXPECT_EQ(QueueCallback(context, SPFILENOTIFY_DELETEERROR, reinterpret_cast<UINT_PTR>(&paths), 0),
              static_cast<UINT>(FILEOP_SKIP));
    EXPECT_EQ(QueueCallback(context, SPFILENOTIFY_STARTQUEUE, 0, 0),
              SetupDefaultQueueCallbackA(context, SPFILENOTIFY_STARTQUEUE, 0, 0));
    SetupTermDefaultQueueCallback(context);
}

typedef PackageTest UninstallSectionTest;

TEST_F(UninstallSectionTest, RemovesTheSectionsFilesAndKeysAndSkipsAFileInUse) {
    {
        UpdateRecorder recorder;
        ASSERT_EQ(InstallByInf(nullptr, package.DriverInf(), KV_INSTALL_SECTION, KV_CONTROLLER_HARDWARE_ID),
                  NO_MATCHING_DEVICE);
    }
    const std::string inUse = ProgramFilesFolder() + "\\KVUSB\\kvcal.exe";
    HANDLE held = CreateFileA(inUse.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    {
        InfSectionRun run(nullptr, package.DriverInf());
        ASSERT_EQ(run.Open(), 0u);
        run.ProcessFiles(KV_UNINSTALL_SECTION);
        run.ProcessDirectives(KV_UNINSTALL_SECTION);
    }
    CloseHandle(held);
    EXPECT_FALSE(FileExists(ProgramFilesFolder() + "\\KVUSB\\readme.htm"));
    EXPECT_FALSE(FileExists(SystemFolder() + "\\kvcplusb.cpl"));
    EXPECT_FALSE(FileExists(SystemFolder() + "\\drivers\\kvusb.sys"));
    EXPECT_FALSE(MachineKey(KV_DRIVER_SERVICE_KEY "\\Parameters").Exists());
    EXPECT_TRUE(FileExists(inUse)) << "skipped without a question";
    RemoveProgramFolder();
    EXPECT_TRUE(FileExists(ProgramFilesFolder() + "\\KVUSB")) << "a folder that still holds files stays";
}

}  // namespace
