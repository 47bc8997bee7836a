// A shortcut read back through the shell link object, as Explorer reads it.
#pragma once

#include <string>

struct LinkData {
    std::string path, description, icon;
    int iconIndex = -1;
};

// The link at `linkPath` (UTF-16, or ANSI in the system's code page);
// empty fields when it cannot be loaded. COM must be initialised on the
// calling thread.
LinkData ReadLink(const std::wstring& linkPath);
LinkData ReadLink(const std::string& linkPath);
