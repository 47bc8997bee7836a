// Both drivers, as shipped (i686) and as tested under 64-bit Wine (x86_64),
// keep the kernel's placement rules in their machine code.
#include <gtest/gtest.h>

#include <filesystem>

#include "kernel_placement.h"

namespace fs = std::filesystem;

namespace {

const fs::path kRoot(KV_SOURCE_DIR);
const fs::path kDrivers[] = {
    kRoot / "out/package/en-US/kvusb.sys",
    kRoot / "out/package/en-US/kvfilt.sys",
    kRoot / "build/win64/driver/kvusb/kvusb.sys",
    kRoot / "build/win64/driver/kvfilt/kvfilt.sys",
};

TEST(KernelPlacement, PagedAndInitCodeNeverRaisesTheIrqlNorIsCalledFromResidentCode) {
    for (const fs::path& driver : kDrivers) {
        kvtest::PlacementReport report;
        std::string error;
        ASSERT_TRUE(kvtest::CheckKernelPlacement(driver.string(), &report, &error)) << error;
        // A disassembly that resolved no imports would pass vacuously.
        EXPECT_GT(report.importCalls, 10u) << driver;
        for (const std::string& violation : report.violations) ADD_FAILURE() << driver << ": " << violation;
        if (driver.filename() == "kvusb.sys") {
            EXPECT_GT(report.raisingCalls, 0u) << driver << ": the state lock was not found";
            EXPECT_GT(report.tailReleases, 0u) << driver << ": the ending DPC's release was not found";
        }
    }
}

}  // namespace
