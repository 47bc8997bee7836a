// Small helpers the applet's pages share for filling their controls.
#ifndef KV_CPL_PAGE_CONTROLS_H
#define KV_CPL_PAGE_CONTROLS_H

#include <windows.h>

#include <string>

// A number as the pages show it ("%d").
std::wstring DecimalText(int value);

// Sets a track bar's range and redraws it.
void SetTrackbarRange(HWND dialog, int id, int low, int high);

// Appends COUNT texts from the string table, FIRST_TEXT upward, in order.
void AddComboTexts(HWND dialog, int id, unsigned firstText, int count);

#endif
