#include "capture.h"

#if ZOLT_CAPTURE_PNG
#include <png.h>
#endif

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <utility>

namespace {

constexpr int32_t microsecondsPerSecond = 1000000;
// The longest time span: the longest capture at the slower rate.
constexpr int64_t maxSpanMicroseconds = int64_t{captureMaxFrames} * (microsecondsPerSecond / 25);

struct KeyName {
    const char *name;
    uint8_t code;
};

// Named keys besides single letters and digits. The codes are SDL's key
// symbols, which for these keys are their ASCII codes.
constexpr KeyName keyNames[] = {
    {"space", 32}, {"escape", 27}, {"esc", 27}, {"return", 13}, {"enter", 13}, {"tab", 9}, {"backspace", 8},
};
static_assert(sizeof keyNames / sizeof keyNames[0] == 7);

constexpr const char usage[] =
    "Usage: zolt7707-capture [options]\n"
    "Runs the ZOLT7707 demo headless under a virtual clock and writes its frames\n"
    "as PNG pictures (raw PPM in the Windows and web builds) and its soundtrack as\n"
    "a WAV file.\n"
    "\n"
    "Frames are numbered as the demo counts them: frame 1 is the first picture\n"
    "shown. A key given for frame N is read at the end of frame N, so its effect\n"
    "shows from frame N + 1 on.\n"
    "\n"
    "Options:\n"
    "  --frames N        capture frames 1 to N (at most 1000000)\n"
    "  --seconds S       capture S seconds of demo time (S may have decimals)\n"
    "  --rate 25|50      frames per second at the start, as the keys 5 and 6 set it\n"
    "                    (default 25)\n"
    "  --keys SCRIPT     keys to press: FRAME:KEY pairs separated by commas, for\n"
    "                    example 100:space,250:b,400:8; may be given more than once.\n"
    "                    KEY is a letter, a digit, space, esc (escape), return\n"
    "                    (enter), tab or backspace; one key per frame\n"
    "  --write WHICH     frames to write as pictures: all (default), none, every:K\n"
    "                    (frames K, 2K, 3K ...) or a list such as 10,20,100-120\n"
    "                    (without --frames or --seconds, a list also sets the length)\n"
    "  --out DIR         output folder, made when missing (default capture): it\n"
    "                    receives frame-NNNNNN.png and soundtrack.wav\n"
    "  --hashes FILE     also write one line per frame, FRAME HASH, and a last\n"
    "                    line, sound HASH: 64-bit FNV-1a hashes (16 hexadecimal\n"
    "                    digits) of the frame's 65536 pixels (0x00RRGGBB words,\n"
    "                    low byte first) and of the soundtrack's values (as in the\n"
    "                    WAV file); the same keys give the same file everywhere\n"
    "  --video FILE      also make a video with ffmpeg (768 x 768, nearest-neighbour\n"
    "                    scaling, with the soundtrack; not in the Windows and web\n"
    "                    builds); --write then defaults to none\n"
    "  --progress        always draw the progress bar on standard error\n"
    "  --quiet           never draw it (by default it is drawn on a terminal for\n"
    "                    captures of 250 frames or more)\n"
    "  --help            print this text\n"
    "\n"
    "Exit status: 0 on success (also when a key of the script quits the demo\n"
    "early), 1 when writing fails during the capture, 2 for bad options, an\n"
    "unwritable folder, an unknown key name or a missing ffmpeg.\n";

// A whole decimal number from min to max, nothing else.
bool ParseNumber(std::string_view text, int64_t min, int64_t max, int64_t *value)
{
    if (text.empty() || text.size() > 12) {
        return false;
    }
    int64_t result = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return false;
        }
        result = result * 10 + (c - '0');
    }
    if (result < min || result > max) {
        return false;
    }
    *value = result;
    return true;
}

bool ParseFrame(std::string_view text, int32_t *frame)
{
    int64_t value = 0;
    if (!ParseNumber(text, 1, captureMaxFrames, &value)) {
        return false;
    }
    *frame = static_cast<int32_t>(value);
    return true;
}

