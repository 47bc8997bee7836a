// A double of the driver's control device for the programs' tests, on the
// host and under Wine: it answers what the programs read (the placement,
// the beep record, the capture) from a script, fails as told, and logs
// every request with its input. A test thread may script touches while the
// program's own threads send requests, so every call holds one lock.
#pragma once
#include <stdint.h>
#include <stdio.h>
#include <string.h>

#include <deque>
#include <string>
#include <vector>
#ifdef _WIN32
#include <windows.h>
#else
#include <mutex>
#endif

#include "control_device.h"
#include "kvshared.h"

namespace kvtest {

struct DeviceRequest {
    uint32_t code;
    std::vector<uint8_t> input;
};

class ScriptedControlDevice : public kv::ControlDevice {
public:
    ScriptedControlDevice() = default;
    explicit ScriptedControlDevice(uint32_t placement) : screenPos(placement) {}

    // What the double answers; set before the program runs.
    bool present = true;  // Open succeeds
    bool answerScreenPos = true;
    uint32_t screenPos = 0;
    bool answerBeep = true;
    BeepSettings beep = {BEEPMODE_TOUCH_UP, KV_BEEP_FREQ_FALLBACK, KV_BEEP_TIME_FALLBACK, 0, 0};
    bool failPolls = false;  // every GET_CAPTURE fails and writes nothing
    bool storeAccepted = true;  // the driver could write its Parameters key

    bool Open() override {
        Hold hold(this);
        return open_ = present;
    }
    bool IsOpen() const override {
        Hold hold(this);
        return open_;
    }
    void Close() override {
        Hold hold(this);
        if (open_) ++closes_;
        open_ = false;
    }
    // As the driver: an answer needs room for the whole record, and a
    // failed request returns nothing. Requests before Open fail too.
    bool Control(uint32_t code, const void* in, uint32_t inSize, void* out, uint32_t outSize,
                 uint32_t* returned) override {
        Hold hold(this);
        const uint8_t* bytes = static_cast<const uint8_t*>(in);
        requests_.push_back({code, std::vector<uint8_t>(bytes, bytes ? bytes + inSize : bytes)});
        if (returned) *returned = 0;
        if (!open_) return false;
        switch (code) {
            case IOCTL_POINTER_GET_SCREEN_POS:
                return answerScreenPos && Answer(&screenPos, sizeof screenPos, out, outSize, returned);
            case IOCTL_POINTER_GET_BEEP:
                return answerBeep && Answer(&beep, sizeof beep, out, outSize, returned);
            case IOCTL_POINTER_ARM_CAPTURE:
                capture_.State = CAPTURE_ARMED;
                capturing_ = true;
                polls_ = 0;
                return true;
            case IOCTL_POINTER_GET_CAPTURE:
                if (failPolls) return false;
                AdvanceCapture();
                return Answer(&capture_, sizeof capture_, out, outSize, returned);
            case IOCTL_POINTER_STORE_SETTINGS: return storeAccepted;
            default:
                return true;
        }
    }

    // The next armed capture ends at (x, y) after `pollsUntilDone` polls
    // that find the touch still going on.
    void AddTouch(int32_t x, int32_t y, int pollsUntilDone = 0) {
        Hold hold(this);
        touches_.push_back({x, y, pollsUntilDone});
    }

    std::vector<DeviceRequest> Requests() const {
        Hold hold(this);
        return requests_;
    }
    std::vector<uint32_t> Codes() const {
        std::vector<uint32_t> codes;
        for (const DeviceRequest& r : Requests()) codes.push_back(r.code);
        return codes;
    }
    size_t Count(uint32_t code) const {
        size_t n = 0;
        for (uint32_t c : Codes()) n += c == code;
        return n;
    }
    // The input of the last request with CODE; empty when none was sent.
    std::vector<uint8_t> LastInput(uint32_t code) const {
        const std::vector<DeviceRequest> requests = Requests();
        for (auto r = requests.rbegin(); r != requests.rend(); ++r) {
            if (r->code == code) return r->input;
        }
        return {};
    }
    int Closes() const {
        Hold hold(this);
        return closes_;
    }
    // COUNT requests from the FIRST as text, "F2648(272) F268C ..." (inputs
    // as 32-bit words), for compact checks of an order.
    std::string Log(size_t first = 0, size_t count = SIZE_MAX) const {
        const std::vector<DeviceRequest> requests = Requests();
        std::string log;
        for (size_t i = first; i < requests.size() && i - first < count; ++i) {
            const DeviceRequest& r = requests[i];
            char item[32];
            snprintf(item, sizeof item, "%s%X", log.empty() ? "" : " ", static_cast<unsigned>(r.code));
            log += item;
            for (size_t at = 0; at + 4 <= r.input.size(); at += 4) {
                uint32_t word;
                memcpy(&word, &r.input[at], 4);
                snprintf(item, sizeof item, "%s%u", at ? "," : "(", static_cast<unsigned>(word));
                log += item;
            }
            if (r.input.size() >= 4) log += ")";
        }
        return log;
    }

private:
    struct Touch {
        int32_t x, y;
        int pollsUntilDone;
    };

#ifdef _WIN32
    // mingw's win32 thread model has no std::mutex.
    class Lock {
    public:
        Lock() { InitializeCriticalSection(&section_); }
        ~Lock() { DeleteCriticalSection(&section_); }
        void lock() { EnterCriticalSection(&section_); }
        void unlock() { LeaveCriticalSection(&section_); }

    private:
        CRITICAL_SECTION section_;
    };
#else
    using Lock = std::mutex;
#endif
    struct Hold {
        explicit Hold(const ScriptedControlDevice* device) : lock_(device->lock_) { lock_.lock(); }
        ~Hold() { lock_.unlock(); }
        Lock& lock_;
    };

    static bool Answer(const void* record, uint32_t size, void* out, uint32_t outSize, uint32_t* returned) {
        if (!out || outSize < size) return false;
        memcpy(out, record, size);
        if (returned) *returned = size;
        return true;
    }
    void AdvanceCapture() {
        if (!capturing_ || touches_.empty()) return;
        if (polls_++ < touches_.front().pollsUntilDone) {
            capture_.State = CAPTURE_TOUCHING;
            return;
        }
        capture_ = {CAPTURE_DONE, touches_.front().x, touches_.front().y};
        touches_.pop_front();
        capturing_ = false;
    }

    mutable Lock lock_;
    bool open_ = false;
    int closes_ = 0;
    std::vector<DeviceRequest> requests_;
    std::deque<Touch> touches_;
    CaptureRecord capture_ = {CAPTURE_IDLE, 0, 0};
    bool capturing_ = false;  // armed, and the touch has not ended yet
    int polls_ = 0;
};

}  // namespace kvtest
