// Kernel-driver services for the Wine tests.
#include "kernel_services.h"

namespace kvtest {

namespace {

std::string LastError(const std::string& what) { return what + " failed with error " + std::to_string(GetLastError()); }

class ServiceHandle {
public:
    explicit ServiceHandle(SC_HANDLE handle) : handle_(handle) {}
    ~ServiceHandle() {
        if (handle_) CloseServiceHandle(handle_);
    }
    ServiceHandle(const ServiceHandle&) = delete;
    ServiceHandle& operator=(const ServiceHandle&) = delete;
    SC_HANDLE get() const { return handle_; }

private:
    SC_HANDLE handle_;
};

bool CopyIntoDrivers(const std::string& folder, const char* file, std::string* error) {
    char system[MAX_PATH] = {};
    if (!GetSystemDirectoryA(system, MAX_PATH)) {
        *error = LastError("GetSystemDirectoryA");
        return false;
    }
    const std::string source = folder + "\\" + file;
    const std::string target = std::string(system) + "\\drivers\\" + file;
    if (!CopyFileA(source.c_str(), target.c_str(), FALSE)) {
        *error = LastError("copying " + source + " to " + target);
        return false;
    }
    return true;
}

HANDLE OpenDevice(const char* path) {
    return CreateFileA(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
}

}  // namespace

bool InstallKernelService(const std::string& folder, const char* file, const char* name, std::string* error) {
    if (!CopyIntoDrivers(folder, file, error)) return false;
    ServiceHandle manager(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS));
    if (!manager.get()) {
        *error = LastError("OpenSCManagerA");
        return false;
    }
    ServiceHandle existing(OpenServiceA(manager.get(), name, SERVICE_QUERY_STATUS));
    if (existing.get()) return true;
    // A 64-bit prefix needs the \SystemRoot form of the image path.
    const std::string image = std::string("\\SystemRoot\\system32\\drivers\\") + file;
    ServiceHandle created(CreateServiceA(manager.get(), name, name, SERVICE_ALL_ACCESS, SERVICE_KERNEL_DRIVER,
                                         SERVICE_DEMAND_START, SERVICE_ERROR_NORMAL, image.c_str(), nullptr,
                                         nullptr, nullptr, nullptr, nullptr));
    if (!created.get() && GetLastError() != ERROR_SERVICE_EXISTS) {
        *error = LastError(std::string("CreateServiceA ") + name);
        return false;
    }
    return true;
}

bool StartKernelService(const char* name, std::string* error) {
    ServiceHandle manager(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS));
    ServiceHandle service(manager.get() ? OpenServiceA(manager.get(), name, SERVICE_START | SERVICE_QUERY_STATUS)
                                        : nullptr);
    if (!service.get()) {
        *error = LastError(std::string("opening service ") + name);
        return false;
    }
    if (!StartServiceA(service.get(), 0, nullptr) && GetLastError() != ERROR_SERVICE_ALREADY_RUNNING) {
        *error = LastError(std::string("StartServiceA ") + name);
        return false;
    }
    return true;
}

void DeleteKernelService(const char* name) {
    ServiceHandle manager(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS));
    ServiceHandle service(manager.get() ? OpenServiceA(manager.get(), name, DELETE) : nullptr);
    if (service.get()) DeleteService(service.get());
}

HANDLE OpenTestHarness(const TestDriverPair& drivers, const std::string& folder, std::string* error) {
    HANDLE device = OpenDevice(drivers.harnessDevice);
    if (device != INVALID_HANDLE_VALUE) return device;
    if (!InstallKernelService(folder, drivers.targetFile, drivers.targetService, error) ||
        !InstallKernelService(folder, drivers.harnessFile, drivers.harnessService, error) ||
        !StartKernelService(drivers.harnessService, error)) {
        return INVALID_HANDLE_VALUE;
    }
    device = OpenDevice(drivers.harnessDevice);
    if (device == INVALID_HANDLE_VALUE) *error = LastError(std::string("opening ") + drivers.harnessDevice);
    return device;
}

}  // namespace kvtest
