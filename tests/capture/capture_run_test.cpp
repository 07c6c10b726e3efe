// zolt7707-capture run as a program on short captures: what a viewer would
// see and hear, and how it refuses what it cannot do. Each capture is its own
// process, since the demo keeps its state for the whole process.
#include <gtest/gtest.h>
#include <png.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "capture.h"
#include "demo/assets.h"
#include "fnv.h"
#include "gfx/random.h"

namespace {

namespace fs = std::filesystem;

constexpr int32_t side = 256;
constexpr uint32_t valuesPerFrameAt25 = 44100 / 25;

struct ToolRun {
    int status;
    std::string errors;  // what the tool wrote on standard error
};

std::string Root()
{
    static const std::string root = [] {
        const fs::path path = fs::path(testing::TempDir()) / ("zolt-capture-test-" + std::to_string(getpid()));
        fs::remove_all(path);
        fs::create_directories(path);
        return path.string();
    }();
    return root;
}

// The captures are removed when the suite ends.
class RemoveCaptures : public testing::Environment {
public:
    void TearDown() override { fs::remove_all(Root()); }
};
[[maybe_unused]] testing::Environment *const removeCaptures = testing::AddGlobalTestEnvironment(new RemoveCaptures);

std::string Folder(const std::string &name) { return Root() + "/" + name; }

std::string ReadText(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Runs the tool with arguments (already quoted for the shell) and an optional
// environment prefix such as "PATH=/x".
ToolRun Capture(const std::string &arguments, const std::string &environment = "")
{
    static int runs = 0;
    const std::string errors = Root() + "/stderr-" + std::to_string(++runs) + ".txt";
    const std::string command =
        environment + " '" + ZOLT_CAPTURE_TOOL + "' " + arguments + " >/dev/null 2>'" + errors + "'";
    const int status = std::system(command.c_str());
    return ToolRun{WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadText(errors)};
}

// A captured picture as 0x00RRGGBB pixels; empty when it cannot be read.
std::vector<uint32_t> Frame(const std::string &folder, int32_t frame)
{
    char name[32];
    std::snprintf(name, sizeof name, "/frame-%06d.png", static_cast<int>(frame));
    const std::string path = folder + name;
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (png_image_begin_read_from_file(&image, path.c_str()) == 0) {
        return {};
    }
    image.format = PNG_FORMAT_RGB;
    std::vector<uint8_t> rgb(PNG_IMAGE_SIZE(image));
    if (image.width != side || image.height != side ||
        png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr) == 0) {
        png_image_free(&image);
        return {};
    }
    std::vector<uint32_t> pixels(side * side);
    for (size_t i = 0; i < pixels.size(); ++i) {
        pixels[i] = (uint32_t{rgb[3 * i]} << 16) | (uint32_t{rgb[3 * i + 1]} << 8) | rgb[3 * i + 2];
    }
    return pixels;
}

// The soundtrack's values, after checking its header; empty when the header is wrong.
std::vector<int16_t> Soundtrack(const std::string &folder)
{
    const std::string bytes = ReadText(folder + "/soundtrack.wav");
    const auto word = [&](size_t at, int size) {
        uint32_t value = 0;
        for (int i = size - 1; i >= 0; --i) {
            value = (value << 8) | static_cast<uint8_t>(bytes[at + static_cast<size_t>(i)]);
        }
        return value;
    };
    if (bytes.size() < 44 || bytes.compare(0, 4, "RIFF") != 0 || bytes.compare(8, 8, "WAVEfmt ") != 0 ||
        word(20, 2) != 1 || word(22, 2) != 1 || word(24, 4) != 44100 || word(34, 2) != 16 ||
        bytes.compare(36, 4, "data") != 0 || word(40, 4) != bytes.size() - 44 || word(4, 4) != bytes.size() - 8) {
        return {};
    }
    std::vector<int16_t> values((bytes.size() - 44) / 2);
    for (size_t i = 0; i < values.size(); ++i) {
        values[i] = static_cast<int16_t>(word(44 + 2 * i, 2));
    }
    return values;
}

int32_t Lit(const std::vector<uint32_t> &pixels)
{
    int32_t lit = 0;
    for (const uint32_t p : pixels) {
        lit += p != 0 ? 1 : 0;
    }
    return lit;
}

// Whether some row holds at least half a screen of one raster-bar colour.
bool HasRasterRow(const std::vector<uint32_t> &pixels)
{
    for (int32_t y = 0; y < side; ++y) {
        std::map<uint32_t, int32_t> counts;
        for (int32_t x = 0; x < side; ++x) {
            ++counts[pixels[y * side + x]];
        }
        for (const uint32_t colour : colourWheel) {
            if (counts[colour] >= side / 2) {
                return true;
            }
        }
    }
    return false;
}

// Whether pixel (x, y) of the bitmap font's glyph for code is ink.
bool Ink(char code, int32_t x, int32_t y)
{
    const int32_t column = static_cast<uint8_t>(code) % 16;
    const int32_t row = static_cast<uint8_t>(code) / 16;
    const int32_t sx = column * 16 + x;
    const int32_t sy = row * 16 + y;
    const uint8_t byte = glyphSheet[glyphSheetHeaderSize + static_cast<size_t>(sy * (glyphSheetWidth / 8) + sx / 8)];
    return ((byte >> (7 - sx % 8)) & 1) != 0;
}

// Checks that shown is plain with two digits laid over its top-left corner:
// white where the digits' glyphs have ink, plain's pixel everywhere else.
void ExpectDigits(const std::vector<uint32_t> &shown, const std::vector<uint32_t> &plain, const char digits[2])
{
    ASSERT_EQ(shown.size(), plain.size());
    int32_t wrong = 0;
    int32_t ink = 0;
    for (int32_t y = 0; y < side; ++y) {
        for (int32_t x = 0; x < side; ++x) {
            const size_t i = static_cast<size_t>(y * side + x);
            const bool isInk = x < 32 && y < 16 && Ink(digits[x / 16], x % 16, y);
            ink += isInk ? 1 : 0;
            wrong += shown[i] != (isInk ? 0xFFFFFFu : plain[i]) ? 1 : 0;
        }
    }
    EXPECT_GT(ink, 20);
    EXPECT_EQ(wrong, 0) << "pixels that are not the picture with \"" << digits[0] << digits[1] << "\" on it";
}

// The captures several tests read, made once.
class CaptureRun : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        // Space at frame 5 moves to the sine lines, whose trails fade slowly.
        reference = Capture("--frames 42 --keys 5:space --write 31,41,42 --out '" + Folder("reference") +
                            "' --hashes '" + Folder("reference.txt") + "'");
        eight = Capture("--frames 31 --keys 5:space,30:8 --write 31 --out '" + Folder("eight") + "'");
        trails = Capture("--frames 42 --keys 5:space,40:m --write 41,42 --out '" + Folder("trails") + "'");
    }
    static ToolRun reference;
    static ToolRun eight;
    static ToolRun trails;
};

