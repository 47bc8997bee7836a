// Walks a dialog template's header up to its font.
#include "dialog_template_font.h"

namespace {

// Skips a menu or class field (0, 0xFFFF and an ordinal, or a string) or a
// title string; returns the index after it, or `count` when cut short.
size_t SkipField(const WORD* words, size_t at, size_t count, bool ordinalAllowed) {
    if (at >= count) return count;
    if (ordinalAllowed && words[at] == 0xFFFF) return at + 2 <= count ? at + 2 : count;
    while (at < count && words[at] != 0) ++at;
    return at < count ? at + 1 : count;
}

}  // namespace

WORD* DialogFontSizeField(void* dialog, size_t size) {
    WORD* words = static_cast<WORD*>(dialog);
    const size_t count = size / sizeof(WORD);
    if (count < 9) return nullptr;
    const bool extended = words[1] == 0xFFFF;
    // Fixed part: DLGTEMPLATEEX 13 words (style at byte 12), DLGTEMPLATE 9.
    const size_t fixedWords = extended ? 13 : 9;
    if (count < fixedWords) return nullptr;
    DWORD style = 0;
    CopyMemory(&style, reinterpret_cast<BYTE*>(dialog) + (extended ? 12 : 0), sizeof style);
    if (!(style & DS_SETFONT)) return nullptr;
    size_t at = SkipField(words, fixedWords, count, true);  // menu
    at = SkipField(words, at, count, true);                 // window class
    at = SkipField(words, at, count, false);                // title
    return at < count ? words + at : nullptr;
}

WORD ResourceDialogFontSize(HINSTANCE module, UINT templateId) {
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(templateId), MAKEINTRESOURCEA(5) /* RT_DIALOG */);
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data) return 0;
    // Resources are read-only; the field is only read here.
    const WORD* field = DialogFontSizeField(data, SizeofResource(module, found));
    return field ? *field : 0;
}
