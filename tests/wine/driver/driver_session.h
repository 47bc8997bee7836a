// What the end-to-end driver tests share: the harness with the real
// kvusb.sys loaded, the control device as a client sees it, and the
// Parameters key in the prefix's registry.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "kvvirt_client.h"

namespace kvtest {

using Bytes = std::vector<BYTE>;

struct IoctlResult {
    bool ok;
    DWORD error;     // GetLastError() when !ok
    Bytes output;    // the bytes returned
};

// A REG_DWORD, or another type with raw data, for the Parameters key.
struct StoredValue {
    std::string name;
    DWORD type;
    Bytes data;
};
StoredValue Dword(const std::string& name, DWORD value);

Bytes Words(const std::vector<DWORD>& words);
DWORD WordAt(const Bytes& bytes, size_t index);
// The seven-byte report the controller sends for contact c at raw (x, y).
Bytes RawReport(BYTE contact, int x, int y);
std::string Hex(const Bytes& bytes);
// The error a Win32 caller sees for a request completed with `status`.
DWORD Win32ErrorOf(LONG status);

class DriverSession {
public:
    DriverSession() = default;
    ~DriverSession();
    DriverSession(const DriverSession&) = delete;
    DriverSession& operator=(const DriverSession&) = delete;

    // Starts the harness (installing it in the prefix when needed), opens
    // the control device and brings the driver to its stored settings with
    // no touch in progress and empty harness logs.
    bool Start(std::string* error);

    // Replaces the Parameters key by these values (none: key deleted) and
    // makes the driver reload.
    bool StoreSettings(const std::vector<StoredValue>& values, std::string* error);

    // Unplugs the last controller (this session's handle closed first) and
    // plugs it in again, keeping the stored settings: false, with the
    // reason, when the driver did not unload in between or did not start.
    bool Replug(std::string* error);

    IoctlResult Ioctl(DWORD code, const Bytes& input, DWORD outputLength);
    // Closes this session's handle (before the driver is unloaded).
    void CloseControl();
    // Opens a handle of its own (the control device as another program sees it).
    static HANDLE OpenControlDevice();

    // One report up controller `controller`; the bytes as they arrive.
    Bytes Report(const Bytes& report, DWORD controller = 0, DWORD mode = KVVIRT_REPORT_COMPLETE_AT_ONCE);
    // `contacts` contact reports at (x, y), then the release.
    Bytes Touch(int x, int y, int contacts);

    // Waits up to 10 s for the harness to report a state that `reached`
    // accepts; whether it did. `last`: the state last reported.
    bool WaitForHarness(const std::function<bool(const KvVirtState&)>& reached, KvVirtState* last = nullptr);
    // The harness's rules the filter broke since the last call, with the
    // Windows rule each stands for: "" when clean.
    std::string AccountingFaults();

    kvvirt::Client& harness() { return harness_; }
    const std::string& lastError() const { return lastError_; }

private:
    kvvirt::Client harness_;
    HANDLE control_ = INVALID_HANDLE_VALUE;
    std::string lastError_;
};

// For WaitForHarness: every tone that started has ended.
inline bool SpeakerQuiet(const KvVirtState& state) { return !state.BeepSounding; }

// The fixture of the driver tests: a started session, and a harness that
// counted nothing against the filter by the end of the test.
class DriverTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(session_.Start(&error)) << error;
    }
    void TearDown() override { EXPECT_EQ(session_.AccountingFaults(), ""); }
    DriverSession session_;
};

// The folder of the harness's binaries, next to this test's build folder.
std::string HarnessFolder();

}  // namespace kvtest
