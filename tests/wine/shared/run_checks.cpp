// What every Wine test program checks about its own run, whichever main it
// has: a run started as on another system (KV_CODE_PAGE, the code page its
// locale must give) runs there or fails, and a run whose every case skipped
// ends with the skip code (77) rather than passing.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

namespace {

class RunChecks : public testing::Environment {
public:
    void SetUp() override {
        const char* wanted = std::getenv("KV_CODE_PAGE");
        if (!wanted) return;
        ASSERT_EQ(GetACP(), std::strtoul(wanted, nullptr, 10)) << "the run's locale did not take effect";
    }

    void TearDown() override {
        const testing::UnitTest& run = *testing::UnitTest::GetInstance();
        if (run.successful_test_count() > 0 || run.failed_test_count() > 0 || run.skipped_test_count() == 0) return;
        std::printf("every case of this run skipped: reported as skipped\n");
        std::fflush(stdout);
        std::exit(77);
    }
};

const bool kRegistered = (testing::AddGlobalTestEnvironment(new RunChecks), true);

}  // namespace
