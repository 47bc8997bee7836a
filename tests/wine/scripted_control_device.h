// A double of the driver's control device for the calibration window's
// Wine tests: the test thread feeds touches while the program's reader
// and window threads send requests, so everything is under one lock.
#pragma once
#include <windows.h>

#include <cstring>
#include <deque>
#include <vector>

#include "control_device.h"
#include "kvshared.h"

namespace kvtest {

class ScriptedControlDevice : public kvcal::ControlDevice {
public:
    explicit ScriptedControlDevice(uint32_t screenPos, bool screenPosFails = false)
        : screenPos_(screenPos), screenPosFails_(screenPosFails) {
        InitializeCriticalSection(&lock_);
    }
    ~ScriptedControlDevice() override { DeleteCriticalSection(&lock_); }

    bool Open(const char*) override { return true; }
    void Close() override {}

    bool Control(uint32_t code, const void* in, uint32_t inSize, void* out, uint32_t outSize,
                 uint32_t* returned) override {
        Locked hold(&lock_);
        codes_.push_back(code);
        if (returned) *returned = 0;
        switch (code) {
            case IOCTL_POINTER_GET_SCREEN_POS:
                if (screenPosFails_ || outSize < 4) return false;
                std::memcpy(out, &screenPos_, 4);
                if (returned) *returned = 4;
                return true;
            case IOCTL_POINTER_ARM_CAPTURE:
                record_.State = CAPTURE_ARMED;
                ++arms_;
                return true;
            case IOCTL_POINTER_GET_CAPTURE:
                if (record_.State == CAPTURE_ARMED && !touches_.empty()) {
                    record_ = {CAPTURE_DONE, touches_.front().x, touches_.front().y};
                    touches_.pop_front();
                }
                std::memcpy(out, &record_, sizeof record_);
                if (returned) *returned = sizeof record_;
                return true;
            case IOCTL_POINTER_SET_CALIBRATION:
                lastCalibration_.assign(static_cast<const uint8_t*>(in), static_cast<const uint8_t*>(in) + inSize);
                return true;
            default:
                return true;
        }
    }

    void Touch(int32_t x, int32_t y) {
        Locked hold(&lock_);
        touches_.push_back({x, y});
    }
    int Arms() {
        Locked hold(&lock_);
        return arms_;
    }
    size_t Count(uint32_t code) {
        Locked hold(&lock_);
        size_t n = 0;
        for (uint32_t c : codes_) n += c == code;
        return n;
    }
    std::vector<uint8_t> LastCalibration() {
        Locked hold(&lock_);
        return lastCalibration_;
    }

private:
    struct Locked {
        explicit Locked(CRITICAL_SECTION* s) : s_(s) { EnterCriticalSection(s_); }
        ~Locked() { LeaveCriticalSection(s_); }
        CRITICAL_SECTION* s_;
    };
    CRITICAL_SECTION lock_;
    uint32_t screenPos_;
    bool screenPosFails_;
    std::deque<kvcal::Point> touches_;
    CaptureRecord record_ = {CAPTURE_IDLE, 0, 0};
    std::vector<uint32_t> codes_;
    std::vector<uint8_t> lastCalibration_;
    int arms_ = 0;
};

}  // namespace kvtest