// Seconds with up to six decimals, as microseconds; more than 0.
bool ParseSeconds(std::string_view text, int64_t *microseconds)
{
    const size_t dot = text.find('.');
    const std::string_view whole = text.substr(0, dot);
    std::string_view fraction = dot == std::string_view::npos ? std::string_view() : text.substr(dot + 1);
    if ((whole.empty() && fraction.empty()) || fraction.size() > 6 ||
        (dot != std::string_view::npos && fraction.empty())) {
        return false;
    }
    int64_t seconds = 0;
    if (!whole.empty() && !ParseNumber(whole, 0, maxSpanMicroseconds / microsecondsPerSecond, &seconds)) {
        return false;
    }
    int64_t part = 0;
    if (!fraction.empty() && !ParseNumber(fraction, 0, 999999, &part)) {
        return false;
    }
    for (size_t i = fraction.size(); i < 6; ++i) {
        part *= 10;
    }
    const int64_t total = seconds * microsecondsPerSecond + part;
    if (total <= 0 || total > maxSpanMicroseconds) {
        return false;
    }
    *microseconds = total;
    return true;
}

std::vector<std::string_view> Split(std::string_view text, char separator)
{
    std::vector<std::string_view> pieces;
    size_t start = 0;
    for (;;) {
        const size_t end = text.find(separator, start);
        pieces.push_back(text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
        if (end == std::string_view::npos) {
            return pieces;
        }
        start = end + 1;
    }
}

bool ParseKeys(std::string_view script, std::vector<CaptureKey> *keys, std::string *error)
{
    for (const std::string_view entry : Split(script, ',')) {
        const size_t colon = entry.find(':');
        int32_t frame = 0;
        if (colon == std::string_view::npos || !ParseFrame(entry.substr(0, colon), &frame)) {
            *error = "bad key script entry '" + std::string(entry) + "': expected FRAME:KEY with FRAME 1 to 1000000";
            return false;
        }
        const std::string_view name = entry.substr(colon + 1);
        const int32_t code = CaptureKeyCode(name);
        if (code < 0) {
            *error = "unknown key name '" + std::string(name) +
                     "': use a letter, a digit, space, esc, return, tab or backspace";
            return false;
        }
        keys->push_back(CaptureKey{frame, static_cast<uint8_t>(code)});
    }
    return true;
}

bool ParseWrite(std::string_view which, CaptureOptions *options, std::string *error)
{
    options->list.clear();
    if (which == "all") {
        options->write = CaptureWrite::All;
        return true;
    }
    if (which == "none") {
        options->write = CaptureWrite::None;
        return true;
    }
    if (which.substr(0, 6) == "every:") {
        int32_t every = 0;
        if (!ParseFrame(which.substr(6), &every)) {
            *error = "bad --write value '" + std::string(which) + "': every:K needs K from 1 to 1000000";
            return false;
        }
        options->write = CaptureWrite::Every;
        options->every = every;
        return true;
    }
    for (const std::string_view entry : Split(which, ',')) {
        const size_t dash = entry.find('-');
        int32_t first = 0;
        int32_t last = 0;
        const bool good = dash == std::string_view::npos
                              ? ParseFrame(entry, &first) && ParseFrame(entry, &last)
                              : ParseFrame(entry.substr(0, dash), &first) &&
                                    ParseFrame(entry.substr(dash + 1), &last) && first <= last;
        if (!good) {
            *error = "bad --write value '" + std::string(which) +
                     "': expected all, none, every:K or a list of frames such as 10,20,100-120";
            return false;
        }
        for (int32_t frame = first; frame <= last; ++frame) {
            options->list.push_back(frame);
        }
    }
    std::sort(options->list.begin(), options->list.end());
    options->list.erase(std::unique(options->list.begin(), options->list.end()), options->list.end());
    options->write = CaptureWrite::List;
    return true;
}

void PutLittle(uint8_t *at, uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i) {
        at[i] = static_cast<uint8_t>((value >> (8 * i)) & 0xFFu);
    }
}

}  // namespace

