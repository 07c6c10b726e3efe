// The main of every GoogleTest program of the suite. Besides GoogleTest's own
// report, each case skipped inside a program prints the suite's skip line,
// "SKIPPED: <program> <case>: <reason>.", which scripts/run-tests lists at its
// end; and a program whose every case skipped ends with status 77, which CTest
// counts as skipped.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <utility>

namespace {

class SkipLines : public testing::EmptyTestEventListener {
public:
    explicit SkipLines(std::string program) : program(std::move(program)) {}

    void OnTestEnd(const testing::TestInfo &test) override
    {
        const testing::TestResult &result = *test.result();
        for (int i = 0; i < result.total_part_count(); ++i) {
            const testing::TestPartResult &part = result.GetTestPartResult(i);
            if (!part.skipped()) continue;
            // The reason's first line; GoogleTest may put more after it.
            const std::string reason(part.message(), std::strcspn(part.message(), "\n"));
            std::printf("SKIPPED: %s %s.%s: %s.\n", program.c_str(), test.test_suite_name(), test.name(),
                        reason.empty() ? "no reason given" : reason.c_str());
        }
        std::fflush(stdout);
    }

private:
    std::string program;
};

}  // namespace

int main(int argc, char **argv)
{
    testing::InitGoogleTest(&argc, argv);
    const char *slash = std::strrchr(argv[0], '/');
    testing::UnitTest &unit = *testing::UnitTest::GetInstance();
    unit.listeners().Append(new SkipLines(slash != nullptr ? slash + 1 : argv[0]));
    const int status = RUN_ALL_TESTS();
    if (status == 0 && unit.skipped_test_count() > 0 && unit.skipped_test_count() == unit.test_to_run_count()) {
        return 77;
    }
    return status;
}
