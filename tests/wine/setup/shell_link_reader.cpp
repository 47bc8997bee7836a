// Shortcuts read back through IShellLinkA and IPersistFile.
#include "shell_link_reader.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

LinkData ReadLink(const std::string& linkPath) {
    WCHAR widePath[MAX_PATH] = {};
    MultiByteToWideChar(CP_ACP, 0, linkPath.c_str(), -1, widePath, MAX_PATH);
    return ReadLink(std::wstring(widePath));
}

LinkData ReadLink(const std::wstring& linkPath) {
    LinkData data;
    IShellLinkA* link = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(&link)))) {
        return data;
    }
    IPersistFile* file = nullptr;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
        if (SUCCEEDED(file->Load(linkPath.c_str(), STGM_READ))) {
            char text[MAX_PATH] = {};
            link->GetPath(text, MAX_PATH, nullptr, SLGP_RAWPATH);
            data.path = text;
            link->GetDescription(text, MAX_PATH);
            data.description = text;
            text[0] = '\0';
            link->GetIconLocation(text, MAX_PATH, &data.iconIndex);
            data.icon = text;
        }
        file->Release();
    }
    link->Release();
    return data;
}
