// zolt7707-capture: runs the real demo driver headless and faster than real
// time under a virtual clock, and writes what a viewer would see and hear.
//
// The driver runs on the tool's own platform: no window, no keyboard, no
// audio device and no SDL. How a frame is taken: the frame tail counts the
// frame (FPSTick), sleeps on the virtual clock (which only moves the clock),
// then presents; the tool records the picture of that frame counter once.
// The fade-out presentations that open every part happen with the counter
// unchanged and are passed over. The key the script gives frame n is the key
// that frame's tail reads. The music has fed the sound sink by the time the
// next FPSTick reads the clock, so that is where the frame's share of the
// soundtrack is pulled through the sound output's own callback, from a queue
// that no audio thread drains.
//
// The same source builds for Linux, Windows (a console program) and
// WebAssembly under node; only Linux starts ffmpeg for --video
// (ZOLT_CAPTURE_VIDEO).
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <new>
#include <string>
#include <vector>

#if ZOLT_CAPTURE_VIDEO
#include <spawn.h>
#include <sys/wait.h>

#include <csignal>

extern char **environ;
#endif

#include "audio/sdlsnd.h"
#include "capture.h"
#include "core/list.h"
#include "demo/zolt7707.h"
#include "fnv.h"
#include "gfx/img.h"
#include "platform/fps.h"

