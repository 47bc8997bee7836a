// The shared session of the end-to-end driver tests.
#include "driver_session.h"

#include <cstdio>

#include "gui_wait.h"
#include "kvshared.h"
#include "process_runner.h"
#include "registry.h"

namespace kvtest {

StoredValue Dword(const std::string& name, DWORD value) {
    return {name, REG_DWORD, Words({value})};
}

Bytes Words(const std::vector<DWORD>& words) {
    Bytes bytes;
    for (DWORD word : words) {
        for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<BYTE>(word >> (8 * i)));
    }
    return bytes;
}

DWORD WordAt(const Bytes& bytes, size_t index) {
    DWORD word = 0;
    for (int i = 3; i >= 0; --i) word = (word << 8) | bytes.at(4 * index + i);
    return word;
}

Bytes RawReport(BYTE contact, int x, int y) {
    return {contact, BYTE(x), BYTE(x >> 8), BYTE(y), BYTE(y >> 8), 0, 0};
}

std::string Hex(const Bytes& bytes) {
    std::string text;
    char byte[4];
    for (size_t i = 0; i < bytes.size(); ++i) {
        std::snprintf(byte, sizeof byte, i ? " %02x" : "%02x", bytes[i]);
        text += byte;
    }
    return text;
}

DWORD Win32ErrorOf(LONG status) {
    using ToDosError = ULONG(WINAPI*)(LONG);
    auto convert = reinterpret_cast<ToDosError>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "RtlNtStatusToDosError")));
    return convert ? convert(status) : 0;
}

std::string HarnessFolder() { return BesideThisProgram("..\\kvvirt"); }

DriverSession::~DriverSession() { CloseControl(); }

void DriverSession::CloseControl() {
    if (control_ != INVALID_HANDLE_VALUE) CloseHandle(control_);
    control_ = INVALID_HANDLE_VALUE;
}

HANDLE DriverSession::OpenControlDevice() {
    return CreateFileA(KV_CONTROL_DEVICE_PATH, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
}

bool DriverSession::Start(std::string* error) {
    if (!harness_.Start(HarnessFolder(), error)) return false;
    control_ = OpenControlDevice();
    if (control_ == INVALID_HANDLE_VALUE) {
        *error = "cannot open " KV_CONTROL_DEVICE_PATH ", error " + std::to_string(GetLastError());
        return false;
    }
    KvVirtState state;
    if (!harness_.Query(&state, error)) return false;
    if (!state.ImportsPatched) {
        *error = "the harness does not stand in for the filter's imports";
        return false;
    }
    if (!StoreSettings({}, error)) return false;
    Report(RawReport(0, 0, 0));  // ends any touch an earlier test left
    AccountingFaults();
    std::vector<KvVirtBeep> beeps;
    std::vector<KvVirtClassRequest> requests;
    std::vector<KvVirtStackEvent> events;
    return harness_.TakeBeeps(&beeps, error) && harness_.TakeRequests(&requests, error) &&
           harness_.TakeStackEvents(&events, error);
}

bool DriverSession::Replug(std::string* error) {
    CloseControl();
    LONG status = 0;
    if (!harness_.Pnp(0, KVVIRT_PNP_SURPRISE_REMOVAL, &status, error) ||
        !harness_.Pnp(0, KVVIRT_PNP_REMOVE, &status, error)) {
        return false;
    }
    // As on Windows, the image goes once nothing is open on its devices: a
    // request another program has under way holds it that long.
    KvVirtState state;
    if (!WaitForHarness([](const KvVirtState& s) { return !s.Loaded; }, &state)) {
        *error = state.PriorInstance ? "kvusb.sys stays loaded: its control device is still open" : "kvusb.sys stays";
        *error += "; programs running:" + RunningPrograms();
        return false;
    }
    if (!harness_.Start(HarnessFolder(), error)) return false;
    control_ = OpenControlDevice();
    if (control_ == INVALID_HANDLE_VALUE) *error = "the control device did not come back";
    return control_ != INVALID_HANDLE_VALUE;
}

bool DriverSession::StoreSettings(const std::vector<StoredValue>& values, std::string* error) {
    const RegKey parameters = MachineKey(KV_PARAMETERS_KEY);
    parameters.Remove();
    for (const StoredValue& v : values) {
        if (!parameters.Set(v.name.c_str(), {v.type, std::string(v.data.begin(), v.data.end())})) {
            *error = "cannot write " + v.name + " into the Parameters key";
            return false;
        }
    }
    const IoctlResult reload = Ioctl(IOCTL_POINTER_RELOAD_SETTINGS, {}, 0);
    if (!reload.ok) *error = "reload failed with error " + std::to_string(reload.error);
    return reload.ok;
}

IoctlResult DriverSession::Ioctl(DWORD code, const Bytes& input, DWORD outputLength) {
    IoctlResult result{false, 0, Bytes(outputLength ? outputLength : 1, 0xCC)};
    DWORD returned = 0;
    Bytes in = input;
    result.ok = DeviceIoControl(control_, code, in.empty() ? nullptr : in.data(), static_cast<DWORD>(in.size()),
                                outputLength ? result.output.data() : nullptr, outputLength, &returned, nullptr) != 0;
    result.error = result.ok ? 0 : GetLastError();
    result.output.resize(returned);
    return result;
}

namespace {

// What the harness checked over this test program's run, printed at its end.
struct Checked {
    KvVirtAccounting totals{};
    ~Checked() {
        std::printf("harness: %u rules held over %u requests (%u power or WMI) and %u pool blocks\n",
                    static_cast<unsigned>(KVVIRT_RULE_COUNT), totals.IrpsSent, totals.PowerSent,
                    totals.PoolAllocations);
    }
} g_checked;

}  // namespace

std::string DriverSession::AccountingFaults() {
    static const char* const kRules[] = {
#define KVVIRT_RULE_TEXT(name, text) #name ": " text,
        KVVIRT_FOR_EACH_RULE(KVVIRT_RULE_TEXT)
#undef KVVIRT_RULE_TEXT
    };
    KvVirtAccounting c;
    std::string error;
    if (!harness_.TakeAccounting(&c, &error)) return error;
    g_checked.totals.IrpsSent += c.IrpsSent;
    g_checked.totals.PowerSent += c.PowerSent;
    g_checked.totals.PoolAllocations += c.PoolAllocations;
    std::string faults;
    for (int rule = 0; rule < KVVIRT_RULE_COUNT; ++rule) {
        if (!c.Broken[rule]) continue;
        faults += (faults.empty() ? "" : "; ") + std::to_string(c.Broken[rule]) + "x " + kRules[rule];
    }
    return faults;
}

bool DriverSession::WaitForHarness(const std::function<bool(const KvVirtState&)>& reached, KvVirtState* last) {
    KvVirtState state = {};
    std::string error;
    const bool done = WaitFor([&] { return harness_.Query(&state, &error) && reached(state); });
    if (last) *last = state;
    return done;
}

Bytes DriverSession::Report(const Bytes& report, DWORD controller, DWORD mode) {
    Bytes arrived;
    if (!harness_.Report(report, &arrived, &lastError_, controller, mode)) return {};
    return arrived;
}

Bytes DriverSession::Touch(int x, int y, int contacts) {
    Bytes last;
    for (int i = 0; i < contacts; ++i) last = Report(RawReport(1, x, y));
    return Report(RawReport(0, x, y));
}

}  // namespace kvtest
