// The installer's Chinese texts are the code-page-936 bytes of the words
// they stand for (converted here by iconv from the UTF-8 original).
#include <gtest/gtest.h>

#include <iconv.h>

#include <string>

#include "texts_cp936.h"

namespace {

std::string ToCp936(const std::string& utf8) {
    iconv_t converter = iconv_open("CP936", "UTF-8");
    if (converter == reinterpret_cast<iconv_t>(-1)) return "<no CP936 converter>";
    std::string in = utf8, out(utf8.size() * 2, '\0');
    char* inPtr = &in[0];
    char* outPtr = &out[0];
    size_t inLeft = in.size(), outLeft = out.size();
    const size_t status = iconv(converter, &inPtr, &inLeft, &outPtr, &outLeft);
    iconv_close(converter);
    if (status == static_cast<size_t>(-1)) return "<not convertible>";
    out.resize(out.size() - outLeft);
    return out;
}

TEST(InstallerTexts, AreTheCp936BytesOfTheirWords) {
    struct Case {
        const char* ours;
        const char* utf8;
    } cases[] = {
        {KV_TEXT_ERROR_CAPTION, "错误"},
        {KV_TEXT_UNKNOWN_INSTALL_ERROR, "安装发生未知错误"},
        {KV_TEXT_OPEN_REGISTRY_FAILED, "打开注册表时失败"},
        {KV_TEXT_INSTALL_UNDONE, "安装未能完成，已撤销所做的更改。\n错误号："},
        {KV_TEXT_UNSUPPORTED_SYSTEM, "驱动程序适用于Windows2000/XP系统，\n请您选择适合当前操作系统的驱动程序"},
        {KV_LINK_CALIBRATE_ZH, "校正程序.lnk"},
        {KV_LINK_UNINSTALL_ZH, "卸载驱动.lnk"},
        {KV_LINK_README_ZH, "使用说明.lnk"},
        {KV_LINK_CONTROL_PANEL_ZH, "控制面板.lnk"},
    };
    for (const Case& c : cases) EXPECT_EQ(std::string(c.ours), ToCp936(c.utf8)) << c.utf8;
}

}  // namespace
