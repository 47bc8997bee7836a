// Texts of a string table; see edition_texts.h.
#include "edition_texts.h"

// LoadStringW with a zero length hands out a pointer into the resource and
// the text's length, so no text is ever cut short by a buffer.
bool LoadEditionText(HINSTANCE module, UINT id, std::wstring* text) {
    const wchar_t* stored = nullptr;
    const int length = LoadStringW(module, id, reinterpret_cast<LPWSTR>(&stored), 0);
    if (length <= 0 || stored == nullptr) return false;
    text->assign(stored, static_cast<size_t>(length));
    return true;
}

std::wstring EditionText(HINSTANCE module, UINT id) {
    std::wstring text;
    return LoadEditionText(module, id, &text) ? text : std::wstring();
}
