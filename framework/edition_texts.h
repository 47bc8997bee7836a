// A program's texts from a module's string table, as the bytes the ANSI
// API takes: in the code page the table itself names (string IDS_CODEPAGE),
// whatever the system's own code page is. So the Chinese texts reach the
// API as code-page-936 bytes on any system that has that code page; one
// that lacks it gets them in its own.
#ifndef KV_FRAMEWORK_EDITION_TEXTS_H
#define KV_FRAMEWORK_EDITION_TEXTS_H

#include <windows.h>

#include <string>

// False when the module has no such text.
bool LoadEditionText(HINSTANCE module, UINT id, std::string* text);

// The text, or an empty string when the module has none.
std::string EditionText(HINSTANCE module, UINT id);

#endif
