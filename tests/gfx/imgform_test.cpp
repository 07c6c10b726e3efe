// The image text form, the anymap readers (file and memory) and the PPM writer.
#include <gtest/gtest.h>

#include "gfx/img.h"
#include "gfx/imgfx.h"
#include "img_helpers.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

constexpr uint32_t W = 0xFFFFFF;

Bytes Of(const std::string &text) { return Bytes(text.begin(), text.end()); }

std::string TempPath(const std::string &name) { return testing::TempDir() + "zolt_img_" + name; }

void WriteFile(const std::string &path, const Bytes &bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char *>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

Bytes ReadFile(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Parses from a heap copy of exactly the given size, so any read past the end is caught.
ImgPtr Parse(const Bytes &bytes)
{
    std::vector<unsigned char> exact(bytes);
    return ImgPtr(IMGParsePNM(exact.empty() ? nullptr : exact.data(), exact.size()));
}

ImgPtr Load(const Bytes &bytes, const std::string &name = "load.pnm")
{
    const std::string path = TempPath(name);
    WriteFile(path, bytes);
    ImgPtr img(IMGLoadPNM(path.c_str()));
    std::remove(path.c_str());
    return img;
}

std::string Text(char *raw)
{
    std::string text = raw == nullptr ? "<null>" : raw;
    delete[] raw;
    return text;
}

// Image of pseudo-random pixels with a zero top byte.
ImgPtr Noise(int32_t w, int32_t h, uint32_t seed)
{
    ImgPtr img = MakeImg(w, h);
    for (int32_t i = 0; i < w * h; ++i) {
        seed = seed * 1664525u + 1013904223u;
        img->pixels[i] = seed >> 8;
    }
    return img;
}

bool HaveTool(const char *tool)
{
    return std::system((std::string("command -v ") + tool + " >/dev/null 2>&1").c_str()) == 0;
}

}  // namespace

TEST(IMGToASCII, WritesSixPixelsALineAndTheClosingBrace)
{
    ImgPtr black = MakeImg(1, 1);
    EXPECT_EQ(Text(IMGToASCII(black.get())), "IMG{\nP3\n1 1\n255\n  0   0   0\n}\n");
    ImgPtr seven = MakeImg(7, 1, {0x010203, 0, 0, 0, 0, 0xFF0A64, 0x0C0D0E});
    EXPECT_EQ(Text(IMGToASCII(seven.get())),
              "IMG{\nP3\n7 1\n255\n"
              "  1   2   3   0   0   0   0   0   0   0   0   0   0   0   0 255  10 100\n"
              " 12  13  14\n}\n");
    ImgPtr six = MakeImg(3, 2);
    const std::string text = Text(IMGToASCII(six.get()));
    EXPECT_EQ(text.substr(text.size() - 6), "  0\n}\n");
    EXPECT_EQ(text.size(), std::strlen("IMG{\nP3\n3 2\n255\n") + 6 * 12 + 2);
}

TEST(IMGToASCII, EmptyAndInvalidImages)
{
    ImgPtr empty = MakeImg(0, 5);
    EXPECT_EQ(Text(IMGToASCII(empty.get())), "IMG{}");
    EXPECT_EQ(Text(IMGFXToASCII(empty.get())), "IMGFX{}");
    EXPECT_EQ(IMGToASCII(nullptr), nullptr);
    IMG bare{2, 2, nullptr};
    EXPECT_EQ(IMGToASCII(&bare), nullptr);
}

TEST(IMGToASCII, TheHeaderFitsAnyWidthAndHeight)
{
    ImgPtr wide = Noise(123457, 1, 5);
    char *raw = IMGToASCII(wide.get());
    ASSERT_NE(raw, nullptr);
    EXPECT_EQ(std::strlen(raw), std::strlen("IMG{\nP3\n123457 1\n255\n") + 123457u * 12 + 2);
    ImgPtr back(IMGFromASCII(raw));
    delete[] raw;
    ASSERT_NE(back, nullptr);
    EXPECT_TRUE(IMGEqual(back.get(), wide.get()));
}

TEST(IMGFromASCII, RoundTripsEveryShapeInBothModules)
{
    const int32_t shapes[][2] = {{1, 1}, {6, 1}, {7, 1}, {1, 7}, {5, 3}, {13, 6}, {16, 16}};
    uint32_t seed = 1;
    for (const auto &s : shapes) {
        ImgPtr img = Noise(s[0], s[1], seed++);
        img->pixels[0] = 0xFFFFFF;
        img->pixels[s[0] * s[1] - 1] = 0;
        ImgPtr back(IMGFromASCII(Text(IMGToASCII(img.get())).c_str()));
        ASSERT_NE(back, nullptr);
        EXPECT_TRUE(IMGEqual(back.get(), img.get())) << s[0] << "x" << s[1];
        ImgPtr fx(IMGFXFromASCII(Text(IMGFXToASCII(img.get())).c_str()));
        ASSERT_NE(fx, nullptr);
        EXPECT_TRUE(IMGEqual(fx.get(), img.get())) << s[0] << "x" << s[1];
    }
}

TEST(IMGFromASCII, TagsOfTheTwoModules)
{
    ImgPtr img = Noise(2, 2, 9);
    const std::string imgText = Text(IMGToASCII(img.get()));
    const std::string fxText = Text(IMGFXToASCII(img.get()));
    EXPECT_EQ(fxText.rfind("IMGFX{\nP3\n2 2\n255\n", 0), 0u);
    EXPECT_EQ(fxText.substr(6), imgText.substr(4));
    ImgPtr fromFx(IMGFromASCII(fxText.c_str()));  // "IMG" occurs at the start of "IMGFX"
    ASSERT_NE(fromFx, nullptr);
    EXPECT_TRUE(IMGEqual(fromFx.get(), img.get()));
    EXPECT_EQ(IMGFXFromASCII(imgText.c_str()), nullptr);
}

TEST(IMGFromASCII, RefusesMissingMarksAndTruncatedText)
{
    const char *bad[] = {"IMG{}",
                         "",
                         "IMG",
                         "IMG{",
                         "IMG{\nP3",
                         "IMG{\nP3\n",
                         "IMG{\nP3\n2 1\n255\n1 2 3 4 5",
                         "IMG{\nP3\n2 1\n255\n1 2 3 4 5 }",
                         "MG{\nP3\n1 1\n255\n1 2 3\n}\n",
                         "IMG\nP3\n1 1\n255\n1 2 3\n}\n",
                         "IMG{\nP6\n1 1\n255\n1 2 3\n}\n",
                         "IMG{\nP3\n65535 65535\n255\n1 2 3\n}\n",
                         "IMG{\nP3\n99999999999 1\n255\n1 2 3\n}\n"};
    for (const char *text : bad) {
        EXPECT_EQ(IMGFromASCII(text), nullptr) << text;
    }
    EXPECT_EQ(IMGFromASCII(nullptr), nullptr);
    // Every prefix that ends before the last sample lacks pixels or marks.
    ImgPtr img = Noise(3, 2, 4);
    const std::string text = Text(IMGToASCII(img.get()));
    for (std::size_t n = 0; n + 6 <= text.size(); ++n) {
        EXPECT_EQ(IMGFromASCII(text.substr(0, n).c_str()), nullptr) << n;
    }
}

TEST(IMGFromASCII, ReadsLooseSamplesAndLetsLargeValuesSpill)
{
    ImgPtr img(IMGFromASCII("junk IMG xx { P3\n2 1\n255\n1,2,3;;256 0 1 trailing"));
    ASSERT_NE(img, nullptr);
    EXPECT_EQ(Pixels(img.get()), (std::vector<uint32_t>{0x010203, 0x1000001}));
}

TEST(IMGFindText, ReturnsTheIndexAfterTheFirstOccurrence)
{
    EXPECT_EQ(IMGFindText("xxIMG{", "IMG"), 5);
    EXPECT_EQ(IMGFindText("xMG", "IMG"), 0);
    EXPECT_EQ(IMGFindText("IMGIMG", "IMG"), 3);
    EXPECT_EQ(IMGFindText(nullptr, "IMG"), 0);
    EXPECT_EQ(IMGFindText("IMG", nullptr), 0);
    EXPECT_EQ(IMGFXFindText("a{b{", "{"), 2);
}

namespace {

struct Variant {
    const char *name;
    std::string bytes;
    int32_t width, height;  // of the memory reader's image
    std::vector<uint32_t> memory;
    int32_t fileWidth;  // 0: the file reader refuses it
    std::vector<uint32_t> file;
};

// Every anymap form through both readers, with the places where the readers differ.
std::vector<Variant> Variants()
{
    const uint32_t g300 = 300u << 16 | 300u << 8 | 300u;
    return {
        {"P1 spaced", "P1\n3 1\n1 0 1\n", 3, 1, {W, 0, W}, 3, {W, 0, W}},
        {"P1 packed", "P1\n3 1\n101", 3, 1, {W, 0, W}, 3, {W, 0, W}},
        {"P1 digits", "P1 2 2 7 0\n00 5 ", 2, 2, {W, 0, 0, 0}, 2, {W, 0, 0, 0}},
        {"P2", "P2\n2 2\n255\n0 128\n255 7\n", 2, 2, {0, 0x808080, W, 0x070707}, 2, {0, 0x808080, W, 0x070707}},
        {"P2 spill", "P2 1 1 255 300 ", 1, 1, {g300}, 1, {g300}},
        {"P3", "P3\n2 1\n255\n10 11 12  13 10 10\n", 2, 1, {0x0A0B0C, 0x0D0A0A}, 2, {0x0A0B0C, 0x0D0A0A}},
        {"P3 comment", "P3 # the size\n1 1 # and\n15 1 2 3", 1, 1, {0x010203}, 1, {0x010203}},
        {"P4",
         std::string("P4\n# comment\n16 1\n\x80\x01", 20),
         16,
         1,
         {W, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, W},
         16,
         {W, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, W}},
        {"P4 width 10",
         std::string("P4 10 2\n\xFF\xC0\x80\x40", 12),
         16,
         2,
         {W, W, W, W, W, W, W, W, W, W, 0, 0, 0, 0, 0, 0, W, 0, 0, 0, 0, 0, 0, 0, 0, W, 0, 0, 0, 0, 0, 0},
         10,
         {W, W, W, W, W, W, W, W, W, W, W, 0, 0, 0, 0, 0, 0, 0, 0, W}},
        {"P5", std::string("P5\n3 1\n255\n\x00\x80\xFF", 14), 3, 1, {0, 0x808080, W}, 3, {0, 0x808080, W}},
        {"P6",
         std::string("P6\n2 1\n255\n\x0A\x0B\x0C\x0D\x0A\x0A", 17),
         2,
         1,
         {0x0A0B0C, 0x0D0A0A},
         2,
         {0x0A0B0C, 0x0D0A0A}},
        {"size before magic",
         std::string("2 1 P5 255\n\x01\x02", 13),
         2,
         1,
         {0x010101, 0x020202},
         2,
         {0x010101, 0x020202}},
        // A stray letter: the file reader consumes it as 0, the memory reader keeps it
        // and skips it as the byte that ends the header.
        {"stray letter", std::string("P5 2 1 x \xAA\xBB", 11), 2, 1, {0x202020, 0xAAAAAA}, 2, {0xAAAAAA, 0xBBBBBB}},
    };
}

}  // namespace

TEST(IMGParsePNM, ReadsEveryFormWithItsOwnDifferencesFromTheFileReader)
{
    for (const Variant &v : Variants()) {
        ImgPtr memory = Parse(Of(v.bytes));
        ASSERT_NE(memory, nullptr) << v.name;
        EXPECT_EQ(memory->width, v.width) << v.name;
        EXPECT_EQ(memory->height, v.height) << v.name;
        EXPECT_EQ(Pixels(memory.get()), v.memory) << v.name;
        ImgPtr file = Load(Of(v.bytes));
        if (v.fileWidth == 0) {
            EXPECT_EQ(file, nullptr) << v.name;
            continue;
        }
        ASSERT_NE(file, nullptr) << v.name;
        EXPECT_EQ(file->width, v.fileWidth) << v.name;
        EXPECT_EQ(Pixels(file.get()), v.file) << v.name;
        ImgPtr fx(IMGFXParsePNM(reinterpret_cast<const unsigned char *>(v.bytes.data()), v.bytes.size()));
        ASSERT_NE(fx, nullptr);
        EXPECT_TRUE(IMGEqual(fx.get(), memory.get())) << v.name;
    }
}

TEST(IMGParsePNM, RefusesBadHeadersInBothReaders)
{
    const std::string bad[] = {
        "P7\n1 1\n255\n\x01\x02\x03",  // magic out of range
        "P0 1 1 1 1",
        "PX 1 1 1 1",
        "P",
        "",
        "P6\n0 1\n255\n\x01\x02\x03",  // zero width
        "P5\n1 0\n255\n\x01",          // zero height
        "# only a comment",
        "P5 3 1 255",                  // header ends with the data
        "P6\n2 1\n255\n\x01\x02\x03",  // data short
        "P4 9 2\n\x01\x02\x03",        // three bytes for two rows of two
        "P3 2 1 255 1 2 3 4 5",
        "P2 2 2 255 1 2 3",
        "P6 100000 100000 255\n\x01\x02\x03",  // far more pixels than data
        "P5 4294967296 1 255\n\x01",
        "P4 2147483647 2\n\x01",
        "P5 99999999999999999999999 1 255\n\x01",
        "1 2 3 x",  // sizes but no magic
    };
    for (const std::string &b : bad) {
        EXPECT_EQ(Parse(Of(b)), nullptr) << b;
        EXPECT_EQ(Load(Of(b)), nullptr) << b;
    }
    EXPECT_EQ(IMGParsePNM(nullptr, 10), nullptr);
    // Memory reader: a letter stands for every missing number, so the width is 0.
    EXPECT_EQ(Parse(Of("P5 x 2 255 \x01\x02")), nullptr);
}

TEST(IMGParsePNM, EveryTruncatedRawFileIsRefused)
{
    for (const Variant &v : Variants()) {
        // The stray letter's memory reading takes its data from one byte earlier.
        if (v.bytes[1] < '4' || v.bytes[0] != 'P' || std::string(v.name) == "stray letter") {
            continue;
        }
        for (std::size_t n = 0; n < v.bytes.size(); ++n) {
            const Bytes prefix(v.bytes.begin(), v.bytes.begin() + static_cast<std::ptrdiff_t>(n));
            EXPECT_EQ(Parse(prefix), nullptr) << v.name << " " << n;
            EXPECT_EQ(Load(prefix), nullptr) << v.name << " " << n;
        }
    }
}

TEST(IMGParsePNM, TruncatedPlainFilesNeverReadPastTheirEnd)
{
    for (const Variant &v : Variants()) {
        for (std::size_t n = 0; n < v.bytes.size(); ++n) {
            const Bytes prefix(v.bytes.begin(), v.bytes.begin() + static_cast<std::ptrdiff_t>(n));
            ImgPtr memory = Parse(prefix);
            ImgPtr file = Load(prefix);
            // Only a prefix that still holds every sample may give an image.
            if (memory != nullptr) {
                EXPECT_EQ(memory->width * memory->height, v.width * v.height) << v.name << " " << n;
            }
        }
    }
}

TEST(IMGLoadPNM, RefusesMissingFiles)
{
    EXPECT_EQ(IMGLoadPNM(nullptr), nullptr);
    EXPECT_EQ(IMGLoadPNM(TempPath("does_not_exist.pnm").c_str()), nullptr);
    EXPECT_EQ(IMGLoadPNM(testing::TempDir().c_str()), nullptr);  // a directory
}

TEST(IMGSavePPM, WritesTheHeaderAndExactlyThePixelBytes)
{
    ImgPtr img = MakeImg(2, 1, {0xFF0A0B0C, 0x0D0A0A});
    const std::string path = TempPath("save.ppm");
    ASSERT_TRUE(IMGSavePPM(img.get(), path.c_str()));
    const Bytes bytes = ReadFile(path);
    ASSERT_EQ(bytes.size(), 33u);
    const std::string header(bytes.begin(), bytes.begin() + 27);
    EXPECT_EQ(header.substr(0, 5), "P6\n# ");
    EXPECT_EQ(header.find('\n', 3), 18u);  // the comment line is 16 bytes
    EXPECT_EQ(header.substr(19), "2 1\n255\n");
    EXPECT_EQ(Bytes(bytes.begin() + 27, bytes.end()), (Bytes{0x0A, 0x0B, 0x0C, 0x0D, 0x0A, 0x0A}));
    // It reads back through both readers.
    img->pixels[0] = 0x0A0B0C;
    ImgPtr file(IMGLoadPNM(path.c_str()));
    ImgPtr memory = Parse(bytes);
    ASSERT_NE(file, nullptr);
    ASSERT_NE(memory, nullptr);
    EXPECT_TRUE(IMGEqual(file.get(), img.get()));
    EXPECT_TRUE(IMGEqual(memory.get(), img.get()));
    std::remove(path.c_str());
}

TEST(IMGSavePPM, ReportsFailureInsteadOfSuccess)
{
    ImgPtr img = MakeImg(2, 1);
    ImgPtr empty = MakeImg(0, 4);
    const std::string path = TempPath("refused.ppm");
    EXPECT_FALSE(IMGSavePPM(nullptr, path.c_str()));
    EXPECT_FALSE(IMGSavePPM(img.get(), nullptr));
    EXPECT_FALSE(IMGSavePPM(empty.get(), path.c_str()));
    EXPECT_FALSE(IMGSavePPM(img.get(), (TempPath("no_such_dir") + "/x.ppm").c_str()));
    EXPECT_FALSE(IMGSavePPM(img.get(), testing::TempDir().c_str()));
    if (std::FILE *full = std::fopen("/dev/full", "wb")) {
        std::fclose(full);
        EXPECT_FALSE(IMGSavePPM(img.get(), "/dev/full"));
    }
    EXPECT_TRUE(IMGFXSavePPM(img.get(), path.c_str()));
    std::remove(path.c_str());
}

TEST(IMGSavePPM, OpensInStandardImageTools)
{
    if (!HaveTool("pamfile") && !HaveTool("identify")) {
        GTEST_SKIP() << "neither pamfile nor identify is installed";
    }
    ImgPtr img = Noise(37, 11, 3);
    const std::string path = TempPath("tools.ppm");
    const std::string out = TempPath("tools.txt");
    ASSERT_TRUE(IMGSavePPM(img.get(), path.c_str()));
    if (HaveTool("pamfile")) {
        ASSERT_EQ(std::system(("pamfile " + path + " >" + out + " 2>&1").c_str()), 0);
        const Bytes said = ReadFile(out);
        EXPECT_NE(std::string(said.begin(), said.end()).find("PPM raw, 37 by 11  maxval 255"), std::string::npos)
            << std::string(said.begin(), said.end());
    }
    if (HaveTool("identify")) {
        ASSERT_EQ(std::system(("identify -format '%m %wx%h' " + path + " >" + out + " 2>&1").c_str()), 0);
        const Bytes said = ReadFile(out);
        EXPECT_EQ(std::string(said.begin(), said.end()), "PPM 37x11");
    }
    std::remove(path.c_str());
    std::remove(out.c_str());
}

TEST(IMGLoadPNM, ReadsFilesWrittenByStandardTools)
{
    if (!HaveTool("pbmmake") || !HaveTool("pgmramp") || !HaveTool("ppmmake") || !HaveTool("pnmtoplainpnm")) {
        GTEST_SKIP() << "netpbm tools are not installed";
    }
    struct Case {
        std::string command;
        int32_t width, fileWidth, height;
        std::vector<uint32_t> memory, file;
    };
    const uint32_t b = 0;
    const Case cases[] = {
        // A set PBM bit (black to the tools) is white here; P4 rows round up in memory.
        {"pbmmake -black 3 2", 8, 3, 2, {W, W, W, b, b, b, b, b, W, W, W, b, b, b, b, b}, {W, W, W, W, W, W}},
        {"pbmmake -white 2 1", 8, 2, 1, std::vector<uint32_t>(8, b), {b, b}},
        // Plain PBM from the tools packs digits without separators: one pixel each.
        {"pbmmake -gray 4 2 | pnmtoplainpnm", 4, 4, 2, {b, W, b, W, W, b, W, b}, {b, W, b, W, W, b, W, b}},
        {"pbmmake -plain -black 2 2", 2, 2, 2, {W, W, W, W}, {W, W, W, W}},
        {"pgmramp -lr 4 1", 4, 4, 1, {0, 0x555555, 0xAAAAAA, W}, {0, 0x555555, 0xAAAAAA, W}},
        {"pgmramp -lr 4 1 | pnmtoplainpnm", 4, 4, 1, {0, 0x555555, 0xAAAAAA, W}, {0, 0x555555, 0xAAAAAA, W}},
        {"ppmmake rgb:0a/0b/0c 2 1", 2, 2, 1, {0x0A0B0C, 0x0A0B0C}, {0x0A0B0C, 0x0A0B0C}},
        {"ppmmake rgb:0a/0b/0c 2 1 | pnmtoplainpnm", 2, 2, 1, {0x0A0B0C, 0x0A0B0C}, {0x0A0B0C, 0x0A0B0C}},
    };
    const std::string path = TempPath("tool.pnm");
    for (const Case &c : cases) {
        ASSERT_EQ(std::system((c.command + " >" + path + " 2>/dev/null").c_str()), 0) << c.command;
        const Bytes bytes = ReadFile(path);
        ImgPtr memory = Parse(bytes);
        ASSERT_NE(memory, nullptr) << c.command;
        EXPECT_EQ(memory->width, c.width) << c.command;
        EXPECT_EQ(memory->height, c.height) << c.command;
        EXPECT_EQ(Pixels(memory.get()), c.memory) << c.command;
        ImgPtr file(IMGLoadPNM(path.c_str()));
        ASSERT_NE(file, nullptr) << c.command;
        EXPECT_EQ(file->width, c.fileWidth) << c.command;
        EXPECT_EQ(Pixels(file.get()), c.file) << c.command;
    }
    std::remove(path.c_str());
}
