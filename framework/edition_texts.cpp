// Texts of a string table as ANSI bytes; see edition_texts.h.
#include "edition_texts.h"

#include <cstdlib>

#include "edition_ids.h"

namespace {

// The string as stored (UTF-16); LoadStringW with a zero length hands out
// a pointer into the resource, so no text is ever cut short.
bool LoadWide(HINSTANCE module, UINT id, std::wstring* text) {
    const wchar_t* stored = nullptr;
    const int length = LoadStringW(module, id, reinterpret_cast<LPWSTR>(&stored), 0);
    if (length <= 0 || stored == nullptr) return false;
    text->assign(stored, static_cast<size_t>(length));
    return true;
}

// A code page the system lacks gives way to the system's own (a Western
// Windows XP has no 936 unless East Asian support is installed): ASCII
// texts still come whole, the others as that system can show them.
UINT EditionCodePage(HINSTANCE module) {
    std::wstring digits;
    if (!LoadWide(module, IDS_CODEPAGE, &digits)) return CP_ACP;
    const unsigned long page = std::wcstoul(digits.c_str(), nullptr, 10);
    return page > 0 && page < 65536 && IsValidCodePage(static_cast<UINT>(page)) ? static_cast<UINT>(page) : CP_ACP;
}

}  // namespace

bool LoadEditionText(HINSTANCE module, UINT id, std::string* text) {
    std::wstring wide;
    if (!LoadWide(module, id, &wide)) return false;
    const UINT page = EditionCodePage(module);
    const int size = WideCharToMultiByte(page, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr,
                                         nullptr);
    if (size <= 0) return false;
    text->assign(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(page, 0, wide.data(), static_cast<int>(wide.size()), &(*text)[0], size, nullptr, nullptr);
    return true;
}

std::string EditionText(HINSTANCE module, UINT id) {
    std::string text;
    return LoadEditionText(module, id, &text) ? text : std::string();
}
