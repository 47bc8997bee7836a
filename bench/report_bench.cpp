// Nanoseconds per report on the report path, for a realistic touch stream
// (a stroke with pauses and lifts), with the default calibration and with
// a rotated (axis-exchanging) one. Counts heap allocations on the path,
// which must stay at zero.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <vector>

#include "report.h"
#include "settings.h"

namespace {

std::atomic<long> g_allocations{0};

class SilentBeeper : public kv::BeepPort {
public:
    void StartBeep(uint32_t, uint32_t) override { ++beeps; }
    long beeps = 0;
};

class StoredKey : public kv::SettingsSource {
public:
    explicit StoredKey(bool rotated) : rotated_(rotated) {}
    kv::Status Query(uint32_t (&v)[KV_DRIVER_VALUE_COUNT]) override {
        if (rotated_) {  // what a 90-degree calibration stores: X normal, Y inverted
            v[KV_VALUE_XLow] = 0;
            v[KV_VALUE_XHigh] = 1600;
            v[KV_VALUE_YLow] = 2000;
            v[KV_VALUE_YHigh] = 0;
            v[KV_VALUE_DBScreenPos] = 5;
        }
        v[KV_VALUE_BeepFreq] = 2000;
        v[KV_VALUE_BeepTime] = 32;
        return kv::kStatusSuccess;
    }

private:
    bool rotated_;
};

// 1024 reports: strokes of 60 moving contacts, 20 resting ones and a lift.
std::vector<std::vector<uint8_t>> TouchStream() {
    std::vector<std::vector<uint8_t>> stream;
    for (int i = 0; stream.size() < 1024; ++i) {
        const int phase = i % 81;
        const uint16_t x = static_cast<uint16_t>(200 + (phase < 60 ? phase * 23 : 60 * 23));
        const uint16_t y = static_cast<uint16_t>(300 + (phase < 60 ? phase * 17 : 60 * 17));
        const uint8_t contact = phase == 80 ? 0 : 1;
        stream.push_back({contact, uint8_t(x), uint8_t(x >> 8), uint8_t(y), uint8_t(y >> 8), 0, 0, 0});
    }
    return stream;
}

void RunStream(benchmark::State& bench, bool rotated) {
    kv::DriverState state;
    kv::ClearDriverState(state);
    StoredKey key(rotated);
    kv::ReadSettings(state, key);
    SilentBeeper beeper;
    const std::vector<std::vector<uint8_t>> stream = TouchStream();
    std::vector<uint8_t> report(8);
    size_t next = 0;
    const long allocationsBefore = g_allocations.load();
    for (auto _ : bench) {
        report = stream[next];  // same size: no allocation
        next = (next + 1) & 1023;
        kv::ProcessReport(state, report.data(), static_cast<uint32_t>(report.size()), beeper);
        benchmark::DoNotOptimize(report.data());
    }
    bench.counters["allocations"] = static_cast<double>(g_allocations.load() - allocationsBefore);
    bench.counters["beeps"] = static_cast<double>(beeper.beeps);
}

void BM_ReportDefaultCalibration(benchmark::State& bench) { RunStream(bench, false); }
void BM_ReportRotatedCalibration(benchmark::State& bench) { RunStream(bench, true); }

BENCHMARK(BM_ReportDefaultCalibration);
BENCHMARK(BM_ReportRotatedCalibration);

}  // namespace

void* operator new(size_t size) {
    ++g_allocations;
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, size_t) noexcept { std::free(p); }

BENCHMARK_MAIN();
