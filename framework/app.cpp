// The application object and the module it runs in.
#include "app.h"

#include <commctrl.h>
#include <string.h>

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace {
CApp* g_current = nullptr;
}

CApp::CApp() : previous_(g_current) { g_current = this; }

CApp::~CApp() {
    if (g_current == this) g_current = previous_;
}

CApp* CApp::Current() { return g_current; }

HINSTANCE CApp::ResourceModule() { return reinterpret_cast<HINSTANCE>(&__ImageBase); }

const char* CApp::Name() {
    static char name[MAX_PATH];
    if (name[0] == '\0') {
        char path[MAX_PATH];
        DWORD length = GetModuleFileNameA(ResourceModule(), path, sizeof path);
        if (length == 0 || length >= sizeof path) {
            lstrcpynA(name, "Application", sizeof name);
            return name;
        }
        const char* base = path;
        for (const char* p = path; *p; ++p) {
            if (*p == '\\' || *p == '/') base = p + 1;
        }
        lstrcpynA(name, base, sizeof name);
        char* dot = strrchr(name, '.');
        if (dot && dot != name) *dot = '\0';
    }
    return name;
}

int RunProgram() {
    CApp* app = CApp::Current();
    return app ? app->InitInstance() : 1;
}

const char* LoadText(unsigned id, char* buffer, int size) {
    if (size <= 0) return buffer;
    buffer[0] = '\0';
    LoadStringA(CApp::ResourceModule(), id, buffer, size);
    return buffer;
}

void EnsureCommonControls() {
    static bool done = false;
    if (!done) {
        InitCommonControls();
        done = true;
    }
}
