// Outcome messages of the installer and the uninstaller.
#include "user_message.h"

#include "edition_texts.h"
#include "wizard_ids.h"

int ShowUserMessage(HINSTANCE texts, const std::vector<UINT>& lines, const std::wstring& detail, DWORD error,
                    UINT flags) {
    std::wstring text;
    for (UINT line : lines) text += (text.empty() ? L"" : L"\n") + EditionText(texts, line);
    if (!detail.empty()) text += L"\n" + detail;
    if (error != ERROR_SUCCESS) text += L"\n" + EditionText(texts, IDS_ERROR_NUMBER) + std::to_wstring(error);
    const UINT caption = (flags & MB_ICONMASK) == MB_ICONERROR ? IDS_ERROR_CAPTION : IDS_SHEET_CAPTION;
    return MessageBoxW(nullptr, text.c_str(), EditionText(texts, caption).c_str(), flags);
}

bool AskToRestart(HINSTANCE texts, const std::vector<UINT>& leadingLines) {
    std::vector<UINT> lines = leadingLines;
    lines.push_back(IDS_RESTART_QUESTION);
    return ShowUserMessage(texts, lines, std::wstring(), ERROR_SUCCESS, MB_YESNO | MB_ICONQUESTION) == IDYES;
}
