// Writing the Parameters key, with the driver as the way around a refusal.
#include "parameters_store.h"

namespace kv {

namespace {

const char* const kStoredNames[KV_STORED_VALUE_COUNT] = {KV_FOR_EACH_STORED_VALUE(KV_VALUE_NAME_ITEM)};

}  // namespace

const char* StoredValueName(KvStoredValueId id) { return kStoredNames[id]; }

void ParametersStore::Add(KvStoredValueId id, uint32_t value) {
    if (count_ == KV_STORED_VALUE_COUNT) return;
    ids_[count_] = id;
    values_[count_] = value;
    ++count_;
}

bool ParametersStore::Save(HKEY root, const char* key, ControlDevice& device) const {
    return WriteKey(root, key) || AskDriver(device);
}

bool ParametersStore::WriteKey(HKEY root, const char* key) const {
    HKEY opened = nullptr;
    if (RegOpenKeyExA(root, key, 0, KEY_SET_VALUE, &opened) != ERROR_SUCCESS) return false;
    bool written = true;
    for (size_t i = 0; i < count_; ++i) {
        const DWORD data = values_[i];
        written = RegSetValueExA(opened, StoredValueName(ids_[i]), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data),
                                 sizeof data) == ERROR_SUCCESS &&
                  written;
    }
    RegCloseKey(opened);
    return written;
}

// The driver writes in its own fixed order; each value keeps its name.
bool ParametersStore::AskDriver(ControlDevice& device) const {
    StoredSettings record = {};
    for (size_t i = 0; i < count_; ++i) {
        record.Present |= 1u << ids_[i];
        record.Value[ids_[i]] = values_[i];
    }
    return device.Send(IOCTL_POINTER_STORE_SETTINGS, &record, sizeof record);
}

}  // namespace kv
