// The texts setup.exe and uninst.exe of each edition show, as their string
// tables hold them (UTF-16): the Chinese words, and the messages both
// editions show in Chinese.
#include <gtest/gtest.h>

#include <string>

#include "edition_modules.h"
#include "edition_texts.h"
#include "texts_cp936.h"
#include "wizard_ids.h"

namespace {

struct TextCase {
    UINT id;
    const char* english;
    const char* chinese;
};

// Both programs name the links alike: uninst.exe removes what setup.exe made.
const TextCase kLinks[] = {
    {IDS_LINK_CALIBRATE, "Calibrate.lnk", KV_LINK_CALIBRATE_ZH},
    {IDS_LINK_UNINSTALL, "Uninstall.lnk", KV_LINK_UNINSTALL_ZH},
    {IDS_LINK_README, "Readme.lnk", KV_LINK_README_ZH},
    {IDS_LINK_CONTROL_PANEL, "ControlPanel.lnk", KV_LINK_CONTROL_PANEL_ZH},
};

void ExpectTexts(HINSTANCE (*program)(Edition), const char* name, const TextCase* cases, size_t count) {
    ASSERT_NE(program(Edition::English), nullptr) << name;
    ASSERT_NE(program(Edition::Chinese), nullptr) << name;
    for (size_t i = 0; i < count; ++i) {
        const TextCase& c = cases[i];
        EXPECT_EQ(EditionText(program(Edition::English), c.id), Utf16From936(c.english)) << name << " en-US " << c.id;
        EXPECT_EQ(EditionText(program(Edition::Chinese), c.id), Utf16From936(c.chinese)) << name << " zh-CN " << c.id;
    }
}

TEST(EditionTexts, SetupShowsTheseBytes) {
    const TextCase cases[] = {
        {IDS_OPEN_REGISTRY_FAILED, "Open registry failure", KV_TEXT_OPEN_REGISTRY_FAILED},
        {IDS_ERROR_CAPTION, "Error", KV_TEXT_ERROR_CAPTION},
        {IDS_INSTALL_UNDONE, "The installation could not be completed; the system is as it was before.",
         KV_TEXT_INSTALL_UNDONE},
        {IDS_UNSUPPORTED_SYSTEM, KV_TEXT_UNSUPPORTED_SYSTEM, KV_TEXT_UNSUPPORTED_SYSTEM},
        {IDS_DEVICE_IDS_UNREADABLE, KV_TEXT_UNKNOWN_INSTALL_ERROR, KV_TEXT_UNKNOWN_INSTALL_ERROR},
        {IDS_DEVICE_IDS_UNREADABLE_CAPTION, KV_TEXT_ERROR_CAPTION, KV_TEXT_ERROR_CAPTION},
    };
    ExpectTexts(SetupTexts, "setup", kLinks, sizeof kLinks / sizeof *kLinks);
    ExpectTexts(SetupTexts, "setup", cases, sizeof cases / sizeof *cases);
}

TEST(EditionTexts, UninstallerShowsTheseBytes) {
    const TextCase cases[] = {
        {IDS_SHEET_CAPTION, "KvSetup", "KVuninstall"},
        {IDS_OPEN_REGISTRY_FAILED, "Open registry failure", KV_TEXT_UNINSTALL_OPEN_REGISTRY_FAILED},
        {IDS_DEVICE_IDS_UNREADABLE, KV_TEXT_UNKNOWN_ERROR, KV_TEXT_UNKNOWN_ERROR},
        {IDS_DEVICE_IDS_UNREADABLE_CAPTION, KV_TEXT_ERROR_CAPTION, KV_TEXT_ERROR_CAPTION},
        {IDS_CANNOT_OPEN_REGISTRY, KV_TEXT_CANNOT_OPEN_REGISTRY, KV_TEXT_CANNOT_OPEN_REGISTRY},
    };
    ExpectTexts(UninstTexts, "uninst", kLinks, sizeof kLinks / sizeof *kLinks);
    ExpectTexts(UninstTexts, "uninst", cases, sizeof cases / sizeof *cases);
}

}  // namespace
