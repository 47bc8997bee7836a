// The edition's texts from its string table, as bytes in the code page the
// edition names (936 for the Chinese edition), whatever the system's own
// code page is.
#ifndef KV_CALIBRATE_EDITION_TEXTS_H
#define KV_CALIBRATE_EDITION_TEXTS_H

#include <windows.h>

#include <string>

namespace kvcal {

// False when the edition has no such text.
bool LoadEditionText(HINSTANCE module, UINT id, std::string* text);

// The text, or an empty string when the edition has none.
std::string EditionText(HINSTANCE module, UINT id);

}  // namespace kvcal

#endif
