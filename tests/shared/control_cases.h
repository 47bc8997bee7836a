// Control-code cases that the host runs against the driver core and the
// Wine layer against the real kvusb.sys, so both prove the same thing.
#pragma once
#include <stdint.h>

#include "kvshared.h"

namespace kvtest {

// A buffer one byte short of what the code needs: the driver fails the
// request as too small, returns no data and changes nothing.
struct ShortBufferCase {
    const char* what;
    uint32_t code;
    uint32_t inputLength;
    uint32_t outputLength;
};

inline constexpr ShortBufferCase kShortBufferCases[] = {
    {"capture record into 11 bytes", IOCTL_POINTER_GET_CAPTURE, 0, 11},
    {"button mode into 3 bytes", IOCTL_POINTER_TAKE_BUTTON_MODE, 0, 3},
    {"mouse mode into 3 bytes", IOCTL_POINTER_GET_MOUSE_MODE, 0, 3},
    {"screen position into 3 bytes", IOCTL_POINTER_GET_SCREEN_POS, 0, 3},
    {"beep record into 19 bytes", IOCTL_POINTER_GET_BEEP, 0, 19},
    {"echo into 11 bytes", IOCTL_POINTER_ECHO, 12, 11},
    {"echo of 11 bytes", IOCTL_POINTER_ECHO, 11, 12},
    {"calibration block of 23 bytes", IOCTL_POINTER_SET_CALIBRATION, 23, 0},
    {"beep block of 19 bytes", IOCTL_POINTER_SET_BEEP, 19, 0},
    {"button arm of 3 bytes", IOCTL_POINTER_ARM_BUTTON_MODE, 3, 0},
    {"screen position of 3 bytes", IOCTL_POINTER_SET_SCREEN_POS, 3, 0},
    {"device mode of 3 bytes, whatever the output", IOCTL_POINTER_SET_DEVICE_MODE, 3, 8},
};

// A report longer than any the controller takes (the calibration block is
// the longest record): refused as an invalid parameter, nothing sent, nothing
// changed.
inline constexpr ShortBufferCase kOversizedReportCases[] = {
    {"report of 25 bytes", IOCTL_POINTER_SET_REPORT, 2, 25},
    {"device mode with a report of 25 bytes", IOCTL_POINTER_SET_DEVICE_MODE, 4, 25},
};

// A beep request keeps a tone and duration on the driver's bounds and puts
// the fallbacks in place of values outside them.
struct BeepBoundCase {
    uint32_t freq, time, wantFreq, wantTime;
};

inline constexpr BeepBoundCase kBeepBoundCases[] = {
    {KV_BEEP_FREQ_MIN - 900, KV_BEEP_TIME_MAX + 250, KV_BEEP_FREQ_FALLBACK, KV_BEEP_TIME_FALLBACK},
    {KV_BEEP_FREQ_MIN, KV_BEEP_TIME_MAX, KV_BEEP_FREQ_MIN, KV_BEEP_TIME_MAX},
    {KV_BEEP_FREQ_MAX + 1, KV_BEEP_TIME_MIN - 1, KV_BEEP_FREQ_FALLBACK, KV_BEEP_TIME_FALLBACK},
    {KV_BEEP_FREQ_MAX, KV_BEEP_TIME_MIN, KV_BEEP_FREQ_MAX, KV_BEEP_TIME_MIN},
};

// A settings store: only a whole record naming none but the known values
// reaches the registry; anything else is an invalid parameter and writes
// nothing. Value i of the record is 100 + i (StoreWords).
struct StoreCase {
    const char* what;
    uint32_t inputLength, present;
    bool stored;
};

inline constexpr StoreCase kStoreCases[] = {
    {"every value", sizeof(StoredSettings), KV_STORED_PRESENT_ALL, true},
    {"the calibration program's seven", sizeof(StoredSettings), 0x7F, true},
    {"a word short", sizeof(StoredSettings) - 4, 0x7F, false},
    {"a byte long", sizeof(StoredSettings) + 1, 0x7F, false},
    {"a value beyond the known ones", sizeof(StoredSettings), 1u << KV_STORED_VALUE_COUNT, false},
    {"the top bit", sizeof(StoredSettings), 0x80000000u, false},
};

inline constexpr uint32_t kStoredValueBase = 100;

// The record's words: Present, then value i as kStoredValueBase + i.
template <typename Words>
Words StoreWords(uint32_t present) {
    Words words{present};
    for (uint32_t i = 0; i < KV_STORED_VALUE_COUNT; ++i) words.push_back(kStoredValueBase + i);
    return words;
}

}  // namespace kvtest
