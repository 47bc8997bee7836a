// The one message a program shows when its work did not simply succeed:
// what happened and what to do, in the words of the program's string table.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Shows the texts `lines` (string ids of `texts`), each on a line of its
// own, then `detail` when not empty and the error number when `error` is
// not 0. `flags` as MessageBox's (the icon and buttons): an error is
// captioned as one, anything else with the program's name. Returns the
// button pressed.
int ShowUserMessage(HINSTANCE texts, const std::vector<UINT>& lines, const std::wstring& detail, DWORD error,
                    UINT flags);

// Asks whether to restart Windows now, which Windows needs to finish; true
// for yes.
bool AskToRestart(HINSTANCE texts, const std::vector<UINT>& leadingLines = std::vector<UINT>());
