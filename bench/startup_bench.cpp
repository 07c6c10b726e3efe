// Start of the real windowed program to its first presented pictures: the
// program is started with the presentation counter of firstframe.cpp
// preloaded, on SDL's dummy drivers, and reports back through a pipe.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "bench.h"

extern char **environ;

namespace {

// The quit fade-out's 32 pictures open the first part; picture 33 is its first frame.
constexpr int32_t firstPartFramePicture = 33;
constexpr int waitLimitMs = 20000;

int64_t Now()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return int64_t{now.tv_sec} * 1000000000 + now.tv_nsec;
}

// One start of the program: the nanoseconds to its first picture and to its
// first part frame, or false with a reason.
bool StartOnce(int64_t &firstPicture, int64_t &firstFrame, std::string &why)
{
    int fds[2];
    if (pipe(fds) != 0) {
        why = "no pipe";
        return false;
    }
    std::vector<std::string> settings;
    for (char **entry = environ; *entry != nullptr; ++entry) {
        const std::string text = *entry;
        if (text.rfind("SDL_VIDEODRIVER=", 0) != 0 && text.rfind("SDL_AUDIODRIVER=", 0) != 0 &&
            text.rfind("LD_PRELOAD=", 0) != 0) {
            settings.push_back(text);
        }
    }
    settings.push_back("SDL_VIDEODRIVER=dummy");
    settings.push_back("SDL_AUDIODRIVER=dummy");
    settings.push_back(std::string("LD_PRELOAD=") + ZOLT_BENCH_SHIM);
    settings.push_back("ZOLT_FIRSTFRAME_FD=" + std::to_string(fds[1]));
    settings.push_back("ZOLT_FIRSTFRAME_AT=" + std::to_string(firstPartFramePicture));
    const int64_t start = Now();
    settings.push_back("ZOLT_FIRSTFRAME_T0=" + std::to_string(start));
    std::vector<char *> env;
    for (std::string &s : settings) {
        env.push_back(s.data());
    }
    env.push_back(nullptr);
    std::string program = ZOLT_BENCH_PROGRAM;
    char *argv[] = {program.data(), nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    pid_t child = 0;
    const int spawned = posix_spawn(&child, program.c_str(), &actions, nullptr, argv, env.data());
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    if (spawned != 0) {
        close(fds[0]);
        why = "cannot start " + program;
        return false;
    }
    std::string reply;
    pollfd wait{fds[0], POLLIN, 0};
    char buffer[128];
    while (poll(&wait, 1, waitLimitMs) > 0) {
        const ssize_t got = read(fds[0], buffer, sizeof buffer);
        if (got <= 0) {
            break;
        }
        reply.append(buffer, static_cast<size_t>(got));
    }
    close(fds[0]);
    int status = 0;
    if (waitpid(child, &status, WNOHANG) == 0) {
        kill(child, SIGKILL);  // our own child, which did not report in time
        waitpid(child, &status, 0);
    }
    long long picture = 0, frame = 0;
    if (std::sscanf(reply.c_str(), "%lld %lld", &picture, &frame) != 2) {
        why = "the program presented fewer than " + std::to_string(firstPartFramePicture) + " pictures";
        return false;
    }
    firstPicture = picture;
    firstFrame = frame;
    return true;
}

void FirstPartFrame(benchmark::State &state)
{
    double pictureSum = 0;
    for (auto _ : state) {
        int64_t picture = 0, frame = 0;
        std::string why;
        if (!StartOnce(picture, frame, why)) {
            state.SkipWithError(why.c_str());
            break;
        }
        pictureSum += static_cast<double>(picture);
        state.SetIterationTime(static_cast<double>(frame) * 1e-9);
    }
    if (state.iterations() > 0) {
        state.counters["first_picture_ms"] = pictureSum * 1e-6 / static_cast<double>(state.iterations());
    }
}

}  // namespace

void RegisterStartupBenchmarks()
{
    benchmark::RegisterBenchmark("Startup/FirstPartFrame", FirstPartFrame)
        ->UseManualTime()
        ->Iterations(5)
        ->Unit(benchmark::kMillisecond);
}
