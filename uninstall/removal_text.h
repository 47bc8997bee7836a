// The self-removal batch the uninstaller writes. Pure, so the host tests it.
#pragma once

#include <string>

// The batch that removes `programFolder` once the uninstaller has exited:
// it changes to its own folder first, retries a bounded number of times, a
// second apart, then deletes itself. "" for an empty folder (never a
// removal at a drive's root).
std::string SelfDeleteBatchText(const std::string& programFolder);
