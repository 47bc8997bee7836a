// A program's texts from a module's string table, as the table holds them:
// UTF-16, whole, for the wide functions. So each edition's words show as
// written on any Windows with a font for them, whatever its code page.
#ifndef KV_FRAMEWORK_EDITION_TEXTS_H
#define KV_FRAMEWORK_EDITION_TEXTS_H

#include <windows.h>

#include <string>

// False when the module has no such text.
bool LoadEditionText(HINSTANCE module, UINT id, std::wstring* text);

// The text, or an empty string when the module has none.
std::wstring EditionText(HINSTANCE module, UINT id);

#endif
