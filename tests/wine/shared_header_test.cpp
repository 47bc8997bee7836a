// The shared header as a 32-bit Windows program sees it: record layout,
// control codes as winioctl.h builds them, and value names that round-trip
// through the registry.
#include <windows.h>
#include <winioctl.h>

#include <cstddef>

#include <gtest/gtest.h>

#include "kvshared.h"

namespace {

TEST(SharedHeader, RecordLayout) {
    EXPECT_EQ(sizeof(CalibrationBlock), 24u);
    EXPECT_EQ(offsetof(CalibrationBlock, XHigh), 8u);
    EXPECT_EQ(offsetof(CalibrationBlock, YOffset), 20u);
    EXPECT_EQ(sizeof(BeepSettings), 20u);
    EXPECT_EQ(offsetof(BeepSettings, BeepTime), 8u);
    EXPECT_EQ(offsetof(BeepSettings, BeepTime2), 16u);
    EXPECT_EQ(sizeof(CaptureRecord), 12u);
    EXPECT_EQ(offsetof(CaptureRecord, Y), 8u);
    EXPECT_EQ(offsetof(StoredSettings, Value[KV_STORED_RBNDelay]), 56u);
}

// Device type 0x000F is the system's FILE_DEVICE_MOUSE.
TEST(SharedHeader, ControlCodesMatchTheSystemMacro) {
    struct Case { DWORD ours, system; } cases[] = {
        {IOCTL_POINTER_TAKE_BUTTON_MODE, CTL_CODE(FILE_DEVICE_MOUSE, 0x900, METHOD_BUFFERED, FILE_ANY_ACCESS)},
        {IOCTL_POINTER_GET_CAPTURE, 0xF2408},
        {IOCTL_POINTER_SET_BEEP, 0xF2640},
        {IOCTL_POINTER_GET_BEEP, 0xF2644},
        {IOCTL_POINTER_SET_DEVICE_MODE, 0xF2648},
        {IOCTL_POINTER_RELOAD_SETTINGS_QUIET, CTL_CODE(FILE_DEVICE_MOUSE, 0x9A4, METHOD_BUFFERED, FILE_ANY_ACCESS)},
        {IOCTL_POINTER_STORE_SETTINGS, CTL_CODE(FILE_DEVICE_MOUSE, 0x9A5, METHOD_BUFFERED, FILE_WRITE_ACCESS)},
        {IOCTL_POINTER_STORE_SETTINGS, 0x000FA694},
    };
    for (const Case& c : cases) EXPECT_EQ(c.ours, c.system);
}

TEST(SharedHeader, ValueNamesRoundTripThroughTheRegistry) {
    static const char* const names[] = {
#define KV_NAME(name) #name,
        KV_FOR_EACH_DRIVER_VALUE(KV_NAME)
#undef KV_NAME
    };
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, KV_PARAMETERS_KEY, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                              nullptr),
              ERROR_SUCCESS);
    for (DWORD i = 0; i < KV_DRIVER_VALUE_COUNT; ++i) {
        const DWORD value = 1000 + i;
        ASSERT_EQ(RegSetValueExA(key, names[i], 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), 4), ERROR_SUCCESS);
    }
    for (DWORD i = 0; i < KV_DRIVER_VALUE_COUNT; ++i) {
        DWORD value = 0, type = 0, size = sizeof value;
        ASSERT_EQ(RegQueryValueExA(key, names[i], nullptr, &type, reinterpret_cast<BYTE*>(&value), &size), ERROR_SUCCESS)
            << names[i];
        EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
        EXPECT_EQ(value, 1000 + i) << names[i];
        RegDeleteValueA(key, names[i]);
    }
    RegCloseKey(key);
}

}  // namespace