ToolRun CaptureRun::reference;
ToolRun CaptureRun::eight;
ToolRun CaptureRun::trails;

}  // namespace

TEST_F(CaptureRun, SameCommandWritesTheSameBytes)
{
    ASSERT_EQ(reference.status, 0) << reference.errors;
    const ToolRun again = Capture("--frames 42 --keys 5:space --write 31,41,42 --out '" + Folder("again") + "'");
    ASSERT_EQ(again.status, 0) << again.errors;
    std::set<std::string> names;
    for (const auto &entry : fs::directory_iterator(Folder("reference"))) {
        names.insert(entry.path().filename().string());
    }
    EXPECT_EQ(names,
              (std::set<std::string>{"frame-000031.png", "frame-000041.png", "frame-000042.png", "soundtrack.wav"}));
    for (const std::string &name : names) {
        const std::string first = ReadText(Folder("reference") + "/" + name);
        EXPECT_FALSE(first.empty()) << name;
        EXPECT_TRUE(first == ReadText(Folder("again") + "/" + name)) << name << " differs between two runs";
    }
}

// The hash file of a capture: its lines "FRAME HASH" of the written frames and
// its "sound HASH" match the pictures and the soundtrack as written.
void ExpectHashes(const std::string &name, int32_t frames, const std::vector<int32_t> &written)
{
    const std::string text = ReadText(Folder(name + ".txt"));
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), frames + 1) << text;
    for (const int32_t frame : written) {
        const std::vector<uint32_t> pixels = Frame(Folder(name), frame);
        ASSERT_EQ(pixels.size(), size_t{side * side});
        EXPECT_NE(text.find(CaptureHashLine(std::to_string(frame), HashWords(pixels.data(), side * side))),
                  std::string::npos)
            << "frame " << frame;
    }
    const std::string wav = ReadText(Folder(name) + "/soundtrack.wav");
    ASSERT_GT(wav.size(), 44u);
    const uint64_t sound = HashBytes(reinterpret_cast<const uint8_t *>(wav.data()) + 44, wav.size() - 44);
    EXPECT_TRUE(text.ends_with("\n" + CaptureHashLine("sound", sound))) << text;
}

