// Preloaded into the real program by the start-up benchmark: it counts the
// pictures the program presents (SDL_Flip or SDL_UpdateRect of the screen),
// writes the time since ZOLT_FIRSTFRAME_T0 of the first and of picture number
// ZOLT_FIRSTFRAME_AT to the descriptor ZOLT_FIRSTFRAME_FD, and ends the program.
//
// Times are CLOCK_MONOTONIC nanoseconds, which the benchmark reads just before
// it starts the program, so the figures include loading and SDL's start-up.
#include <SDL.h>
#include <dlfcn.h>
#include <time.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

int64_t Now()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return int64_t{now.tv_sec} * 1000000000 + now.tv_nsec;
}

int64_t EnvNumber(const char *name, int64_t fallback)
{
    const char *text = std::getenv(name);
    return text != nullptr ? std::strtoll(text, nullptr, 10) : fallback;
}

int64_t presented = 0;
int64_t firstAt = 0;

void Presented()
{
    const int64_t now = Now();
    const int64_t start = EnvNumber("ZOLT_FIRSTFRAME_T0", now);
    if (++presented == 1) {
        firstAt = now - start;
    }
    if (presented == EnvNumber("ZOLT_FIRSTFRAME_AT", 1)) {
        char line[96];
        const int length = std::snprintf(line, sizeof line, "%lld %lld\n", static_cast<long long>(firstAt),
                                         static_cast<long long>(now - start));
        const int fd = static_cast<int>(EnvNumber("ZOLT_FIRSTFRAME_FD", 1));
        if (length > 0 && write(fd, line, static_cast<size_t>(length)) < 0) {
            _exit(2);
        }
        _exit(0);
    }
}

template <typename Function>
Function Next(const char *name)
{
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

}  // namespace

extern "C" int SDL_Flip(SDL_Surface *screen)
{
    static const auto next = Next<int (*)(SDL_Surface *)>("SDL_Flip");
    const int result = next != nullptr ? next(screen) : -1;
    Presented();
    return result;
}

extern "C" void SDL_UpdateRect(SDL_Surface *screen, Sint32 x, Sint32 y, Uint32 w, Uint32 h)
{
    static const auto next = Next<void (*)(SDL_Surface *, Sint32, Sint32, Uint32, Uint32)>("SDL_UpdateRect");
    if (next != nullptr) {
        next(screen, x, y, w, h);
    }
    Presented();
}
