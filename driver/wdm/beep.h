// The touch beep: the system speaker through the HAL, ended by a timer.
#pragma once
#include "filter_extension.h"

#include "ports.h"

// Sets up the driver-wide timer and DPC; before anything can beep.
void InitializeBeep();

// Cancels a pending end of tone and silences the speaker (unload).
void StopBeep();

// The core's view of the speaker.
class SpeakerBeep : public kv::BeepPort {
public:
    void StartBeep(uint32_t frequencyHz, uint32_t durationMs) override;
};
