// The promises every run of setup or uninst keeps, whatever its outcome,
// read from the prefix: no filter list names a missing driver, and the
// user is told of every outcome but plain success. (That a failed install
// changes nothing and an uninstall leaves only what was there before are
// snapshot comparisons, system_snapshot.h.)
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Each entry of a filter list whose service key or driver file is missing,
// as "<list>: <entry>": the mouse and HID class lists and the own lists of
// every node of the controller and of its HID child, present or not. Windows
// starts no device of a class, or no such node, while one of these is left.
std::vector<std::string> DanglingFilters();

// The message boxes this process shows while the object lives, answered as
// a user who reads them: Yes where a question is asked, else OK.
class MessageWatcher {
public:
    MessageWatcher();
    ~MessageWatcher();
    MessageWatcher(const MessageWatcher&) = delete;
    MessageWatcher& operator=(const MessageWatcher&) = delete;

    // Stops watching; the texts seen, in order.
    std::vector<std::string> Seen();

private:
    static DWORD WINAPI Watch(LPVOID self);
    HANDLE stop_;
    HANDLE thread_;
    std::vector<std::string> seen_;
};