CaptureOptions CaptureDefaults()
{
    CaptureOptions options{};
    options.rate = 25;
    options.write = CaptureWrite::All;
    options.every = 1;
    options.out = "capture";
    options.progress = CaptureProgress::Auto;
    return options;
}

bool CaptureParse(int argc, const char *const argv[], CaptureOptions *options, std::string *error)
{
    *options = CaptureDefaults();
    bool writeGiven = false;
    for (int i = 1; i < argc; ++i) {
        std::string_view argument = argv[i];
        std::string_view value;
        bool inlineValue = false;
        const size_t equals = argument.find('=');
        if (argument.substr(0, 2) == "--" && equals != std::string_view::npos) {
            value = argument.substr(equals + 1);
            argument = argument.substr(0, equals);
            inlineValue = true;
        }
        const auto takesValue = [&](std::string_view option) { return argument == option; };
        const bool needsValue = takesValue("--frames") || takesValue("--seconds") || takesValue("--rate") ||
                                takesValue("--keys") || takesValue("--write") || takesValue("--out") ||
                                takesValue("--video") || takesValue("--hashes");
        if (needsValue && !inlineValue) {
            if (i + 1 >= argc) {
                *error = "option " + std::string(argument) + " needs a value";
                return false;
            }
            value = argv[++i];
        } else if (!needsValue && inlineValue) {
            *error = "option " + std::string(argument) + " takes no value";
            return false;
        }
        if (argument == "--help" || argument == "-h") {
            options->help = true;
            return true;
        } else if (argument == "--frames") {
            if (!ParseFrame(value, &options->frames)) {
                *error = "bad --frames value '" + std::string(value) + "': expected 1 to 1000000";
                return false;
            }
        } else if (argument == "--seconds") {
            if (!ParseSeconds(value, &options->spanMicroseconds)) {
                *error = "bad --seconds value '" + std::string(value) + "': expected more than 0 and at most 40000";
                return false;
            }
        } else if (argument == "--rate") {
            if (value != "25" && value != "50") {
                *error = "bad --rate value '" + std::string(value) + "': the demo runs at 25 or 50";
                return false;
            }
            options->rate = value == "25" ? 25 : 50;
        } else if (argument == "--keys") {
            if (!ParseKeys(value, &options->keys, error)) {
                return false;
            }
        } else if (argument == "--write") {
            if (!ParseWrite(value, options, error)) {
                return false;
            }
            writeGiven = true;
        } else if (argument == "--out") {
            if (value.empty()) {
                *error = "--out needs a folder name";
                return false;
            }
            options->out = value;
        } else if (argument == "--video") {
            if (value.empty()) {
                *error = "--video needs a file name";
                return false;
            }
            options->video = value;
        } else if (argument == "--hashes") {
            if (value.empty()) {
                *error = "--hashes needs a file name";
                return false;
            }
            options->hashes = value;
        } else if (argument == "--progress") {
            options->progress = CaptureProgress::On;
        } else if (argument == "--quiet") {
            options->progress = CaptureProgress::Off;
        } else {
            *error = "unknown option '" + std::string(argv[i]) + "' (see --help)";
            return false;
        }
    }
    if (!writeGiven && !options->video.empty()) {
        options->write = CaptureWrite::None;
    }
    std::stable_sort(options->keys.begin(), options->keys.end(),
                     [](const CaptureKey &a, const CaptureKey &b) { return a.frame < b.frame; });
    for (size_t k = 1; k < options->keys.size(); ++k) {
        if (options->keys[k].frame == options->keys[k - 1].frame) {
            *error =
                "two keys at frame " + std::to_string(options->keys[k].frame) + ": the demo reads one key per frame";
            return false;
        }
    }
    if (options->frames > 0 && options->spanMicroseconds > 0) {
        *error = "give --frames or --seconds, not both";
        return false;
    }
    if (options->frames == 0 && options->spanMicroseconds == 0) {
        if (options->write != CaptureWrite::List) {
            *error = "say how long to capture: --frames N or --seconds S (see --help)";
            return false;
        }
        options->frames = options->list.back();
    }
    if (options->write == CaptureWrite::List && options->frames > 0 && options->list.back() > options->frames) {
        *error = "frame " + std::to_string(options->list.back()) + " of --write is past the last frame " +
                 std::to_string(options->frames);
        return false;
    }
    return true;
}

