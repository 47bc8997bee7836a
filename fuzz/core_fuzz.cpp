// Fuzzes the core with arbitrary settings, reports and control requests:
// every request's status and length must agree, nothing may be returned
// beyond the output length or the record, outputs stay within 0..8191, and
// the sanitizers must stay quiet.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "control.h"
#include "coordinates.h"
#include "report.h"
#include "settings.h"

namespace {

class Input {
public:
    Input(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    bool Empty() const { return size_ == 0; }
    uint8_t Byte() { return size_ ? (--size_, *data_++) : 0; }
    uint32_t Word() {
        uint32_t w = 0;
        for (int i = 0; i < 4; ++i) w |= static_cast<uint32_t>(Byte()) << (8 * i);
        return w;
    }

private:
    const uint8_t* data_;
    size_t size_;
};

class FuzzPorts : public kv::ControlPorts {
public:
    explicit FuzzPorts(kv::DriverState& state) : state_(state) {}
    void StartBeep(uint32_t, uint32_t) override {}
    kv::Status ReloadSettings() override { return kv::ReadSettings(state_, emptyKey_); }
    // Only a whole record naming known values may reach the registry.
    kv::Status StoreSettings(const StoredSettings& record) override {
        if (record.Present & ~KV_STORED_PRESENT_ALL) abort();
        return kv::kStatusSuccess;
    }
    kv::Status SendClassRequest(const kv::ClassRequest& r, uint32_t* transferred) override {
        if (r.Length && !r.Data) abort();
        for (uint32_t i = 0; i < r.Length; ++i) checksum_ += r.Data[i];  // every byte must be readable
        *transferred = deviceSends;
        if (r.DeviceToHost) {
            for (uint32_t i = 0; i < r.Length && i < deviceSends; ++i) r.Data[i] = 0x5A;
        }
        return kv::kStatusSuccess;
    }
    uint32_t deviceSends = 0;

private:
    struct EmptyKey : kv::SettingsSource {
        kv::Status Query(uint32_t (&)[KV_DRIVER_VALUE_COUNT]) override { return kv::kStatusSuccess; }
    };
    kv::DriverState& state_;
    EmptyKey emptyKey_;
    uint32_t checksum_ = 0;
};

const uint32_t kCodes[] = {
#define KV_FUZZ_CODE(name, function) KV_CTL_CODE(function),
    KV_FOR_EACH_IOCTL(KV_FUZZ_CODE)
#undef KV_FUZZ_CODE
    IOCTL_POINTER_STORE_SETTINGS,
};

// Most bytes a code may return: its record, or for GET_REPORT the output.
uint32_t RecordLimit(uint32_t code, uint32_t outputLength) {
    return code == IOCTL_POINTER_GET_REPORT ? outputLength : kv::OutputRecordSize(code);
}

void RandomSettings(kv::DriverState& state, Input& in) {
    CalibrationBlock block = {static_cast<int32_t>(in.Word()), static_cast<int32_t>(in.Word()),
                              static_cast<int32_t>(in.Word()), static_cast<int32_t>(in.Word()), 0, 0};
    kv::ApplyCalibrationBlock(state, block);
    state.Settings.DBScreenPos = in.Byte() % 8;
    state.Settings.RBNDelay = in.Byte() % 4;
    state.Settings.BeepMode = in.Byte() % 3;
}

void FuzzReport(kv::DriverState& state, FuzzPorts& ports, Input& in) {
    std::vector<uint8_t> report(in.Byte() % 16);
    for (uint8_t& b : report) b = in.Byte();
    const std::vector<uint8_t> before = report;
    kv::ProcessReport(state, report.empty() ? nullptr : report.data(), static_cast<uint32_t>(report.size()), ports);
    if (report.size() < kv::kMinReportLength) {
        if (report != before) abort();
        return;
    }
    const uint32_t x = report[1] | (report[2] << 8), y = report[3] | (report[4] << 8);
    if (x > kv::kMaxOutput || y > kv::kMaxOutput) abort();
    if (report[0] != before[0] && report[0] != kv::kContactSecondaryButton) abort();
    if (memcmp(report.data() + 5, before.data() + 5, report.size() - 5) != 0) abort();
}

void FuzzControl(kv::DriverState& state, FuzzPorts& ports, Input& in) {
    const uint32_t code = in.Byte() & 0x80 ? in.Word() : kCodes[in.Byte() % (sizeof kCodes / sizeof kCodes[0])];
    // Up to a little past the longest record (the 60-byte settings store).
    const uint32_t inputLength = in.Byte() % 72, outputLength = in.Byte() % 40;
    ports.deviceSends = in.Byte() % 48;
    // Exactly max(in, out) bytes, as the I/O manager allocates, so ASan
    // catches any access past the system buffer.
    const size_t size = inputLength > outputLength ? inputLength : outputLength;
    uint8_t* buffer = size ? static_cast<uint8_t*>(malloc(size)) : nullptr;
    for (size_t i = 0; i < size; ++i) buffer[i] = in.Byte();
    const kv::ControlResult result = kv::DispatchControl(state, ports, {code, buffer, inputLength, outputLength});
    if (result.bytesReturned > outputLength) abort();
    if (result.bytesReturned > RecordLimit(code, outputLength)) abort();
    if (!kv::IsSuccess(result.status) && result.bytesReturned != 0) abort();
    if (result.status == kv::kStatusBufferTooSmall && outputLength >= RecordLimit(code, outputLength) &&
        inputLength >= 24)
        abort();  // long enough for every code
    free(buffer);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Input in(data, size);
    kv::DriverState state;
    kv::ClearDriverState(state);
    FuzzPorts ports(state);
    RandomSettings(state, in);
    while (!in.Empty()) {
        if (in.Byte() & 1) {
            FuzzReport(state, ports, in);
        } else {
            FuzzControl(state, ports, in);
        }
    }
    return 0;
}
