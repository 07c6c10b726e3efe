// The benchmark program: every figure of the frame's cost, printed as Google
// Benchmark prints it and then once more as a ratio to one 256 x 256 image
// copy measured in the same run, with the budgets checked on those ratios.
//
// Exit status 0 when every budget holds, 1 when one is missed, 2 when the
// demo could not start.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "bench.h"
#include "demo/zolt7707.h"
#include "platform/fps.h"

namespace {

// Budgets, as ratios to the image copy, and the start-up budget in milliseconds.
constexpr double partBudget = 20;
constexpr double blurredPartBudget = 40;
constexpr double startupBudgetMs = 150;
// The capture of a whole cycle without pictures, as a multiple of real time.
constexpr double captureBudgetSpeed = 300;

// Virtual frame clock: every tick one whole frame period later, so the timer
// measures exactly the target rate and never asks for a sleep.
uint32_t virtualMicroseconds = 0;
uint32_t VirtualClock()
{
    virtualMicroseconds += 1000000u / static_cast<uint32_t>(targetFps > 0 ? targetFps : 1);
    return virtualMicroseconds;
}
void NoSleep(uint32_t) {}
void NoExit(int) {}

// Passes everything on to the console and keeps each benchmark's figure: the
// median when repetitions ran, else the single run.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run &run : runs) {
            if (run.error_occurred) {
                failed_.push_back(run.run_name.function_name);
                continue;
            }
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            const bool single = run.run_type == Run::RT_Iteration && run.repetitions <= 1;
            if (median || single) {
                const std::string name = run.run_name.function_name;
                if (figures_.find(name) == figures_.end()) {
                    order_.push_back(name);
                }
                figures_[name] = run.GetAdjustedRealTime() * 1e9 / benchmark::GetTimeUnitMultiplier(run.time_unit);
                if (auto it = run.counters.find("first_picture_ms"); it != run.counters.end()) {
                    firstPictureMs_ = it->second.value;
                }
            }
        }
    }

    // Prints the ratio table and the budgets; false when a budget is missed.
    bool Summary() const
    {
        const auto unit = figures_.find(unitBenchmark);
        if (unit == figures_.end() || unit->second <= 0) {
            std::printf("\nNo image copy was measured: no ratios.\n");
            return failed_.empty();
        }
        const double copyNs = unit->second;
        bool met = failed_.empty();
        std::printf("\n%-32s %14s %10s %10s  %s\n", "figure (median)", "time", "copies", "budget", "");
        for (const std::string &name : order_) {
            const double ns = figures_.at(name);
            const double ratio = ns / copyNs;
            std::string budget = "", verdict = "";
            if (name.rfind("Part/", 0) == 0) {
                const bool blurred = name.size() > 5 && name.compare(name.size() - 5, 5, "_blur") == 0;
                const double limit = blurred ? blurredPartBudget : partBudget;
                budget = "<= " + std::to_string(static_cast<int>(limit));
                verdict = ratio <= limit ? "ok" : "MISSED";
                met = met && ratio <= limit;
            } else if (name.rfind("Startup/", 0) == 0) {
                budget = "<= " + std::to_string(static_cast<int>(startupBudgetMs)) + " ms";
                verdict = ns * 1e-6 <= startupBudgetMs ? "ok" : "MISSED";
                met = met && ns * 1e-6 <= startupBudgetMs;
            } else if (name.rfind("Capture/", 0) == 0) {
                // Here the figure that counts is the demo time captured per second taken.
                const double speed = captureCycleSeconds / (ns * 1e-9);
                verdict = std::to_string(static_cast<int>(speed)) + " x real time";
                if (name == "Capture/Cycle_none") {
                    budget = ">= " + std::to_string(static_cast<int>(captureBudgetSpeed)) + " x";
                    verdict += speed >= captureBudgetSpeed ? " ok" : " MISSED";
                    met = met && speed >= captureBudgetSpeed;
                }
            }
            std::printf("%-32s %11.3f us %10.2f %10s  %s\n", name.c_str(), ns * 1e-3, ratio, budget.c_str(),
                        verdict.c_str());
        }
        if (firstPictureMs_ >= 0) {
            std::printf("%-32s %11.3f ms\n", "Startup/FirstPicture", firstPictureMs_);
        }
        for (const std::string &name : failed_) {
            std::printf("%-32s failed to run\n", name.c_str());
        }
        std::printf("\nBudgets: %s\n", met ? "all met" : "NOT all met");
        return met;
    }

private:
    std::map<std::string, double> figures_;
    std::vector<std::string> order_;
    std::vector<std::string> failed_;
    double firstPictureMs_ = -1;
};

}  // namespace

void BenchDemoStart()
{
    ZOLT7707Platform platform{};
    platform.present = [](const IMG *image) {
        if (benchPresent != nullptr) benchPresent(image);
    };
    platform.key = [] { return int8_t{0}; };
    platform.clock = VirtualClock;
    platform.sleep = NoSleep;
    platform.exit = NoExit;
    platform.release = [] {};
    ZOLT7707Init(platform);
    ZOLT7707SceneInit();
}

int main(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 2;
    }
    BenchDemoStart();
    RegisterPieceBenchmarks();
    RegisterPartBenchmarks();
    RegisterStartupBenchmarks();
    RegisterCaptureBenchmarks();
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const bool met = reporter.Summary();
    benchmark::Shutdown();
    return met ? 0 : 1;
}
