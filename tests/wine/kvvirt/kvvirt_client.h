// Win32 side of the virtual touch controller: installs and starts the
// harness in the current Wine prefix and wraps its control requests.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "kvvirt_protocol.h"

namespace kvvirt {

class Client {
public:
    Client() = default;
    ~Client();
    Client(const Client&) = delete;
    Client& operator=(const Client&) = delete;

    // Copies kvvirt.sys and kvusb.sys from `folder` into the system's driver
    // folder, registers both kernel services and starts the harness, then
    // brings controller 0 up. Safe to repeat. False with *error on failure.
    bool Start(const std::string& folder, std::string* error);
    // Opens the running harness only.
    bool Open(std::string* error);

    // Sends one report up controller `controller`'s stack; *arrived gets
    // the bytes as the layer above the filter sees them.
    bool Report(const std::vector<BYTE>& bytes, std::vector<BYTE>* arrived, std::string* error, DWORD controller = 0,
                DWORD mode = KVVIRT_REPORT_COMPLETE_AT_ONCE);
    bool TakeBeeps(std::vector<KvVirtBeep>* beeps, std::string* error);
    bool TakeRequests(std::vector<KvVirtClassRequest>* requests, std::string* error);
    bool TakeStackEvents(std::vector<KvVirtStackEvent>* events, std::string* error);
    // The status the top of the stack returned for the request.
    bool Pnp(DWORD controller, DWORD request, LONG* status, std::string* error);
    bool AddController(DWORD* index, std::string* error);
    bool Unload(std::string* error);
    bool Query(KvVirtState* state, std::string* error);
    // The counts so far (the event counts start again).
    bool TakeAccounting(KvVirtAccounting* counts, std::string* error);
    // The filter's `nth` pool allocation from now fails (0: none).
    bool FailAllocation(DWORD nth, std::string* error);
    bool SetDpcModel(const KvVirtDpcModel& model, std::string* error);
    // The filter's control device's DACL, a self-relative security descriptor.
    bool ControlDacl(std::vector<BYTE>* descriptor, std::string* error);
    // The status the control device answers an open of `path` below its name with.
    bool OpenControl(const std::wstring& path, LONG* status, std::string* error);

private:
    bool Call(DWORD code, const void* in, DWORD inLength, void* out, DWORD outLength, DWORD* returned,
              std::string* error);
    bool CallForStatus(DWORD code, const void* in, DWORD inLength, KvVirtStatus* answer, std::string* error);
    template <typename Record>
    bool TakeRecords(DWORD code, std::vector<Record>* records, std::string* error);

    HANDLE device_ = INVALID_HANDLE_VALUE;
};

// "0x%08lX" of a status, for messages.
std::string FormatStatus(LONG status);

}  // namespace kvvirt
