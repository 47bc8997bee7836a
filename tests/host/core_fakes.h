// In-memory stand-ins for the frame's ports, for driving the core in tests.
#pragma once
#include <cstdint>
#include <map>
#include <vector>

#include "ports.h"
#include "settings.h"

namespace kvtest {

// Stored values by id; anything absent keeps its default.
class MapSource : public kv::SettingsSource {
public:
    std::map<int, uint32_t> stored;
    kv::Status status = kv::kStatusSuccess;
    kv::Status Query(uint32_t (&values)[KV_DRIVER_VALUE_COUNT]) override {
        for (const auto& [id, value] : stored) values[id] = value;
        return status;
    }
};

struct Beep {
    uint32_t frequency;
    uint32_t duration;
    bool operator==(const Beep& other) const {
        return frequency == other.frequency && duration == other.duration;
    }
};

class RecordingPorts : public kv::ControlPorts {
public:
    explicit RecordingPorts(kv::DriverState& state) : state_(state) {}
    std::vector<Beep> beeps;
    std::vector<kv::ClassRequest> requests;
    std::vector<std::vector<uint8_t>> requestData;
    MapSource source;
    kv::Status classStatus = kv::kStatusSuccess;
    std::vector<uint8_t> deviceAnswer;  // data stage of a device-to-host request
    std::vector<StoredSettings> stored;  // what reached the registry
    kv::Status storeStatus = kv::kStatusSuccess;

    void StartBeep(uint32_t frequency, uint32_t duration) override { beeps.push_back({frequency, duration}); }
    kv::Status ReloadSettings() override { return kv::ReadSettings(state_, source); }
    kv::Status StoreSettings(const StoredSettings& record) override {
        stored.push_back(record);
        return storeStatus;
    }
    kv::Status SendClassRequest(const kv::ClassRequest& request, uint32_t* transferred) override {
        requests.push_back(request);
        *transferred = 0;
        if (request.DeviceToHost) {
            for (uint32_t i = 0; i < request.Length && i < deviceAnswer.size(); ++i) request.Data[i] = deviceAnswer[i];
            *transferred = static_cast<uint32_t>(deviceAnswer.size());
        }
        requestData.emplace_back(request.Data, request.Data + (request.DeviceToHost ? 0 : request.Length));
        return classStatus;
    }

private:
    kv::DriverState& state_;
};

}  // namespace kvtest
