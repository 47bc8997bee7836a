// Storing a confirmed calibration; see calibration_store.h.
#include "calibration_store.h"

#include "kvshared.h"
#include "parameters_store.h"

namespace kvcal {

bool StoreCalibration(const CalibrationRecord& record, kv::ControlDevice& device) {
    kv::ParametersStore store;
    store.Add(KV_STORED_XHigh, static_cast<uint32_t>(record.XHigh));
    store.Add(KV_STORED_XLow, static_cast<uint32_t>(record.XLow));
    store.Add(KV_STORED_YHigh, static_cast<uint32_t>(record.YHigh));
    store.Add(KV_STORED_YLow, static_cast<uint32_t>(record.YLow));
    store.Add(KV_STORED_XOffset, 0);
    store.Add(KV_STORED_YOffset, 0);
    store.Add(KV_STORED_PortaitScreen, 0);
    return store.Save(HKEY_LOCAL_MACHINE, KV_PARAMETERS_KEY, device);
}

}  // namespace kvcal