namespace {

constexpr int exitWriteFailed = 1;
constexpr int exitBadSetup = 2;
constexpr int progressMinimumFrames = 250;
constexpr int progressWidth = 40;
constexpr const char toolName[] = "zolt7707-capture";
constexpr const char soundtrackName[] = "soundtrack.wav";

CaptureOptions options;
size_t nextKey = 0;

// The virtual clock in microseconds; the frame timer sees its low 32 bits.
uint64_t virtualTime = 0;
uint64_t tickTime = 0;      // the clock at the latest FPSTick
int32_t capturedFrame = 0;  // the latest frame counter whose picture was taken
int32_t lastFrame = 0;      // the frame that ends the capture; 0 while a time span decides
int32_t framesWritten = 0;
int32_t progressShown = -1;
bool progressOn = false;

SDLSND *tap = nullptr;  // the queue the driver feeds; drained only here, through the callback
std::vector<uint8_t> audioBytes;
uint64_t audioCarry = 0;  // 44100 x microseconds not yet turned into whole values
uint32_t audioValues = 0;
FILE *wav = nullptr;
std::string wavPath;
FILE *hashFile = nullptr;  // --hashes: one line per frame, then the sound's
uint64_t soundHash = fnvOffsetBasis;

bool finishing = false;

void Fail(int status, const std::string &message)
{
    std::fprintf(stderr, "%s: %s\n", toolName, message.c_str());
    std::exit(status);
}

void WriteHashLine(const std::string &what, uint64_t hash)
{
    const std::string line = CaptureHashLine(what, hash);
    if (std::fwrite(line.data(), 1, line.size(), hashFile) != line.size()) {
        Fail(exitWriteFailed, "cannot write " + options.hashes + ": " + std::strerror(errno));
    }
}

// Writes the frame's picture as PNG, or as raw PPM where the tool has no libpng.
bool WriteFrame(const std::string &path, const IMG *image, std::string *error)
{
#if ZOLT_CAPTURE_PNG
    return CaptureWritePng(path, image->pixels, image->width, image->height, error);
#else
    errno = 0;
    if (!IMGSavePPM(image, path.c_str())) {
        *error = errno != 0 ? std::strerror(errno) : "the picture could not be written";
        return false;
    }
    return true;
#endif
}

std::string InOut(const std::string &name) { return (std::filesystem::path(options.out) / name).string(); }

#if ZOLT_CAPTURE_VIDEO
// The ffmpeg that receives the frames, and the video-only file it writes.
pid_t videoProcess = -1;
int videoPipe = -1;
std::string videoTemporary;
int32_t videoRate = 25;
uint64_t videoFramesSent = 0;

// The path of the program ffmpeg on PATH, or empty.
std::string FindFfmpeg()
{
    const char *path = std::getenv("PATH");
    if (path == nullptr) {
        return "";
    }
    const std::string folders = path;
    size_t start = 0;
    while (start <= folders.size()) {
        size_t end = folders.find(':', start);
        if (end == std::string::npos) {
            end = folders.size();
        }
        const std::string folder = end > start ? folders.substr(start, end - start) : ".";
        const std::string candidate = folder + "/ffmpeg";
        if (access(candidate.c_str(), X_OK) == 0 && !std::filesystem::is_directory(candidate)) {
            return candidate;
        }
        start = end + 1;
    }
    return "";
}

// Runs argv[0] with argv; when input is not null it receives the write end of
// a pipe to the program's standard input. The process id, or -1.
pid_t Spawn(const std::vector<std::string> &arguments, int *input)
{
    std::vector<char *> argv;
    for (const std::string &argument : arguments) {
        argv.push_back(const_cast<char *>(argument.c_str()));
    }
    argv.push_back(nullptr);
    int pipeEnds[2] = {-1, -1};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (input != nullptr) {
        if (pipe(pipeEnds) != 0) {
            posix_spawn_file_actions_destroy(&actions);
            return -1;
        }
        posix_spawn_file_actions_adddup2(&actions, pipeEnds[0], STDIN_FILENO);
        posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
        posix_spawn_file_actions_addclose(&actions, pipeEnds[1]);
    }
    pid_t process = -1;
    const int result = posix_spawn(&process, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (input != nullptr) {
        close(pipeEnds[0]);
        if (result != 0) {
            close(pipeEnds[1]);
        } else {
            *input = pipeEnds[1];
        }
    }
    return result == 0 ? process : -1;
}

// Waits for the process; true when it ended with status 0.
bool Succeeded(pid_t process)
{
    int status = 0;
    while (waitpid(process, &status, 0) < 0) {
        if (errno != EINTR) {
            return false;
        }
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

bool WriteAll(int descriptor, const void *data, size_t size)
{
    const auto *bytes = static_cast<const uint8_t *>(data);
    while (size > 0) {
        const ssize_t written = write(descriptor, bytes, size);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        bytes += written;
        size -= static_cast<size_t>(written);
    }
    return true;
}

void StartVideo(const std::string &ffmpeg)
{
    // A key script that may switch to 50 frames per second gets a 50 Hz video in
    // which every 25 Hz frame stands twice, so picture and sound stay in step.
    videoRate = options.rate;
    for (const CaptureKey &key : options.keys) {
        if (key.code == '6') {
            videoRate = 50;
        }
    }
    const std::filesystem::path target = options.video;
    videoTemporary =
        (target.parent_path() / (target.stem().string() + ".noaudio" + target.extension().string())).string();
    const std::vector<std::string> arguments = {
        ffmpeg, "-hide_banner", "-loglevel", "error", "-y", "-f", "rawvideo", "-pixel_format", "bgr0", "-video_size",
        "256x256", "-framerate", std::to_string(videoRate), "-i", "pipe:0",
        // Scaled in RGB with nearest-neighbour first, so the pixels stay sharp
        // squares, and only then converted to the subsampled colour format.
        "-vf", "scale=768:768:flags=neighbor,format=yuv420p", "-an", videoTemporary};
    std::signal(SIGPIPE, SIG_IGN);
    videoProcess = Spawn(arguments, &videoPipe);
    if (videoProcess < 0) {
        Fail(exitBadSetup, "cannot start " + ffmpeg + ": " + std::strerror(errno));
    }
}

void SendVideo(const IMG *image)
{
    const uint64_t period = 1000000u / static_cast<uint32_t>(videoRate);
    const uint64_t due = virtualTime / period;
    const size_t bytes = static_cast<size_t>(image->width) * static_cast<size_t>(image->height) * 4;
    // Raw 0x00RRGGBB words in memory order are bgr0 bytes on a little-endian machine.
    do {
        if (!WriteAll(videoPipe, image->pixels, bytes)) {
            Fail(exitWriteFailed, std::string("ffmpeg stopped taking frames: ") + std::strerror(errno));
        }
        ++videoFramesSent;
    } while (videoFramesSent < due);
}

void FinishVideo(const std::string &ffmpeg)
{
    close(videoPipe);
    videoPipe = -1;
    if (!Succeeded(videoProcess)) {
        Fail(exitWriteFailed, "ffmpeg could not encode the frames into " + videoTemporary);
    }
    const std::vector<std::string> arguments = {
        ffmpeg,  "-hide_banner", "-loglevel", "error", "-y",    "-i",   videoTemporary, "-i",
        wavPath, "-map",         "0:v:0",     "-map",  "1:a:0", "-c:v", "copy",         options.video};
    const pid_t mux = Spawn(arguments, nullptr);
    const bool muxed = mux >= 0 && Succeeded(mux);
    std::error_code ignored;
    std::filesystem::remove(videoTemporary, ignored);
    if (!muxed) {
        Fail(exitWriteFailed, "ffmpeg could not put the frames and the soundtrack into " + options.video);
    }
}

bool VideoStarted() { return videoProcess >= 0; }
#else
// Nothing here can start ffmpeg (Windows, node): --video is refused before the capture begins.
std::string FindFfmpeg() { return ""; }
void StartVideo(const std::string &) {}
void SendVideo(const IMG *) {}
void FinishVideo(const std::string &) {}
bool VideoStarted() { return false; }
#endif

// The soundtrack of one frame of the given length: 44100 values per second,
// pulled through the callback as the audio thread would pull them. Whatever
// the callback leaves unwritten (nothing queued) is silence, as SDL fills it.
void PullAudio(uint64_t microseconds)
{
    audioCarry += microseconds * static_cast<uint64_t>(captureAudioRate);
    const uint64_t values = audioCarry / 1000000u;
    audioCarry %= 1000000u;
    if (values == 0) {
        return;
    }
    audioBytes.assign(static_cast<size_t>(values) * 2, 0);
    SDLSNDCallback(tap, audioBytes.data(), static_cast<int>(audioBytes.size()));
    soundHash = HashBytes(audioBytes.data(), audioBytes.size(), soundHash);
    if (std::fwrite(audioBytes.data(), 1, audioBytes.size(), wav) != audioBytes.size()) {
        Fail(exitWriteFailed, "cannot write " + wavPath + ": " + std::strerror(errno));
    }
    audioValues += static_cast<uint32_t>(values);
}

void ShowProgress(int32_t frame, bool done)
{
    if (!progressOn) {
        return;
    }
    const int32_t total =
        lastFrame > 0 ? lastFrame : static_cast<int32_t>(options.spanMicroseconds * options.rate / 1000000);
    const int32_t shown = total > 0 ? std::min(progressWidth, frame * progressWidth / total) : progressWidth;
    if (shown == progressShown && !done && frame % 25 != 0) {
        return;
    }
    progressShown = shown;
    std::fprintf(stderr, "\r[%s%s] frame %d of %d", std::string(static_cast<size_t>(shown), '#').c_str(),
                 std::string(static_cast<size_t>(progressWidth - shown), '.').c_str(), static_cast<int>(frame),
                 static_cast<int>(std::max(total, frame)));
    if (done) {
        std::fputc('\n', stderr);
    }
}

// Closes every output and ends the process.
[[noreturn]] void Finish(const char *how)
{
    finishing = true;
    ShowProgress(capturedFrame, true);
    uint8_t header[44];
    CaptureWavHeader(audioValues, header);
    if (std::fflush(wav) != 0 || std::fseek(wav, 0, SEEK_SET) != 0 || std::fwrite(header, 1, 44, wav) != 44 ||
        std::fclose(wav) != 0) {
        wav = nullptr;
        Fail(exitWriteFailed, "cannot write " + wavPath + ": " + std::strerror(errno));
    }
    wav = nullptr;
    if (hashFile != nullptr) {
        WriteHashLine("sound", soundHash);
        if (std::fclose(hashFile) != 0) {
            Fail(exitWriteFailed, "cannot write " + options.hashes + ": " + std::strerror(errno));
        }
        hashFile = nullptr;
    }
    if (VideoStarted()) {
        FinishVideo(FindFfmpeg());
    }
    if (options.progress != CaptureProgress::Off) {
        std::fprintf(stderr, "%s: %d frames%s, %d written as %s, %.2f s of sound in %s%s%s\n", toolName,
                     static_cast<int>(capturedFrame), how, static_cast<int>(framesWritten),
                     ZOLT_CAPTURE_PNG ? "PNG" : "PPM", static_cast<double>(audioValues) / captureAudioRate,
                     options.out.c_str(), options.video.empty() ? "" : ", video ", options.video.c_str());
    }
    std::exit(EXIT_SUCCESS);
}

uint32_t VirtualClock()
{
    // FPSTick has counted a new frame: the one before it is complete, music feed included.
    if (frameCount >= 2 && capturedFrame == frameCount - 1) {
        PullAudio(virtualTime - tickTime);
        if (capturedFrame == lastFrame) {
            Finish("");
        }
    }
    tickTime = virtualTime;
    return static_cast<uint32_t>(virtualTime);
}

void VirtualSleep(uint32_t milliseconds) { virtualTime += uint64_t{milliseconds} * 1000u; }

void OnPresent(const IMG *image)
{
    if (finishing || frameCount == capturedFrame || frameCount < 1 || image == nullptr || image->pixels == nullptr) {
        return;  // a fade-out presentation: not a frame of the capture
    }
    capturedFrame = frameCount;
    if (hashFile != nullptr) {
        WriteHashLine(std::to_string(capturedFrame), HashWords(image->pixels, image->width * image->height));
    }
    if (CaptureSelected(options, capturedFrame)) {
        std::string error;
        const std::string path = InOut(CaptureFrameName(capturedFrame));
        if (!WriteFrame(path, image, &error)) {
            Fail(exitWriteFailed, "cannot write " + path + ": " + error);
        }
        ++framesWritten;
    }
    if (VideoStarted()) {
        SendVideo(image);
    }
    if (lastFrame == 0 &&
        (virtualTime >= static_cast<uint64_t>(options.spanMicroseconds) || capturedFrame >= captureMaxFrames)) {
        lastFrame = capturedFrame;
    }
    ShowProgress(capturedFrame, false);
}

// The script's key for the frame whose tail asks, once.
int8_t ScriptKey()
{
    while (nextKey < options.keys.size() && options.keys[nextKey].frame < frameCount) {
        ++nextKey;
    }
    if (nextKey < options.keys.size() && options.keys[nextKey].frame == frameCount) {
        return static_cast<int8_t>(options.keys[nextKey++].code);
    }
    return 0;
}

// The sound sink: the queue the callback plays from. Nothing else touches it,
// so it needs no lock.
int32_t Waiting() { return tap->queue->count; }

void Queue(SAMPLE *sample)
{
    if (sample != nullptr) {
        LISTAppend(tap->queue, sample);
    }
}

void OnExit(int)
{
    // A key of the script quit the demo: its frame is complete once the keys are read.
    if (capturedFrame == frameCount && capturedFrame >= 1) {
        PullAudio(virtualTime - tickTime);
    }
    Finish(" (the demo quit on a key of the script)");
}

void PrepareOutput()
{
    std::error_code error;
    std::filesystem::create_directories(options.out, error);
    if (error || !std::filesystem::is_directory(options.out)) {
        Fail(exitBadSetup, "cannot make the output folder " + options.out + ": " +
                               (error ? error.message() : std::string("a file of that name is in the way")));
    }
    wavPath = InOut(soundtrackName);
    wav = std::fopen(wavPath.c_str(), "wb");
    if (wav == nullptr) {
        Fail(exitBadSetup, "cannot write into the output folder " + options.out + ": " + std::strerror(errno));
    }
    uint8_t header[44];
    CaptureWavHeader(0, header);
    if (std::fwrite(header, 1, 44, wav) != 44) {
        Fail(exitBadSetup, "cannot write " + wavPath + ": " + std::strerror(errno));
    }
    // Binary, so that Windows writes the same line ends as everywhere else.
    if (!options.hashes.empty() && (hashFile = std::fopen(options.hashes.c_str(), "wb")) == nullptr) {
        Fail(exitBadSetup, "cannot write the hash file " + options.hashes + ": " + std::strerror(errno));
    }
}

// The platform the driver runs on: the virtual clock, the script's keys, the
// sound tap, and pictures and the quit taken here.
ZOLT7707Platform CapturePlatform()
{
    // The record SDLSNDNew would make, with no device behind it.
    tap = new (std::nothrow) SDLSND{};
    if (tap == nullptr || (tap->queue = LISTNew()) == nullptr) {
        Fail(exitWriteFailed, "out of memory");
    }
    tap->rate = sdlsndRate;
    tap->resolution = sdlsndResolution;
    tap->sign = 's';
    tap->order = 'l';
    ZOLT7707Platform platform{};
    platform.present = OnPresent;
    platform.key = ScriptKey;
    platform.clock = VirtualClock;
    platform.sleep = VirtualSleep;
    platform.waiting = Waiting;
    platform.queue = Queue;
    platform.exit = OnExit;
    platform.release = [] {};
    return platform;
}

}  // namespace

int main(int argc, char *argv[])
{
    std::string error;
    if (!CaptureParse(argc, argv, &options, &error)) {
        Fail(exitBadSetup, error);
    }
    if (options.help) {
        std::fputs(CaptureUsage(), stdout);
        return EXIT_SUCCESS;
    }
    std::string ffmpeg;
    if (!options.video.empty()) {
        ffmpeg = FindFfmpeg();
        if (ffmpeg.empty()) {
            Fail(exitBadSetup, ZOLT_CAPTURE_VIDEO ? "--video needs ffmpeg, which is not installed (no ffmpeg on PATH); "
                                                    "install it or leave out --video"
                                                  : "--video needs ffmpeg, which this build of the tool cannot start "
                                                    "(only the Linux build makes videos); leave out --video");
        }
    }
    lastFrame = options.frames;
    if (options.frames > 0) {
        for (const CaptureKey &key : options.keys) {
            if (key.frame > options.frames) {
                std::fprintf(stderr, "%s: the key at frame %d comes after the last frame %d and is not pressed\n",
                             toolName, static_cast<int>(key.frame), static_cast<int>(options.frames));
                break;
            }
        }
    }
    PrepareOutput();
    progressOn = options.progress == CaptureProgress::On ||
                 (options.progress == CaptureProgress::Auto && isatty(STDERR_FILENO) != 0 &&
                  (options.frames >= progressMinimumFrames ||
                   options.spanMicroseconds * options.rate / 1000000 >= progressMinimumFrames));

    ZOLT7707Init(CapturePlatform());
    ZOLT7707SceneInit();
    targetFps = options.rate;
    if (!ffmpeg.empty()) {
        StartVideo(ffmpeg);
    }
    for (;;) {
        ZOLT7707Cycle();
    }
}
