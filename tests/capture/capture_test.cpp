// The capture tool's pieces on their own: command line, key names, frame
// choice, and the WAV and PNG writers.
#include <gtest/gtest.h>
#include <png.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "capture.h"

namespace {

bool Parse(std::vector<const char *> arguments, CaptureOptions *options, std::string *error)
{
    arguments.insert(arguments.begin(), "zolt7707-capture");
    return CaptureParse(static_cast<int>(arguments.size()), arguments.data(), options, error);
}

}  // namespace

TEST(CaptureParse, ReadsEveryOption)
{
    CaptureOptions options;
    std::string error;
    ASSERT_TRUE(Parse({"--frames", "500", "--rate=50", "--keys", "250:b,100:space", "--keys=400:8", "--write",
                       "every:10", "--out", "shots", "--hashes", "h.txt", "--quiet"},
                      &options, &error))
        << error;
    EXPECT_EQ(options.frames, 500);
    EXPECT_EQ(options.rate, 50);
    ASSERT_EQ(options.keys.size(), 3u);
    // Sorted by frame, whatever order the script gave.
    EXPECT_EQ(options.keys[0].frame, 100);
    EXPECT_EQ(options.keys[0].code, 32);
    EXPECT_EQ(options.keys[1].frame, 250);
    EXPECT_EQ(options.keys[1].code, 'b');
    EXPECT_EQ(options.keys[2].code, '8');
    EXPECT_EQ(options.write, CaptureWrite::Every);
    EXPECT_EQ(options.every, 10);
    EXPECT_EQ(options.out, "shots");
    EXPECT_EQ(options.hashes, "h.txt");
    EXPECT_EQ(options.progress, CaptureProgress::Off);
}

TEST(CaptureParse, DefaultsAndWhatTheySettle)
{
    CaptureOptions options;
    std::string error;
    ASSERT_TRUE(Parse({"--seconds", "2.5"}, &options, &error)) << error;
    EXPECT_EQ(options.spanMicroseconds, 2500000);
    EXPECT_EQ(options.frames, 0);
    EXPECT_EQ(options.rate, 25);
    EXPECT_EQ(options.write, CaptureWrite::All);
    EXPECT_EQ(options.out, "capture");
    // A list alone sets the length to its last frame.
    ASSERT_TRUE(Parse({"--write", "30,5-7,5"}, &options, &error)) << error;
    EXPECT_EQ(options.frames, 30);
    EXPECT_EQ(options.list, (std::vector<int32_t>{5, 6, 7, 30}));
    // A video alone writes no pictures unless asked to.
    ASSERT_TRUE(Parse({"--frames", "3", "--video", "demo.mp4"}, &options, &error)) << error;
    EXPECT_EQ(options.write, CaptureWrite::None);
    ASSERT_TRUE(Parse({"--frames", "3", "--video", "demo.mp4", "--write", "all"}, &options, &error)) << error;
    EXPECT_EQ(options.write, CaptureWrite::All);
    ASSERT_TRUE(Parse({"--help"}, &options, &error));
    EXPECT_TRUE(options.help);
}

TEST(CaptureParse, RefusesWhatItCannotUse)
{
    struct Case {
        std::vector<const char *> arguments;
        const char *message;  // a part of the error
    };
    const Case cases[] = {
        {{"--frames", "10", "--bogus"}, "unknown option"},
        {{"--frames"}, "needs a value"},
        {{"--frames", "0"}, "--frames"},
        {{"--frames", "1000001"}, "--frames"},
        {{"--frames", "12x"}, "--frames"},
        {{"--frames", "-5"}, "--frames"},
        {{"--seconds", "0"}, "--seconds"},
        {{"--seconds", "1."}, "--seconds"},
        {{"--seconds", "1.1234567"}, "--seconds"},
        {{"--frames", "10", "--rate", "30"}, "25 or 50"},
        {{"--frames", "10", "--keys", "5:foo"}, "unknown key name 'foo'"},
        {{"--frames", "10", "--keys", "5:"}, "unknown key name"},
        {{"--frames", "10", "--keys", "0:b"}, "FRAME:KEY"},
        {{"--frames", "10", "--keys", "b"}, "FRAME:KEY"},
        {{"--frames", "10", "--keys", "5:b,,6:m"}, "FRAME:KEY"},
        {{"--frames", "10", "--keys", "5:b", "--keys", "5:m"}, "two keys at frame 5"},
        {{"--frames", "10", "--write", "every:0"}, "every:K"},
        {{"--frames", "10", "--write", "7-3"}, "--write"},
        {{"--frames", "10", "--write", "5,11"}, "past the last frame 10"},
        {{"--frames", "10", "--seconds", "1"}, "not both"},
        {{"--rate", "50"}, "how long"},
        {{"--frames", "10", "--out", ""}, "--out"},
        {{"--frames", "10", "--hashes", ""}, "--hashes"},
        {{"--frames", "10", "--quiet=1"}, "takes no value"},
    };
    for (const Case &c : cases) {
        CaptureOptions options;
        std::string error;
        EXPECT_FALSE(Parse(c.arguments, &options, &error)) << c.message;
        EXPECT_NE(error.find(c.message), std::string::npos) << "got: " << error;
    }
}

