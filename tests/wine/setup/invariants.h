// The promises every run of setup or uninst keeps, whatever its outcome, as
// read from the prefix (the snapshot comparisons are system_snapshot.h's).
#pragma once

#include <functional>
#include <string>
#include <vector>

// Each entry of a filter list whose service or driver file is missing, as
// "<list>: <entry>": the mouse and HID class lists and the own lists of
// every node of the controller and its HID child, present or not. Windows
// starts no device of such a class, or no such node.
std::vector<std::string> DanglingFilters();

// Runs `work` while the message boxes it shows are answered as a reader
// answers them (Yes to a question, else OK); their texts, in order.
std::vector<std::wstring> MessagesOf(const std::function<void()>& work);
