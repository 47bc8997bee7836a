// Deletion of an INF that the system copied into its INF folder.
#pragma once

#include <string>

// Removes `infName` (an "oemN.inf" name) from the system's INF folder when
// it is a copy of one of the package's INF files in `packageFolder`
// (package_inf_copies.h), never another maker's:
// through pnputil where the system has it, else the INF and its
// precompiled file directly. An empty or non-OEM name changes nothing.
void DeleteOemInf(const std::string& infName, const std::string& packageFolder);
