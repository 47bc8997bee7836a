// A double of the driver's control device for the calibration program's
// host tests: answers the capture codes from a script of touches and keeps
// a log of every request.
#pragma once
#include <cstring>
#include <deque>
#include <vector>

#include "control_device.h"
#include "kvshared.h"

namespace kvtest {

struct DeviceRequest {
    uint32_t code;
    std::vector<uint8_t> input;
};

class FakeControlDevice : public kvcal::ControlDevice {
public:
    struct Touch {
        int32_t x, y;
        int pollsUntilDone;  // GET_CAPTURE answers before the touch has ended
    };
    std::deque<Touch> touches;
    std::vector<DeviceRequest> log;
    bool failPolls = false;  // every GET_CAPTURE fails and writes nothing

    bool Open(const char*) override { return true; }
    void Close() override {}
    bool Control(uint32_t code, const void* in, uint32_t inSize, void* out, uint32_t outSize,
                 uint32_t* returned) override {
        const uint8_t* bytes = static_cast<const uint8_t*>(in);
        log.push_back({code, std::vector<uint8_t>(bytes, bytes + inSize)});
        if (returned) *returned = 0;
        if (code == IOCTL_POINTER_ARM_CAPTURE) {
            state_ = CAPTURE_ARMED;
            polls_ = 0;
        } else if (code == IOCTL_POINTER_GET_CAPTURE) {
            if (failPolls || outSize < sizeof(CaptureRecord)) return false;
            Advance();
            std::memcpy(out, &record_, sizeof record_);
            if (returned) *returned = sizeof record_;
        }
        return true;
    }
    size_t Count(uint32_t code) const {
        size_t n = 0;
        for (const DeviceRequest& r : log) n += r.code == code;
        return n;
    }

private:
    void Advance() {
        if (state_ != CAPTURE_ARMED || touches.empty()) {
            record_.State = state_;
            return;
        }
        if (polls_++ < touches.front().pollsUntilDone) {
            record_.State = CAPTURE_TOUCHING;
            return;
        }
        record_ = {CAPTURE_DONE, touches.front().x, touches.front().y};
        state_ = CAPTURE_DONE;
        touches.pop_front();
    }
    uint32_t state_ = CAPTURE_IDLE;
    int polls_ = 0;
    CaptureRecord record_ = {CAPTURE_IDLE, 0, 0};
};

}  // namespace kvtest