TEST_F(CaptureRun, HashesAreThoseOfTheWrittenFramesAndSound)
{
    ASSERT_EQ(reference.status, 0) << reference.errors;
    ExpectHashes("reference", 42, {31, 41, 42});
    // A key that quits ends the file too, after the soundtrack of its frame.
    const ToolRun quit = Capture("--frames 50 --keys 20:q --write 20 --out '" + Folder("quit-hashes") + "' --hashes '" +
                                 Folder("quit-hashes.txt") + "'");
    ASSERT_EQ(quit.status, 0) << quit.errors;
    ExpectHashes("quit-hashes", 20, {20});
}

TEST_F(CaptureRun, KeyEightShowsTheRateFromTheNextFrame)
{
    ASSERT_EQ(reference.status, 0) << reference.errors;
    ASSERT_EQ(eight.status, 0) << eight.errors;
    // The one-second window has closed at frame 26: 25 frames, shown as hexadecimal 19.
    ExpectDigits(Frame(Folder("eight"), 31), Frame(Folder("reference"), 31), "19");
}

TEST(CaptureRate, FiftyFramesPerSecondShowAsThirtyTwo)
{
    const ToolRun plain = Capture("--rate 50 --frames 61 --write 61 --out '" + Folder("plain50") + "'");
    const ToolRun shown = Capture("--rate 50 --frames 61 --keys 60:8 --write 61 --out '" + Folder("eight50") + "'");
    ASSERT_EQ(plain.status, 0) << plain.errors;
    ASSERT_EQ(shown.status, 0) << shown.errors;
    ExpectDigits(Frame(Folder("eight50"), 61), Frame(Folder("plain50"), 61), "32");
    // Half a frame's sound per frame: 882 values each.
    EXPECT_EQ(Soundtrack(Folder("plain50")).size(), 61u * 882u);
}

TEST_F(CaptureRun, KeyMStopsTheTrails)
{
    ASSERT_EQ(reference.status, 0) << reference.errors;
    ASSERT_EQ(trails.status, 0) << trails.errors;
    // Frame 40 was faded into frame 41 before its key poll switched fading off.
    EXPECT_EQ(Frame(Folder("trails"), 41), Frame(Folder("reference"), 41));
    // Frame 41 was then cleared: frame 42 holds its own drawing only.
    const std::vector<uint32_t> cleared = Frame(Folder("trails"), 42);
    const std::vector<uint32_t> faded = Frame(Folder("reference"), 42);
    ASSERT_EQ(cleared.size(), faded.size());
    int32_t differing = 0;
    for (size_t i = 0; i < cleared.size(); ++i) {
        differing += cleared[i] != 0 && cleared[i] != faded[i] ? 1 : 0;
    }
    EXPECT_EQ(differing, 0) << "drawn pixels of frame 42 differ from the faded run";
    EXPECT_GT(Lit(cleared), 0);
    EXPECT_LT(Lit(cleared) * 3, Lit(faded)) << "frame 42 still shows trails";
}

