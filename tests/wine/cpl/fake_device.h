// A stand-in for the driver's control device: records every request with
// its input, and answers GET_SCREEN_POS and GET_BEEP as told.
#ifndef KV_TESTS_CPL_FAKE_DEVICE_H
#define KV_TESTS_CPL_FAKE_DEVICE_H

#include <string.h>

#include <string>
#include <vector>

#include "control_device.h"
#include "kvshared.h"

struct DeviceRequest {
    DWORD code;
    std::vector<uint32_t> input;  // the input as 32-bit words
};

class FakeDevice : public ControlDevice {
public:
    bool present = true;         // Open succeeds
    bool answerScreenPos = true;
    uint32_t screenPos = 0;
    bool answerBeep = true;
    BeepSettings beep = {2, 2000, 32, 0, 0};
    std::vector<DeviceRequest> requests;
    int closes = 0;

    bool Open() override { return open_ = present; }
    bool IsOpen() const override { return open_; }
    void Close() override {
        if (open_) ++closes;
        open_ = false;
    }
    bool Control(DWORD code, const void* input, DWORD inputSize, void* output, DWORD outputSize,
                 DWORD* returned) override {
        DeviceRequest request{code, {}};
        for (DWORD i = 0; i + 4 <= inputSize; i += 4) {
            uint32_t word;
            memcpy(&word, static_cast<const char*>(input) + i, 4);
            request.input.push_back(word);
        }
        requests.push_back(request);
        *returned = 0;
        if (code == IOCTL_POINTER_GET_SCREEN_POS && answerScreenPos && outputSize >= 4) {
            memcpy(output, &screenPos, 4);
            *returned = 4;
        }
        if (code == IOCTL_POINTER_GET_BEEP && answerBeep && outputSize >= sizeof beep) {
            memcpy(output, &beep, sizeof beep);
            *returned = sizeof beep;
        }
        return open_;
    }

    // The requests as text, "F2648(272) F268C F2620 ..." for compact checks.
    std::string Log() const {
        std::string log;
        for (const DeviceRequest& r : requests) {
            char item[32];
            wsprintfA(item, "%s%lX", log.empty() ? "" : " ", static_cast<unsigned long>(r.code));
            log += item;
            for (size_t i = 0; i < r.input.size(); ++i) {
                wsprintfA(item, "%s%lu", i ? "," : "(", static_cast<unsigned long>(r.input[i]));
                log += item;
            }
            if (!r.input.empty()) log += ")";
        }
        return log;
    }

private:
    bool open_ = false;
};

#endif
