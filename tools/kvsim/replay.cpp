// The replay loop and its two kinds of line.
#include "replay.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <iostream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "control.h"
#include "report.h"
#include "settings.h"

namespace kvsim {

namespace {

constexpr size_t kMaxReportBytes = 4096;
constexpr uint32_t kMaxOutputLength = 1u << 16;

struct IoctlInfo {
    const char* name;
    uint32_t code;
};

const IoctlInfo kIoctls[] = {
#define KV_IOCTL_INFO(name, function) {#name, KV_CTL_CODE(function)},
    KV_FOR_EACH_IOCTL(KV_IOCTL_INFO)
#undef KV_IOCTL_INFO
    {"STORE_SETTINGS", IOCTL_POINTER_STORE_SETTINGS},
};

const char* const kStoredNames[] = {KV_FOR_EACH_STORED_VALUE(KV_VALUE_NAME_ITEM)};

const IoctlInfo* FindIoctl(std::string name) {
    const std::string prefix = "IOCTL_POINTER_";
    if (name.compare(0, prefix.size(), prefix) == 0) name = name.substr(prefix.size());
    for (const IoctlInfo& info : kIoctls) {
        if (name == info.name) return &info;
    }
    return nullptr;
}

class ReplayedKey : public kv::SettingsSource {
public:
    explicit ReplayedKey(const StoredValues& stored) : stored_(stored) {}
    kv::Status Query(uint32_t (&values)[KV_DRIVER_VALUE_COUNT]) override {
        for (const auto& [name, value] : stored_) {
            const int id = DriverValueId(name);
            if (id >= 0) values[id] = value;
        }
        return kv::kStatusSuccess;
    }

private:
    const StoredValues& stored_;
};

// The frame's side as kvsim plays it: beeps are remembered for printing,
// reloads re-apply the stored values, a store writes into them (for the
// next reload), class requests succeed without data.
class SimulatedFrame : public kv::ControlPorts {
public:
    SimulatedFrame(kv::DriverState& state, const StoredValues& stored)
        : state_(state), stored_(stored), settings_(stored_) {}
    void StartBeep(uint32_t frequencyHz, uint32_t durationMs) override {
        beep_ = "  beep " + std::to_string(frequencyHz) + " " + std::to_string(durationMs);
    }
    kv::Status ReloadSettings() override { return kv::ReadSettings(state_, settings_); }
    kv::Status SendClassRequest(const kv::ClassRequest&, uint32_t* transferred) override {
        *transferred = 0;
        return kv::kStatusSuccess;
    }
    kv::Status StoreSettings(const StoredSettings& record) override {
        for (uint32_t i = 0; i < KV_STORED_VALUE_COUNT; ++i) {
            if (record.Present & (1u << i)) stored_[kStoredNames[i]] = record.Value[i];
        }
        return kv::kStatusSuccess;
    }
    // The beep suffix of the line just run, and forget it.
    std::string TakeBeep() { return std::exchange(beep_, std::string()); }

private:
    kv::DriverState& state_;
    StoredValues stored_;  // the replayed key
    ReplayedKey settings_;
    std::string beep_;
};

std::string Hex(const uint8_t* bytes, size_t count) {
    std::string text;
    char byte[4];
    for (size_t i = 0; i < count; ++i) {
        std::snprintf(byte, sizeof byte, i ? " %02x" : "%02x", bytes[i]);
        text += byte;
    }
    return text;
}

bool ParseHexByte(const std::string& token, uint8_t* byte) {
    if (token.empty() || token.size() > 2) return false;
    unsigned value = 0;
    for (char c : token) {
        const int digit = std::isdigit(static_cast<unsigned char>(c)) ? c - '0'
                          : (c >= 'a' && c <= 'f')                    ? c - 'a' + 10
                          : (c >= 'A' && c <= 'F')                    ? c - 'A' + 10
                                                                      : -1;
        if (digit < 0) return false;
        value = value * 16 + static_cast<unsigned>(digit);
    }
    *byte = static_cast<uint8_t>(value);
    return true;
}

class Replayer {
public:
    explicit Replayer(const StoredValues& stored) : frame_(state_, stored) {
        kv::ClearDriverState(state_);
        frame_.ReloadSettings();
    }

    // Returns an error message, or an empty string when the line ran.
    std::string Run(const std::vector<std::string>& tokens, std::ostream& out) {
        return tokens[0] == "ioctl" ? RunIoctl(tokens, out) : RunReport(tokens, out);
    }

private:
    std::string RunReport(const std::vector<std::string>& tokens, std::ostream& out) {
        if (tokens.size() > kMaxReportBytes) return "report longer than 4096 bytes";
        std::vector<uint8_t> report(tokens.size());
        for (size_t i = 0; i < tokens.size(); ++i) {
            if (!ParseHexByte(tokens[i], &report[i])) return "not a hex byte: " + tokens[i];
        }
        kv::ProcessReport(state_, report.data(), static_cast<uint32_t>(report.size()), frame_);
        out << Hex(report.data(), report.size()) << frame_.TakeBeep() << '\n';
        return {};
    }

    std::string RunIoctl(const std::vector<std::string>& tokens, std::ostream& out) {
        if (tokens.size() < 2) return "ioctl needs a control code name";
        const IoctlInfo* info = FindIoctl(tokens[1]);
        if (!info) return "unknown control code: " + tokens[1];
        uint32_t outputLength = kv::OutputRecordSize(info->code);  // unless --out says otherwise
        std::vector<uint8_t> input;
        for (size_t i = 2; i < tokens.size(); ++i) {
            uint32_t word = 0;
            if (tokens[i] == "--out") {
                if (++i == tokens.size() || !ParseWord(tokens[i], &outputLength) || outputLength > kMaxOutputLength)
                    return "--out needs a length of at most 65536";
                continue;
            }
            if (!ParseWord(tokens[i], &word)) return "not a 32-bit word: " + tokens[i];
            for (int shift = 0; shift < 32; shift += 8) input.push_back(static_cast<uint8_t>(word >> shift));
        }
        const uint32_t inputLength = static_cast<uint32_t>(input.size());
        input.resize(std::max<size_t>(input.size(), outputLength), 0xCD);  // stale bytes, like pool
        const kv::ControlRequest request = {info->code, input.empty() ? nullptr : input.data(), inputLength, outputLength};
        const kv::ControlResult result = kv::DispatchControl(state_, frame_, request);
        char status[16];
        std::snprintf(status, sizeof status, "0x%08X", static_cast<uint32_t>(result.status));
        out << "ioctl " << info->name << " status=" << status << " out=" << Hex(input.data(), result.bytesReturned)
            << frame_.TakeBeep() << '\n';
        return {};
    }

    kv::DriverState state_;
    SimulatedFrame frame_;
};

std::vector<std::string> Tokens(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> tokens;
    for (std::string token; in >> token;) tokens.push_back(token);
    return tokens;
}

}  // namespace

bool Replay(const StoredValues& stored, std::istream& in, std::ostream& out, std::ostream& err) {
    Replayer replayer(stored);
    bool ok = true;
    int lineNumber = 0;
    for (std::string line; std::getline(in, line);) {
        ++lineNumber;
        const std::vector<std::string> tokens = Tokens(line);
        if (tokens.empty() || tokens[0][0] == '#') continue;
        const std::string error = replayer.Run(tokens, out);
        if (!error.empty()) {
            err << "kvsim: line " << lineNumber << ": " << error << '\n';
            ok = false;
        }
    }
    return ok;
}

}  // namespace kvsim
