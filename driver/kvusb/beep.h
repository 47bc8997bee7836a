// The touch beep: the system speaker through the HAL, ended by a timer.
#pragma once
#include "filter_extension.h"

#include "ports.h"

// Sets up the driver-wide timer and DPC; before anything can beep.
void InitializeBeep();

// Cancels a pending end of tone, waits out an ending DPC already queued or
// running, and silences the speaker (unload).
void StopBeep();

// Starts the tone now and sets the timer that ends it.
void StartBeepNow(uint32_t frequencyHz, uint32_t durationMs);

// The core's view of the speaker while the state lock is held: the beep
// is noted and started by Flush once the lock is released, so no HAL or
// timer call runs under our spin lock.
class DeferredBeep final : public kv::BeepPort {
public:
    void StartBeep(uint32_t frequencyHz, uint32_t durationMs) override {
        pending_ = true;
        frequency_ = frequencyHz;
        duration_ = durationMs;
    }
    void Flush() {
        if (pending_) StartBeepNow(frequency_, duration_);
        pending_ = false;
    }

private:
    bool pending_ = false;
    uint32_t frequency_ = 0;
    uint32_t duration_ = 0;
};
