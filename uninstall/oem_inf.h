// Deletion of an INF that the system copied into its INF folder.
#pragma once

#include <string>

// Removes `infName` (an "oemN.inf" name) from the system's INF folder:
// through pnputil where the system has it, else the INF and its
// precompiled file directly. An empty or non-OEM name changes nothing.
void DeleteOemInf(const std::string& infName);
