// Capture: the pieces of zolt7707-capture that do not run the demo, so they
// can be tested on their own: the command line, the key script, the choice of
// frames to write, and the PNG and WAV writers.
//
// Frames are PNG pictures where the tool is built with libpng
// (ZOLT_CAPTURE_PNG); elsewhere (the Windows and web builds) they are raw PPM.
//
// Frame numbers are the demo's frame counter: frame 1 is the picture the
// first frame tail presents. A key given for frame n is seen by frame n's
// keyboard poll, so its effect shows from frame n + 1 on.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The longest capture: 1000000 frames, about 11 hours at 25 frames per second,
// so the WAV's 32-bit sizes can never overflow.
inline constexpr int32_t captureMaxFrames = 1000000;
// Values per second of the soundtrack, as the sound output plays them.
inline constexpr int32_t captureAudioRate = 44100;

// One key press of the key script.
struct CaptureKey {
    int32_t frame;  // the frame whose keyboard poll sees it, 1 or more
    uint8_t code;   // the key symbol the keyboard reports (lower-case letters, digits, 32 Space, 27 Escape)
};

// Which frames become PNG files.
enum class CaptureWrite { All, None, Every, List };

// When the progress bar is drawn: on a terminal for long captures, always, or never.
enum class CaptureProgress { Auto, On, Off };

struct CaptureOptions {
    int32_t frames;                // frames to capture; 0 while a time span or a list decides
    int64_t spanMicroseconds;      // capture until this much demo time has passed; 0 when not asked
    int32_t rate;                  // 25 or 50: the frame rate at the first frame
    std::vector<CaptureKey> keys;  // sorted by frame, at most one key per frame
    CaptureWrite write;
    int32_t every;              // for CaptureWrite::Every: frames every, 2 x every, ...
    std::vector<int32_t> list;  // for CaptureWrite::List: sorted, no repeats
    std::string out;            // the output folder
    std::string video;          // the video file to make with ffmpeg; empty for none
    std::string hashes;         // the file of frame and sound hashes; empty for none
    CaptureProgress progress;
    bool help;
};

// The options before any argument is read: 25 frames per second, all frames
// written into "capture", no keys, no video.
CaptureOptions CaptureDefaults();
// Reads the command line (argv[0] is skipped). False with a one-line message
// in *error for anything it cannot use: an unknown option, a missing or bad
// value, an unknown key name, two keys at one frame, listed frames past the
// end of the capture, or no length given. --help sets help and stops reading.
bool CaptureParse(int argc, const char *const argv[], CaptureOptions *options, std::string *error);
// The usage text printed by --help.
const char *CaptureUsage();
// The key symbol for a key name of the key script ("space", "esc", "b", "8"),
// or -1 for a name it does not know. Letters are taken in either case.
int32_t CaptureKeyCode(std::string_view name);
// Whether frame is one of those the options write as pictures.
bool CaptureSelected(const CaptureOptions &options, int32_t frame);
// The file name of frame's picture inside the output folder: "frame-000042.png"
// (".ppm" without libpng).
std::string CaptureFrameName(int32_t frame);
// One line of the --hashes file: what (a frame number or "sound"), a space, the
// hash as 16 lower-case hexadecimal digits and a line feed.
std::string CaptureHashLine(const std::string &what, uint64_t hash);

// The 44-byte header of a 16-bit mono PCM WAV file at 44100 values per second
// holding the given number of values.
void CaptureWavHeader(uint32_t values, uint8_t header[44]);
#if ZOLT_CAPTURE_PNG
// Writes a width x height image of 0x00RRGGBB pixels as an 8-bit RGB PNG
// through libpng. False, with libpng's message in *error, when it cannot.
bool CaptureWritePng(const std::string &path, const uint32_t *pixels, int32_t width, int32_t height,
                     std::string *error);
#endif
