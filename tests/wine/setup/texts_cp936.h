// The Chinese texts the installer and the uninstaller show, as the
// code-page-936 bytes a Chinese system's ANSI functions read them in, and
// (Utf16From936) as the UTF-16 the programs show on any system.
#pragma once

#include <windows.h>

#include <string>

// BYTES (code page 936, or plain ASCII) as UTF-16.
inline std::wstring Utf16From936(const char* bytes) {
    wchar_t wide[512] = {};
    MultiByteToWideChar(936, 0, bytes, -1, wide, 512);
    return wide;
}

#define KV_TEXT_ERROR_CAPTION "\xb4\xed\xce\xf3"  /* 错误 */
#define KV_TEXT_UNKNOWN_INSTALL_ERROR \
    "\xb0\xb2\xd7\xb0\xb7\xa2\xc9\xfa\xce\xb4\xd6\xaa\xb4\xed\xce\xf3"  /* 安装发生未知错误 */
#define KV_TEXT_OPEN_REGISTRY_FAILED \
    "\xb4\xf2\xbf\xaa\xd7\xa2\xb2\xe1\xb1\xed\xca\xb1\xca\xa7\xb0\xdc"  /* 打开注册表时失败 */
/* 安装未能完成，系统已恢复到安装前的状态。 */
#define KV_TEXT_INSTALL_UNDONE                                                  \
    "\xb0\xb2\xd7\xb0\xce\xb4\xc4\xdc\xcd\xea\xb3\xc9\xa3\xac\xcf\xb5\xcd\xb3" \
    "\xd2\xd1\xbb\xd6\xb8\xb4\xb5\xbd\xb0\xb2\xd7\xb0\xc7\xb0\xb5\xc4\xd7\xb4" \
    "\xcc\xac\xa1\xa3"
/* 请重新插上触摸屏，然后再次运行安装程序。 */
#define KV_TEXT_HINT_RETRY                                                      \
    "\xc7\xeb\xd6\xd8\xd0\xc2\xb2\xe5\xc9\xcf\xb4\xa5\xc3\xfe\xc6\xc1\xa3\xac" \
    "\xc8\xbb\xba\xf3\xd4\xd9\xb4\xce\xd4\xcb\xd0\xd0\xb0\xb2\xd7\xb0\xb3\xcc" \
    "\xd0\xf2\xa1\xa3"
#define KV_TEXT_ERROR_NUMBER "\xb4\xed\xce\xf3\xba\xc5\xa3\xba" /* 错误号： */
/* 驱动程序适用于Windows2000/XP系统，\n请您选择适合当前操作系统的驱动程序 */
#define KV_TEXT_UNSUPPORTED_SYSTEM                                              \
    "\xc7\xfd\xb6\xaf\xb3\xcc\xd0\xf2\xca\xca\xd3\xc3\xd3\xda"                  \
    "Windows2000/XP"                                                            \
    "\xcf\xb5\xcd\xb3\xa3\xac\n"                                                \
    "\xc7\xeb\xc4\xfa\xd1\xa1\xd4\xf1\xca\xca\xba\xcf\xb5\xb1\xc7\xb0\xb2\xd9" \
    "\xd7\xf7\xcf\xb5\xcd\xb3\xb5\xc4\xc7\xfd\xb6\xaf\xb3\xcc\xd0\xf2"

#define KV_LINK_CALIBRATE_ZH "\xd0\xa3\xd5\xfd\xb3\xcc\xd0\xf2.lnk"     /* 校正程序 */
#define KV_LINK_UNINSTALL_ZH "\xd0\xb6\xd4\xd8\xc7\xfd\xb6\xaf.lnk"     /* 卸载驱动 */
#define KV_LINK_README_ZH "\xca\xb9\xd3\xc3\xcb\xb5\xc3\xf7.lnk"        /* 使用说明 */
#define KV_LINK_CONTROL_PANEL_ZH "\xbf\xd8\xd6\xc6\xc3\xe6\xb0\xe5.lnk" /* 控制面板 */

/* 打开注册表时出现错误 */
#define KV_TEXT_UNINSTALL_OPEN_REGISTRY_FAILED \
    "\xb4\xf2\xbf\xaa\xd7\xa2\xb2\xe1\xb1\xed\xca\xb1\xb3\xf6\xcf\xd6\xb4\xed\xce\xf3"
/* 发生未知错误 */
#define KV_TEXT_UNKNOWN_ERROR "\xb7\xa2\xc9\xfa\xce\xb4\xd6\xaa\xb4\xed\xce\xf3"
/* 不能打开注册表 */
#define KV_TEXT_CANNOT_OPEN_REGISTRY "\xb2\xbb\xc4\xdc\xb4\xf2\xbf\xaa\xd7\xa2\xb2\xe1\xb1\xed"
