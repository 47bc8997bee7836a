// Outcome messages of the installer and the uninstaller.
#include "user_message.h"

#include "edition_texts.h"
#include "wizard_ids.h"

int ShowUserMessage(HINSTANCE texts, const std::vector<UINT>& lines, const std::string& detail, DWORD error,
                    UINT flags) {
    std::string text;
    for (UINT line : lines) text += (text.empty() ? "" : "\n") + EditionText(texts, line);
    if (!detail.empty()) text += "\n" + detail;
    if (error != ERROR_SUCCESS) text += "\n" + EditionText(texts, IDS_ERROR_NUMBER) + std::to_string(error);
    const UINT caption = (flags & MB_ICONMASK) == MB_ICONERROR ? IDS_ERROR_CAPTION : IDS_SHEET_CAPTION;
    return MessageBoxA(nullptr, text.c_str(), EditionText(texts, caption).c_str(), flags);
}

bool AskToRestart(HINSTANCE texts, const std::vector<UINT>& leadingLines) {
    std::vector<UINT> lines = leadingLines;
    lines.push_back(IDS_RESTART_QUESTION);
    return ShowUserMessage(texts, lines, std::string(), ERROR_SUCCESS, MB_YESNO | MB_ICONQUESTION) == IDYES;
}
