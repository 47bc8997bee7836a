// KvUsb.dll as the shell uses it: loaded as data, icons taken by index
// (the control panel shortcut asks for index 2), every icon in the three
// sizes the package promises, and each one a picture of its own.
#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "icon_ids.h"
#include "pixels.h"
#include "process_runner.h"

namespace {

std::string LibraryPath() { return kvtest::BesideThisProgram("KvUsb.dll"); }

class DataModule {
public:
    DataModule() : module_(LoadLibraryExA(LibraryPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE)) {}
    ~DataModule() {
        if (module_) FreeLibrary(module_);
    }
    HMODULE get() const { return module_; }

private:
    HMODULE module_;
};

// The pixel sizes of one icon group, as the group directory lists them.
std::vector<int> GroupSizes(HMODULE module, int id) {
    std::vector<int> sizes;
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), reinterpret_cast<LPCSTR>(RT_GROUP_ICON));
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const BYTE* group = loaded ? static_cast<const BYTE*>(LockResource(loaded)) : nullptr;
    if (!group || SizeofResource(module, found) < 6) return sizes;
    const WORD count = *reinterpret_cast<const WORD*>(group + 4);
    const size_t kEntry = 14;  // GRPICONDIRENTRY
    if (SizeofResource(module, found) < 6 + count * kEntry) return sizes;
    for (WORD i = 0; i < count; ++i) sizes.push_back(group[6 + i * kEntry] ? group[6 + i * kEntry] : 256);
    return sizes;
}

// The icon drawn on white, as 32-bit pixels, to compare pictures.
std::vector<DWORD> Render(HICON icon, int size) {
    return kvtest::DrawnPixels(size, size, [&](HDC dc) {
        RECT all = {0, 0, size, size};
        FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        DrawIconEx(dc, 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
    });
}

size_t PaintedPixels(const std::vector<DWORD>& pixels) {
    size_t painted = 0;
    for (DWORD p : pixels) painted += (p & 0xFFFFFF) != 0xFFFFFF;
    return painted;
}

TEST(IconLibrary, LoadsAsDataAndHoldsEveryIconInThreeSizes) {
    DataModule module;
    ASSERT_TRUE(module.get()) << LibraryPath() << " error " << GetLastError();
    for (int id = IDI_KV_PRODUCT; id < IDI_KV_PRODUCT + KV_ICON_COUNT; ++id) {
        EXPECT_EQ(GroupSizes(module.get(), id), (std::vector<int>{16, 32, 48})) << "icon " << id;
    }
}

TEST(IconLibrary, ShellCountsTheIconsAndExtractsTheControlPanelOne) {
    const std::string path = LibraryPath();
    EXPECT_EQ(ExtractIconExA(path.c_str(), -1, nullptr, nullptr, 0), static_cast<UINT>(KV_ICON_COUNT));
    HICON large = nullptr, small = nullptr;
    ASSERT_EQ(ExtractIconExA(path.c_str(), KV_ICON_INDEX_CONTROL_PANEL, &large, &small, 1), 2u);
    ASSERT_TRUE(large);
    ASSERT_TRUE(small);
    ICONINFO info = {};
    ASSERT_TRUE(GetIconInfo(large, &info));
    BITMAP mask = {};
    GetObjectA(info.hbmMask, sizeof mask, &mask);
    EXPECT_EQ(mask.bmWidth, GetSystemMetrics(SM_CXICON));
    if (info.hbmColor) DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    EXPECT_GT(PaintedPixels(Render(large, 32)), 32u * 32 / 4) << "the icon is not blank";
    DestroyIcon(large);
    DestroyIcon(small);
}

// Index 2 must be the settings picture, not a copy of another icon: the
// shortcut shows whatever lies at that index.
TEST(IconLibrary, EveryIndexShowsADifferentPicture) {
    const std::string path = LibraryPath();
    std::vector<std::vector<DWORD>> pictures;
    for (int index = 0; index < KV_ICON_COUNT; ++index) {
        HICON large = nullptr;
        ASSERT_EQ(ExtractIconExA(path.c_str(), index, &large, nullptr, 1), 1u) << index;
        pictures.push_back(Render(large, 32));
        DestroyIcon(large);
    }
    for (size_t a = 0; a < pictures.size(); ++a) {
        for (size_t b = a + 1; b < pictures.size(); ++b) EXPECT_TRUE(pictures[a] != pictures[b]) << "icons " << a << " and " << b << " look alike";
    }
    DataModule module;
    HICON byId = static_cast<HICON>(
        LoadImageA(module.get(), MAKEINTRESOURCEA(IDI_KV_SETTINGS), IMAGE_ICON, 32, 32, LR_DEFAULTCOLOR));
    ASSERT_TRUE(byId);
    EXPECT_TRUE(Render(byId, 32) == pictures[KV_ICON_INDEX_CONTROL_PANEL]) << "index 2 is IDI_KV_SETTINGS";
    DestroyIcon(byId);
}

}  // namespace
