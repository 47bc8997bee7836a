// How the programs keep settings in the driver's Parameters key: they write
// the key themselves and, when it refuses them (a user who may not write
// it), hand the same values to the driver to store
// (IOCTL_POINTER_STORE_SETTINGS).
#ifndef KV_COMMON_PARAMETERS_STORE_H
#define KV_COMMON_PARAMETERS_STORE_H

#include <windows.h>

#include <stddef.h>

#include "control_device.h"
#include "kvshared.h"

namespace kv {

// The registry name of a value the driver may store.
const char* StoredValueName(KvStoredValueId id);

class ParametersStore {
public:
    // Adds a value, in the order the program writes them.
    void Add(KvStoredValueId id, uint32_t value);

    // Writes the values as REG_DWORDs into ROOT\KEY, which is opened for
    // setting values and never created; when it cannot be opened or refuses
    // a value, asks DEVICE to store them all. False when both fail.
    bool Save(HKEY root, const char* key, ControlDevice& device) const;

private:
    bool WriteKey(HKEY root, const char* key) const;
    bool AskDriver(ControlDevice& device) const;

    KvStoredValueId ids_[KV_STORED_VALUE_COUNT] = {};
    uint32_t values_[KV_STORED_VALUE_COUNT] = {};
    size_t count_ = 0;
};

}  // namespace kv

#endif
