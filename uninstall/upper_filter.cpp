// Removal of the companion filter from the mouse class.
#include "upper_filter.h"

#include "multi_string.h"
#include "package_names.h"
#include "registry_text.h"

namespace {

LONG RewriteFilterListWithout(HKEY root, const char* keyPath, const char* valueName, const char* entry) {
    HKEY key = nullptr;
    LONG status = RegOpenKeyExA(root, keyPath, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, &key);
    if (status != ERROR_SUCCESS) return status;
    StringList entries;
    bool present = false;
    status = ReadMultiStringValue(key, valueName, entries, present);
    if (status == ERROR_SUCCESS) {
        RemoveEntry(entries, entry);
        status = WriteMultiStringValue(key, valueName, entries);
    }
    RegCloseKey(key);
    return status;
}

}  // namespace

LONG RemoveMouseUpperFilter() {
    return RewriteFilterListWithout(HKEY_LOCAL_MACHINE, KV_MOUSE_CLASS_KEY, KV_UPPER_FILTERS,
                                    KV_FILTER_FILTER_ENTRY);
}
