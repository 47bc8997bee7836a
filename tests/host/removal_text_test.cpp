// The self-removal batch and the INF names the uninstaller derives.
#include <gtest/gtest.h>

#include <string>

#include "path_text.h"
#include "removal_text.h"

namespace {

TEST(SelfDeleteBatch, RemovesTheQuotedFolderWithBoundedRetriesThenItself) {
    const std::string text = SelfDeleteBatchText("C:\\Program Files\\KVUSB");
    EXPECT_NE(text.find("RD /s /q \"C:\\Program Files\\KVUSB\"\r\n"), std::string::npos);
    EXPECT_NE(text.find("if %kvtries% lss 10 goto retry\r\n"), std::string::npos);
    // It leaves the folder before it removes it, whatever folder it started in.
    EXPECT_EQ(text.find("cd /d \"%~dp0\"\r\n"), text.find("\r\n") + 2);
    // Deleting itself is the last command, and nothing follows its line end.
    const std::string last = "del \"%~f0\"\r\n";
    ASSERT_GE(text.size(), last.size());
    EXPECT_EQ(text.substr(text.size() - last.size()), last);
    EXPECT_EQ(text.find('\0'), std::string::npos);
}

TEST(SelfDeleteBatch, NoBatchForAnUnknownFolder) { EXPECT_EQ(SelfDeleteBatchText(""), ""); }

TEST(InfNames, OnlyOemCopiesAndTheirPrecompiledNames) {
    struct Case {
        const char* name;
        bool oem;
        const char* precompiled;
    } cases[] = {
        {"oem12.inf", true, "oem12.PNF"},
        {"oemfine.inf", true, "oemfine.PNF"},  // letters of the stem stay as they are
        {"input.inf", false, "input.PNF"},
        {"msmouse.inf", false, "msmouse.PNF"},
        {"OEM3.inf", false, "OEM3.PNF"},
        {"oem", false, "oem.PNF"},
        {"", false, ".PNF"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsOemInfName(c.name), c.oem) << c.name;
        EXPECT_EQ(PrecompiledInfName(c.name), c.precompiled) << c.name;
    }
}

}  // namespace
