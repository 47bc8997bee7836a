// The application object and the module it runs in.
#include "app.h"

#include <commctrl.h>
#include <wchar.h>

#include "edition_texts.h"

extern "C" IMAGE_DOS_HEADER __ImageBase;  // NOLINT(bugprone-reserved-identifier): the linker's name

namespace {
CApp* g_current = nullptr;
}

CApp::CApp() : previous_(g_current) { g_current = this; }

CApp::~CApp() {
    if (g_current == this) g_current = previous_;
}

CApp* CApp::Current() { return g_current; }

HINSTANCE CApp::ResourceModule() { return reinterpret_cast<HINSTANCE>(&__ImageBase); }

const wchar_t* CApp::Name() {
    static wchar_t name[MAX_PATH];
    if (name[0] == L'\0') {
        wchar_t path[MAX_PATH] = {};
        DWORD length = GetModuleFileNameW(ResourceModule(), path, MAX_PATH);
        if (length == 0 || length >= MAX_PATH) {
            lstrcpynW(name, L"Application", MAX_PATH);
            return name;
        }
        const wchar_t* base = path;
        for (const wchar_t* p = path; *p; ++p) {
            if (*p == L'\\' || *p == L'/') base = p + 1;
        }
        lstrcpynW(name, base, MAX_PATH);
        wchar_t* dot = wcsrchr(name, L'.');
        if (dot && dot != name) *dot = L'\0';
    }
    return name;
}

int RunProgram() {
    CApp* app = CApp::Current();
    return app ? app->InitInstance() : 1;
}

std::wstring LoadText(unsigned id) { return EditionText(CApp::ResourceModule(), id); }

void EnsureCommonControls() {
    static bool done = false;
    if (!done) {
        InitCommonControls();
        done = true;
    }
}