const char *CaptureUsage() { return usage; }

int32_t CaptureKeyCode(std::string_view name)
{
    if (name.size() == 1) {
        const char c = name[0];
        if (c >= 'a' && c <= 'z') {
            return c;
        }
        if (c >= 'A' && c <= 'Z') {
            return c - 'A' + 'a';
        }
        if (c >= '0' && c <= '9') {
            return c;
        }
        return -1;
    }
    for (const KeyName &key : keyNames) {
        if (name == key.name) {
            return key.code;
        }
    }
    return -1;
}

bool CaptureSelected(const CaptureOptions &options, int32_t frame)
{
    switch (options.write) {
    case CaptureWrite::All: return true;
    case CaptureWrite::None: return false;
    case CaptureWrite::Every: return options.every > 0 && frame % options.every == 0;
    case CaptureWrite::List: return std::binary_search(options.list.begin(), options.list.end(), frame);
    }
    return false;
}

std::string CaptureFrameName(int32_t frame)
{
    char name[32];
    std::snprintf(name, sizeof name, ZOLT_CAPTURE_PNG ? "frame-%06d.png" : "frame-%06d.ppm", static_cast<int>(frame));
    return name;
}

std::string CaptureHashLine(const std::string &what, uint64_t hash)
{
    char digits[24];
    std::snprintf(digits, sizeof digits, " %016" PRIx64 "\n", hash);
    return what + digits;
}

void CaptureWavHeader(uint32_t values, uint8_t header[44])
{
    constexpr uint32_t bytesPerValue = 2;
    const uint32_t dataBytes = values * bytesPerValue;
    std::copy_n("RIFF", 4, header);
    PutLittle(header + 4, 36 + dataBytes, 4);
    std::copy_n("WAVEfmt ", 8, header + 8);
    PutLittle(header + 16, 16, 4);  // size of the format chunk
    PutLittle(header + 20, 1, 2);   // PCM
    PutLittle(header + 22, 1, 2);   // mono
    PutLittle(header + 24, captureAudioRate, 4);
    PutLittle(header + 28, captureAudioRate * bytesPerValue, 4);  // bytes per second
    PutLittle(header + 32, bytesPerValue, 2);                     // bytes per frame of all channels
    PutLittle(header + 34, 16, 2);                                // bits per value
    std::copy_n("data", 4, header + 36);
    PutLittle(header + 40, dataBytes, 4);
}

#if ZOLT_CAPTURE_PNG
bool CaptureWritePng(const std::string &path, const uint32_t *pixels, int32_t width, int32_t height, std::string *error)
{
    if (pixels == nullptr || width <= 0 || height <= 0) {
        *error = "no picture to write";
        return false;
    }
    std::vector<uint8_t> rgb(static_cast<size_t>(width) * static_cast<size_t>(height) * 3);
    for (size_t i = 0; i < static_cast<size_t>(width) * static_cast<size_t>(height); ++i) {
        rgb[3 * i] = static_cast<uint8_t>((pixels[i] >> 16) & 0xFFu);
        rgb[3 * i + 1] = static_cast<uint8_t>((pixels[i] >> 8) & 0xFFu);
        rgb[3 * i + 2] = static_cast<uint8_t>(pixels[i] & 0xFFu);
    }
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = PNG_FORMAT_RGB;
    image.flags = PNG_IMAGE_FLAG_FAST;
    if (png_image_write_to_file(&image, path.c_str(), 0, rgb.data(), width * 3, nullptr) == 0) {
        *error = image.message;
        png_image_free(&image);
        return false;
    }
    return true;
}
#endif
