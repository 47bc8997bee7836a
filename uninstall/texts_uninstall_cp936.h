// The uninstaller's Chinese message texts as code-page-936 bytes.
#pragma once

/* 打开注册表时出现错误 */
#define KV_TEXT_UNINSTALL_OPEN_REGISTRY_FAILED \
    "\xb4\xf2\xbf\xaa\xd7\xa2\xb2\xe1\xb1\xed\xca\xb1\xb3\xf6\xcf\xd6\xb4\xed\xce\xf3"
/* 不能打开注册表 */
#define KV_TEXT_CANNOT_OPEN_REGISTRY "\xb2\xbb\xc4\xdc\xb4\xf2\xbf\xaa\xd7\xa2\xb2\xe1\xb1\xed"
