// The capture tool over one whole cycle of the demo (7502 frames, 300.08 s of
// demo time): with no pictures written, with the hash of every frame, and
// with every frame as PNG. Each figure is the wall time of one run of the
// tool; the summary also gives it as a multiple of the demo time captured.
#include <benchmark/benchmark.h>

#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "bench.h"

extern char **environ;

namespace {

// One run of the tool with these options, its output in a fresh folder that
// is removed afterwards. The seconds it took, or a negative number.
double CaptureOnce(const std::vector<std::string> &options)
{
    char folder[] = "/tmp/zolt_bench_capture.XXXXXX";
    if (mkdtemp(folder) == nullptr) {
        return -1;
    }
    std::vector<std::string> arguments = {
        ZOLT_BENCH_CAPTURE, "--frames", std::to_string(captureCycleFrames), "--out", folder, "--quiet"};
    for (const std::string &option : options) {
        arguments.push_back(option == "HASHES" ? std::string(folder) + "/hashes.txt" : option);
    }
    std::vector<char *> argv;
    for (std::string &argument : arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    const auto start = std::chrono::steady_clock::now();
    pid_t child = 0;
    int status = -1;
    if (posix_spawn(&child, argv[0], nullptr, nullptr, argv.data(), environ) == 0) {
        waitpid(child, &status, 0);
    }
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? took.count() : -1;
}

void Capture(benchmark::State &state, std::vector<std::string> options)
{
    for (auto _ : state) {
        const double seconds = CaptureOnce(options);
        if (seconds < 0) {
            state.SkipWithError("the capture tool failed");
            break;
        }
        state.SetIterationTime(seconds);
    }
}

}  // namespace

void RegisterCaptureBenchmarks()
{
    const struct {
        const char *name;
        std::vector<std::string> options;
    } runs[] = {
        {"Capture/Cycle_none", {"--write", "none"}},
        {"Capture/Cycle_hashes", {"--write", "none", "--hashes", "HASHES"}},
        {"Capture/Cycle_png", {"--write", "all"}},
    };
    for (const auto &run : runs) {
        benchmark::RegisterBenchmark(run.name, Capture, run.options)
            ->UseManualTime()
            ->Iterations(1)
            ->Unit(benchmark::kMillisecond);
    }
}
