// The application object: one per module, its start-up work in InitInstance,
// and the module that holds the program's resources.
#ifndef KV_FRAMEWORK_APP_H
#define KV_FRAMEWORK_APP_H

#include <windows.h>

#include <string>

class CApp {
public:
    CApp();
    virtual ~CApp();
    CApp(const CApp&) = delete;
    CApp& operator=(const CApp&) = delete;

    // A program's start-up routine; RunProgram returns its result as the
    // exit code. Libraries (the applet) do no start-up work here.
    virtual int InitInstance() { return 0; }

    // The application object of this module, or null before it exists.
    static CApp* Current();

    // The module (exe or dll) this code is linked into: dialog templates,
    // strings and icons are loaded from it.
    static HINSTANCE ResourceModule();

    // The module's file name without folder and extension, the default
    // caption of the framework's message boxes.
    static const wchar_t* Name();

private:
    CApp* previous_;
};

// Runs the application object's start-up routine: the body of WinMain.
int RunProgram();

// Registers the common controls (track bars, property sheets) once.
void EnsureCommonControls();

// String ID of this module's table, whole (edition_texts.h); empty when
// it is missing.
std::wstring LoadText(unsigned id);

#endif
