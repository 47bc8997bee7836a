// What the package's programs may change on the system, read into one
// comparable table: the registry keys of its services, class filters,
// device nodes and RunOnce, and the files of its folders. Two snapshots
// compared give what a run changed, like a registry export and a file
// listing before and after.
#pragma once

#include <map>
#include <set>
#include <string>

// Entry name ("HKLM\<key>\<value>" or "FILE <path>") to its type and data.
using SystemSnapshot = std::map<std::string, std::string>;

SystemSnapshot TakeSystemSnapshot();

// The entry names that were added, removed or changed from `before` to
// `after`.
std::set<std::string> ChangedEntries(const SystemSnapshot& before, const SystemSnapshot& after);