TEST(CaptureKeyCode, NamesTheDemosKeys)
{
    EXPECT_EQ(CaptureKeyCode("space"), 32);
    EXPECT_EQ(CaptureKeyCode("esc"), 27);
    EXPECT_EQ(CaptureKeyCode("escape"), 27);
    EXPECT_EQ(CaptureKeyCode("q"), 'q');
    // SDL reports the letter keys as lower-case symbols, shifted or not.
    EXPECT_EQ(CaptureKeyCode("Q"), 'q');
    EXPECT_EQ(CaptureKeyCode("5"), '5');
    EXPECT_EQ(CaptureKeyCode("return"), 13);
    EXPECT_EQ(CaptureKeyCode("SPACE"), -1);
    EXPECT_EQ(CaptureKeyCode("f1"), -1);
    EXPECT_EQ(CaptureKeyCode(","), -1);
    EXPECT_EQ(CaptureKeyCode(""), -1);
}

TEST(CaptureSelected, AllEveryAndList)
{
    CaptureOptions options = CaptureDefaults();
    EXPECT_TRUE(CaptureSelected(options, 1));
    options.write = CaptureWrite::Every;
    options.every = 3;
    EXPECT_FALSE(CaptureSelected(options, 1));
    EXPECT_TRUE(CaptureSelected(options, 3));
    EXPECT_TRUE(CaptureSelected(options, 9));
    options.write = CaptureWrite::List;
    options.list = {2, 40};
    EXPECT_TRUE(CaptureSelected(options, 40));
    EXPECT_FALSE(CaptureSelected(options, 3));
    options.write = CaptureWrite::None;
    EXPECT_FALSE(CaptureSelected(options, 2));
    EXPECT_EQ(CaptureFrameName(42), "frame-000042.png");
    EXPECT_EQ(CaptureFrameName(1000000), "frame-1000000.png");
    EXPECT_EQ(CaptureHashLine("42", 0xABCDEFull), "42 0000000000abcdef\n");
}

TEST(CaptureWavHeader, DescribesSixteenBitMonoAt44100)
{
    uint8_t header[44];
    CaptureWavHeader(1764, header);
    const uint8_t expected[44] = {'R',  'I', 'F', 'F', 0xEC, 0x0D, 0,   0,   'W', 'A',  'V',  'E',  'f', 'm',  't',
                                  ' ',  16,  0,   0,   0,    1,    0,   1,   0,   0x44, 0xAC, 0,    0,   0x88, 0x58,
                                  0x01, 0,   2,   0,   16,   0,    'd', 'a', 't', 'a',  0xC8, 0x0D, 0,   0};
    for (int i = 0; i < 44; ++i) {
        EXPECT_EQ(header[i], expected[i]) << "byte " << i;
    }
}

TEST(CaptureWritePng, KeepsEveryPixelAndReportsFailure)
{
    const std::string path = testing::TempDir() + "capture_png_test.png";
    const uint32_t pixels[6] = {0xFF0000, 0x00FF00, 0x0000FF, 0x000000, 0xFFFFFF, 0x123456};
    std::string error;
    ASSERT_TRUE(CaptureWritePng(path, pixels, 3, 2, &error)) << error;
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    ASSERT_NE(png_image_begin_read_from_file(&image, path.c_str()), 0);
    EXPECT_EQ(image.width, 3u);
    EXPECT_EQ(image.height, 2u);
    // No alpha channel: black is a colour, not transparency.
    EXPECT_EQ(image.format & PNG_FORMAT_FLAG_ALPHA, 0u);
    image.format = PNG_FORMAT_RGB;
    std::vector<uint8_t> rgb(PNG_IMAGE_SIZE(image));
    ASSERT_NE(png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr), 0);
    for (int i = 0; i < 6; ++i) {
        const uint32_t read = (uint32_t{rgb[3 * i]} << 16) | (uint32_t{rgb[3 * i + 1]} << 8) | rgb[3 * i + 2];
        EXPECT_EQ(read, pixels[i]) << "pixel " << i;
    }
    std::filesystem::remove(path);
    EXPECT_FALSE(CaptureWritePng("/nonexistent-folder/x.png", pixels, 3, 2, &error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(CaptureWritePng(path, nullptr, 3, 2, &error));
}
