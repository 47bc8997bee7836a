// The harness's control requests from user mode.
#include "kvvirt_client.h"

#include <cstdio>

#include "kernel_services.h"

namespace kvvirt {

std::string FormatStatus(LONG status) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(status));
    return text;
}

Client::~Client() {
    if (device_ != INVALID_HANDLE_VALUE) CloseHandle(device_);
}

bool Client::Open(std::string* error) {
    if (device_ != INVALID_HANDLE_VALUE) return true;
    device_ = CreateFileA(KVVIRT_DEVICE_PATH, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (device_ == INVALID_HANDLE_VALUE) {
        *error = "the virtual touch controller is not running (error " + std::to_string(GetLastError()) + ")";
        return false;
    }
    return true;
}

bool Client::Start(const std::string& folder, std::string* error) {
    if (device_ == INVALID_HANDLE_VALUE) {
        const kvtest::TestDriverPair drivers = {"kvvirt.sys", KVVIRT_SERVICE, KVVIRT_DEVICE_PATH, "kvusb.sys",
                                                KVVIRT_TARGET_SERVICE};
        device_ = kvtest::OpenTestHarness(drivers, folder, error);
        if (device_ == INVALID_HANDLE_VALUE) return false;
    }
    KvVirtStatus answer;
    if (!CallForStatus(IOCTL_KVVIRT_START, nullptr, 0, &answer, error)) return false;
    if (answer.Status < 0) {
        *error = "bringing the controller up failed with " + FormatStatus(answer.Status);
        return false;
    }
    return true;
}

bool Client::Call(DWORD code, const void* in, DWORD inLength, void* out, DWORD outLength, DWORD* returned,
                  std::string* error) {
    if (!Open(error)) return false;
    *returned = 0;
    if (!DeviceIoControl(device_, code, const_cast<void*>(in), inLength, out, outLength, returned, nullptr)) {
        *error = "harness request failed with error " + std::to_string(GetLastError());
        return false;
    }
    return true;
}

bool Client::CallForStatus(DWORD code, const void* in, DWORD inLength, KvVirtStatus* answer, std::string* error) {
    // Requests with input share the system buffer with the answer.
    BYTE buffer[64] = {};
    if (inLength > sizeof buffer) return false;
    if (in) memcpy(buffer, in, inLength);
    DWORD returned = 0;
    if (!Call(code, buffer, inLength, buffer, sizeof *answer, &returned, error)) return false;
    if (returned != sizeof *answer) {
        *error = "harness answered " + std::to_string(returned) + " bytes";
        return false;
    }
    memcpy(answer, buffer, sizeof *answer);
    return true;
}

bool Client::Report(const std::vector<BYTE>& bytes, std::vector<BYTE>* arrived, std::string* error, DWORD controller,
                    DWORD mode) {
    if (bytes.size() > KVVIRT_MAX_REPORT) {
        *error = "a report holds at most " + std::to_string(KVVIRT_MAX_REPORT) + " bytes";
        return false;
    }
    KvVirtReportHeader header = {controller, mode, static_cast<uint32_t>(bytes.size())};
    std::vector<BYTE> request(sizeof header + bytes.size());
    memcpy(request.data(), &header, sizeof header);
    if (!bytes.empty()) memcpy(request.data() + sizeof header, bytes.data(), bytes.size());
    arrived->assign(KVVIRT_MAX_REPORT, 0);
    DWORD returned = 0;
    if (!Call(IOCTL_KVVIRT_REPORT, request.data(), static_cast<DWORD>(request.size()), arrived->data(),
              KVVIRT_MAX_REPORT, &returned, error)) {
        return false;
    }
    arrived->resize(returned);
    return true;
}

template <typename Record>
bool Client::TakeRecords(DWORD code, std::vector<Record>* records, std::string* error) {
    records->assign(KVVIRT_MAX_RECORDS, Record{});
    DWORD returned = 0;
    if (!Call(code, nullptr, 0, records->data(), static_cast<DWORD>(records->size() * sizeof(Record)), &returned,
              error)) {
        return false;
    }
    records->resize(returned / sizeof(Record));
    return true;
}

bool Client::TakeBeeps(std::vector<KvVirtBeep>* beeps, std::string* error) {
    return TakeRecords(IOCTL_KVVIRT_TAKE_BEEPS, beeps, error);
}

bool Client::TakeRequests(std::vector<KvVirtClassRequest>* requests, std::string* error) {
    return TakeRecords(IOCTL_KVVIRT_TAKE_REQUESTS, requests, error);
}

bool Client::TakeStackEvents(std::vector<KvVirtStackEvent>* events, std::string* error) {
    return TakeRecords(IOCTL_KVVIRT_TAKE_STACK_EVENTS, events, error);
}

bool Client::Pnp(DWORD controller, DWORD request, LONG* status, std::string* error) {
    const KvVirtPnp pnp = {controller, request};
    KvVirtStatus answer;
    if (!CallForStatus(IOCTL_KVVIRT_PNP, &pnp, sizeof pnp, &answer, error)) return false;
    *status = answer.Status;
    return true;
}

bool Client::AddController(DWORD* index, std::string* error) {
    KvVirtStatus answer;
    if (!CallForStatus(IOCTL_KVVIRT_ADD_CONTROLLER, nullptr, 0, &answer, error)) return false;
    if (answer.Status < 0) {
        *error = "adding a controller failed with " + FormatStatus(answer.Status);
        return false;
    }
    *index = answer.Value;
    return true;
}

bool Client::Unload(std::string* error) {
    KvVirtStatus answer;
    if (!CallForStatus(IOCTL_KVVIRT_UNLOAD, nullptr, 0, &answer, error)) return false;
    if (answer.Status < 0) {
        *error = "unloading the filter failed with " + FormatStatus(answer.Status);
        return false;
    }
    return true;
}

bool Client::Query(KvVirtState* state, std::string* error) {
    DWORD returned = 0;
    if (!Call(IOCTL_KVVIRT_QUERY, nullptr, 0, state, sizeof *state, &returned, error)) return false;
    return returned == sizeof *state;
}

bool Client::TakeAccounting(KvVirtAccounting* counts, std::string* error) {
    DWORD returned = 0;
    if (!Call(IOCTL_KVVIRT_TAKE_ACCOUNTING, nullptr, 0, counts, sizeof *counts, &returned, error)) return false;
    return returned == sizeof *counts;
}

bool Client::FailAllocation(DWORD nth, std::string* error) {
    DWORD returned = 0;
    return Call(IOCTL_KVVIRT_FAIL_ALLOCATION, &nth, sizeof nth, nullptr, 0, &returned, error);
}

bool Client::SetDpcModel(const KvVirtDpcModel& model, std::string* error) {
    DWORD returned = 0;
    return Call(IOCTL_KVVIRT_DPC_MODEL, &model, sizeof model, nullptr, 0, &returned, error);
}

bool Client::ControlDacl(std::vector<BYTE>* descriptor, std::string* error) {
    descriptor->assign(512, 0);
    DWORD returned = 0;
    if (!Call(IOCTL_KVVIRT_CONTROL_DACL, nullptr, 0, descriptor->data(), 512, &returned, error)) return false;
    descriptor->resize(returned);
    return true;
}

bool Client::OpenControl(const std::wstring& path, LONG* status, std::string* error) {
    KvVirtStatus answer;
    if (!CallForStatus(IOCTL_KVVIRT_OPEN_CONTROL, path.data(), static_cast<DWORD>(path.size() * sizeof(wchar_t)),
                       &answer, error)) {
        return false;
    }
    *status = answer.Status;
    return true;
}

}  // namespace kvvirt