TEST(CaptureParts, SpaceShowsEachPartInTurn)
{
    std::string keys;
    std::string write;
    for (int32_t part = 1; part <= 7; ++part) {
        // Appended piece by piece: a character pointer plus a temporary string
        // sets off GCC's restrict warning in optimised builds.
        if (part > 1) {
            keys += ',';
        }
        keys += std::to_string(part * 10);
        keys += ":space";
        write += std::to_string(part * 10) + ",";
    }
    const ToolRun run =
        Capture("--frames 80 --keys " + keys + " --write " + write + "11,80 --out '" + Folder("parts") + "'");
    ASSERT_EQ(run.status, 0) << run.errors;
    // Frames 10, 20, ... 70 are the last of the scroll part and the six parts
    // after it; frame 80 is the scroll part again, after the laser part.
    std::vector<std::vector<uint32_t>> last;
    for (int32_t part = 1; part <= 8; ++part) {
        last.push_back(Frame(Folder("parts"), part * 10));
        ASSERT_EQ(last.back().size(), static_cast<size_t>(side * side)) << "frame " << part * 10;
        EXPECT_GT(Lit(last.back()), 2000) << "frame " << part * 10 << " is nearly black";
    }
    for (size_t a = 0; a < 7; ++a) {
        for (size_t b = a + 1; b < 7; ++b) {
            EXPECT_NE(last[a], last[b]) << "frames " << (a + 1) * 10 << " and " << (b + 1) * 10;
        }
    }
    // The raster bars belong to the scroll part alone, and Space's effect
    // shows in the very next frame.
    EXPECT_TRUE(HasRasterRow(last[0]));
    EXPECT_FALSE(HasRasterRow(Frame(Folder("parts"), 11)));
    for (size_t part = 1; part < 7; ++part) {
        EXPECT_FALSE(HasRasterRow(last[part])) << "frame " << (part + 1) * 10;
    }
    EXPECT_TRUE(HasRasterRow(last[7]));
}

TEST(CaptureSoundtrack, IsTheLoopOfTheFirstMix)
{
    const ToolRun run = Capture("--frames 400 --write none --out '" + Folder("sound") + "'");
    ASSERT_EQ(run.status, 0) << run.errors;
    const std::vector<int16_t> values = Soundtrack(Folder("sound"));
    ASSERT_EQ(values.size(), 400u * valuesPerFrameAt25);
    // The scroll part draws the raster cursor's step and offset step; the
    // music's first update, in frame 1, then draws the clip and four position bits.
    RANDOMSeed(randomSeed);
    RANDOMNext();
    RANDOMNext();
    const int32_t clip = RANDOMNext() % clipCount;
    constexpr int32_t loop = 37000;
    int32_t position = 0;
    for (const int32_t weight : {loop >> 1, loop >> 2, loop >> 3, loop >> 4}) {
        position += (RANDOMNext() % 2) * weight;
    }
    // The next mix is at update 401: until then the loop is a quarter of the
    // clip laid in at its position (rounded down), played back to back.
    std::vector<int32_t> expected(loop, 0);
    for (int32_t i = 0; i < clipLength; ++i) {
        const int32_t v = clipSamples[clip].values[i];
        expected[(position + i) % loop] = (v - ((v % 4 + 4) % 4)) / 4;
    }
    size_t mismatches = 0;
    for (size_t i = 0; i < values.size(); ++i) {
        mismatches += values[i] != expected[i % loop] ? 1 : 0;
    }
    EXPECT_EQ(mismatches, 0u) << "clip " << clip << " at " << position;
    EXPECT_GT(Lit(std::vector<uint32_t>(expected.begin(), expected.end())), 5000);
}

