// Storing a confirmed calibration; see calibration_store.h.
#include "calibration_store.h"

#include <windows.h>

#include "kvshared.h"

namespace kvcal {

bool StoreCalibration(const CalibrationRecord& record) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, KV_PARAMETERS_KEY, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return false;
    const struct {
        const char* name;
        int32_t value;
    } values[] = {
        {KV_VALUE_NAME(XHigh), record.XHigh}, {KV_VALUE_NAME(XLow), record.XLow},
        {KV_VALUE_NAME(YHigh), record.YHigh}, {KV_VALUE_NAME(YLow), record.YLow},
        {KV_VALUE_NAME_XOffset, 0},           {KV_VALUE_NAME(YOffset), 0},
        {KV_VALUE_NAME(PortaitScreen), 0},
    };
    bool stored = true;
    for (const auto& v : values) {
        const DWORD data = static_cast<DWORD>(v.value);
        stored = RegSetValueExA(key, v.name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data), sizeof data) ==
                     ERROR_SUCCESS &&
                 stored;
    }
    RegCloseKey(key);
    return stored;
}

}  // namespace kvcal
