// Kernel-driver services in the Wine test prefix, through the service
// control manager (a new service is known at once, without restarting it):
// the test kernel drivers and the drivers under test they load.
#pragma once
#include <windows.h>

#include <string>

namespace kvtest {

// Copies `folder`\`file` into the system's driver folder and registers it
// as demand-start kernel service `name`. Safe to repeat.
bool InstallKernelService(const std::string& folder, const char* file, const char* name, std::string* error);

// Starts service `name`; a running service counts as started.
bool StartKernelService(const char* name, std::string* error);

// Deletes service `name` when there is one.
void DeleteKernelService(const char* name);

// A test kernel driver that loads a driver under test, as the tests find
// both beside their harness client.
struct TestDriverPair {
    const char* harnessFile;
    const char* harnessService;
    const char* harnessDevice;  // its control device, \\.\NAME
    const char* targetFile;
    const char* targetService;
};

// The harness's control device, opened; when it does not answer, both
// drivers are installed from `folder` and the harness started first.
// INVALID_HANDLE_VALUE with *error on failure.
HANDLE OpenTestHarness(const TestDriverPair& drivers, const std::string& folder, std::string* error);

}  // namespace kvtest
