// The point size of a dialog template's font (DS_SETFONT), read from a
// template in memory or from a module's dialog resource.
#ifndef KV_FRAMEWORK_DIALOG_TEMPLATE_FONT_H
#define KV_FRAMEWORK_DIALOG_TEMPLATE_FONT_H

#include <windows.h>

#include <cstddef>

// The point size field of the DLGTEMPLATE or DLGTEMPLATEEX at `dialog`
// (`size` bytes), or null when the template names no font or is cut short.
WORD* DialogFontSizeField(void* dialog, size_t size);

// The point size of dialog resource `templateId` of `module`; 0 when the
// resource is missing or names no font.
WORD ResourceDialogFontSize(HINSTANCE module, UINT templateId);

#endif
