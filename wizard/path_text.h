// Path and id text of the package, built in the 260-character limit the
// file functions have.
#pragma once

#include <string>

constexpr size_t kMaxPathChars = 260;  // MAX_PATH, terminating zero included

// The folder of `path` with its trailing backslash ("" when it has none).
std::string FolderOf(const std::string& path);

// The HID child's hardware id: the controller id with "HID" in place of its
// first three characters ("" for an id shorter than that).
std::string HidChildId(const std::string& controllerId);

// `base` followed by `tail`, or "" when base is empty (an unknown folder
// must not turn into a path at the root of the current drive) or when the
// result would not fit kMaxPathChars. The wide one for the names the
// editions give in UTF-16 (the Start-menu links).
std::string JoinUnder(const std::string& base, const std::string& tail);
std::wstring JoinUnder(const std::wstring& base, const std::wstring& tail);

// A command line that runs exactly `program`, even when its path holds blanks.
std::string QuotedCommand(const std::string& program);

// Whether `infName` is an INF the system made a copy of ("oem" followed by
// more), never a system INF such as input.inf.
bool IsOemInfName(const std::string& infName);

// The precompiled INF's name of `infName`: "oem12.inf" gives "oem12.PNF".
std::string PrecompiledInfName(const std::string& infName);
