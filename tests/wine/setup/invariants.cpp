// The invariants read from the prefix.
#include "invariants.h"

#include <set>

#include "device_search.h"
#include "gui_wait.h"
#include "multi_string.h"
#include "package_fixture.h"
#include "package_names.h"

namespace {

// The driver file a service loads, resolved as the I/O manager does: no
// ImagePath means system32\drivers\<service>.sys, a relative one starts at
// the Windows folder.
bool DriverPresent(const std::string& service) {
    const kvtest::RegKey key = MachineKey(KV_SERVICES_KEY "\\" + service);
    const std::string image = key.Text("ImagePath");
    if (image.empty()) return key.Exists() && FileExists(SystemFolder() + "\\drivers\\" + service + ".sys");
    const size_t root = image.find("\\SystemRoot\\") == 0 ? 12 : 0;
    return FileExists(image.find(':') == 1 ? image : WindowsFolder() + "\\" + image.substr(root));
}

void Check(const std::string& where, const std::vector<std::string>& entries, std::vector<std::string>& dangling) {
    for (const std::string& entry : entries) {
        if (!DriverPresent(entry)) dangling.push_back(where + ": " + entry);
    }
}

}  // namespace

std::vector<std::string> DanglingFilters() {
    std::vector<std::string> dangling;
    for (const char* classKey : {KV_MOUSE_CLASS_KEY, KV_HID_CLASS_KEY}) {
        for (const char* list : {KV_UPPER_FILTERS, KV_LOWER_FILTERS}) {
            Check(std::string(classKey) + " " + list, MachineKey(classKey).List(list), dangling);
        }
    }
    for (const std::string& id : {std::string(KV_CONTROLLER_HARDWARE_ID), std::string("HID\\VID_7A4E&PID_0001")}) {
        DeviceSearch nodes(DeviceNodes::PresentOrNot);
        while (nodes.Find(id) == ERROR_SUCCESS) {
            for (DWORD list : {SPDRP_UPPERFILTERS, SPDRP_LOWERFILTERS}) {
                std::vector<char> data;
                DWORD size = 0;
                ReadDeviceProperty(nodes.Devices(), nodes.Device(), list, data, size);
                Check(nodes.InstanceId(), SplitMultiString(data.data(), size), dangling);
            }
        }
    }
    return dangling;
}

namespace {

struct Watch {
    HANDLE stop;
    std::vector<std::wstring> seen;
};

DWORD WINAPI AnswerMessages(LPVOID data) {
    Watch& watch = *static_cast<Watch*>(data);
    std::set<HWND> answered;
    while (WaitForSingleObject(watch.stop, 50) == WAIT_TIMEOUT) {
        // A box may be found before its text is in place.
        HWND box = kvtest::FirstWindow([&](HWND window) {
            DWORD process = 0;
            GetWindowThreadProcessId(window, &process);
            return process == GetCurrentProcessId() && IsWindowVisible(window) && !answered.count(window) &&
                   !kvtest::WideDialogItemText(window, 0xFFFF).empty();
        });
        if (!box) continue;
        answered.insert(box);
        watch.seen.push_back(kvtest::WideDialogItemText(box, 0xFFFF));
        PostMessageA(box, WM_COMMAND, GetDlgItem(box, IDYES) ? IDYES : IDOK, 0);
    }
    return 0;
}

}  // namespace

std::vector<std::wstring> MessagesOf(const std::function<void()>& work) {
    Watch watch = {CreateEventA(nullptr, TRUE, FALSE, nullptr), {}};
    const HANDLE thread = CreateThread(nullptr, 0, AnswerMessages, &watch, 0, nullptr);
    work();
    SetEvent(watch.stop);
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    CloseHandle(watch.stop);
    return watch.seen;
}
