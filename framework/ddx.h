// Dialog data exchange helpers, one per kind of control: SAVE = true reads
// the control into the value, false shows the value in the control.
#ifndef KV_FRAMEWORK_DDX_H
#define KV_FRAMEWORK_DDX_H

#include <windows.h>

#include <string>

// Selection index of a combo box; -1 when nothing is selected. An index the
// list does not hold selects nothing.
void DdxComboIndex(HWND dialog, int id, int& index, bool save);

// Position of a track bar. A value outside the range shows at the nearer
// end; the value itself is only changed by reading.
void DdxTrackbarPos(HWND dialog, int id, int& position, bool save);

// Text of a control (a static text, usually).
void DdxText(HWND dialog, int id, std::wstring& text, bool save);

#endif