TEST(CaptureLength, SecondsCountDemoTime)
{
    const ToolRun slow = Capture("--seconds 2 --write none --out '" + Folder("two-seconds") + "'");
    ASSERT_EQ(slow.status, 0) << slow.errors;
    EXPECT_EQ(Soundtrack(Folder("two-seconds")).size(), 2u * 44100u);
    // Switching to 50 frames per second at frame 10 still gives one second of sound.
    const ToolRun fast = Capture("--seconds 1 --keys 10:6 --write all --out '" + Folder("one-second") + "'");
    ASSERT_EQ(fast.status, 0) << fast.errors;
    EXPECT_EQ(Soundtrack(Folder("one-second")).size(), 44100u);
    // 10 frames of 40 ms, then 30 of 20 ms.
    EXPECT_TRUE(fs::exists(Folder("one-second") + "/frame-000040.png"));
    EXPECT_FALSE(fs::exists(Folder("one-second") + "/frame-000041.png"));
}

TEST(CaptureLength, QuitKeyEndsTheCaptureAtItsFrame)
{
    const ToolRun run = Capture("--frames 50 --keys 20:q --out '" + Folder("quit") + "'");
    ASSERT_EQ(run.status, 0) << run.errors;
    EXPECT_NE(run.errors.find("quit"), std::string::npos) << run.errors;
    EXPECT_TRUE(fs::exists(Folder("quit") + "/frame-000020.png"));
    // The 32 pictures of the fade-out are not frames.
    EXPECT_FALSE(fs::exists(Folder("quit") + "/frame-000021.png"));
    EXPECT_EQ(Soundtrack(Folder("quit")).size(), 20u * valuesPerFrameAt25);
}

TEST(CaptureErrors, BadRequestsExitWithStatusTwo)
{
    const std::string file = Folder("a-file");
    std::ofstream(file) << "x";
    const std::string cases[] = {
        "--frames 10 --rate 30",
        "--frames 10 --keys 5:nokey",
        "--frames 10 --wrong",
        "--keys 5:b",
        "--frames 10 --out '" + file + "/inside'",
        "--frames 10 --out '" + file + "'",
        "--frames 10 --out '" + Folder("hashless") + "' --hashes '" + file + "/inside'",
    };
    for (const std::string &arguments : cases) {
        const ToolRun run = Capture(arguments);
        EXPECT_EQ(run.status, 2) << arguments;
        EXPECT_NE(run.errors.find("zolt7707-capture: "), std::string::npos) << arguments << ": " << run.errors;
    }
    EXPECT_NE(Capture("--frames 10 --keys 5:nokey").errors.find("unknown key name 'nokey'"), std::string::npos);
    EXPECT_EQ(Capture("--help").status, 0);
}

TEST(CaptureVideo, SaysSoWhenFfmpegIsMissing)
{
    const std::string empty = Folder("empty-path");
    fs::create_directories(empty);
    const ToolRun run = Capture("--frames 5 --video '" + Folder("x.mp4") + "' --out '" + Folder("novideo") + "'",
                                "PATH='" + empty + "'");
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.errors.find("ffmpeg"), std::string::npos) << run.errors;
    EXPECT_FALSE(fs::exists(Folder("x.mp4")));
}

TEST(CaptureVideo, MakesAVideoWhenFfmpegIsThere)
{
    if (std::system("command -v ffmpeg >/dev/null 2>&1") != 0) {
        GTEST_SKIP() << "ffmpeg is not installed";
    }
    const std::string video = Folder("demo.mp4");
    const ToolRun run = Capture("--frames 30 --keys 10:6 --video '" + video + "' --out '" + Folder("video") + "'");
    ASSERT_EQ(run.status, 0) << run.errors;
    EXPECT_GT(fs::file_size(video), 1000u);
    EXPECT_FALSE(fs::exists(Folder("demo.noaudio.mp4")));
}
