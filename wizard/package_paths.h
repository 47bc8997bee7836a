// Folders of the system and of the package, from the registry and the
// running program. An empty string means "not known": callers skip the step.
#pragma once

#include <windows.h>

#include <string>

// The running program's full path ("" when it does not fit a path buffer).
std::string ProgramModulePath();

// The folder of the running program, with its trailing backslash.
std::string ProgramModuleFolder();

// "ProgramFilesDir" followed by "\KVUSB" ("" when unknown).
std::string ProgramFolder();

// "SystemRoot" followed by `tail` ("" when unknown).
std::string UnderSystemRoot(const char* tail);

// The Start-menu folder of all users, "Common Programs" + "\Kestiva USB\".
std::string StartMenuFolder();

// A path the ANSI functions gave, in UTF-16: to join it with the editions'
// names for the wide file and shell functions.
std::wstring WidePath(const std::string& path);
