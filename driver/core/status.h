// Status values the core hands back to the WDM frame (NTSTATUS numbers).
#pragma once
#include <stdint.h>

namespace kv {

using Status = int32_t;

constexpr Status kStatusSuccess = 0;
constexpr Status kStatusUnsuccessful = static_cast<Status>(0xC0000001u);
constexpr Status kStatusNotImplemented = static_cast<Status>(0xC0000002u);
constexpr Status kStatusInvalidParameter = static_cast<Status>(0xC000000Du);
constexpr Status kStatusInvalidDeviceRequest = static_cast<Status>(0xC0000010u);
constexpr Status kStatusBufferTooSmall = static_cast<Status>(0xC0000023u);
constexpr Status kStatusNoPoolForPath = static_cast<Status>(0xC0000099u);

inline bool IsSuccess(Status status) { return status >= 0; }

}  // namespace kv
