// Installs and starts kernel-driver services in the Wine test prefix.
#pragma once
#include <string>

namespace kvvirt {

// Copies `folder`\`file` into the system's driver folder and registers it
// as demand-start kernel service `name`. Safe to repeat.
bool InstallKernelService(const std::string& folder, const char* file, const char* name, std::string* error);

// Starts service `name`; a running service counts as started.
bool StartKernelService(const char* name, std::string* error);

}  // namespace kvvirt
