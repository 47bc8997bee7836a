// Text the uninstaller builds: the self-removal batch and the names of the
// package's INF files. Pure, so the host tests it.
#pragma once

#include <string>

// The batch that removes `programFolder` once the uninstaller has exited:
// it changes to its own folder first, retries a bounded number of times, a
// second apart, then deletes itself. "" for an empty folder (never a
// removal at a drive's root).
std::string SelfDeleteBatchText(const std::string& programFolder);

// Whether `infName` is an INF the system made a copy of for us ("oem"
// followed by more), never a system INF such as input.inf.
bool IsOemInfName(const std::string& infName);

// The precompiled INF's name of `infName`: "oem12.inf" gives "oem12.PNF".
std::string PrecompiledInfName(const std::string& infName);
