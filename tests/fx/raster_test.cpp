#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <iterator>
#include <string>

#include "../alloc_limit.h"
#include "fx/raster.h"
#include "fx_images.h"

namespace {

using fxtest::Image;

const std::string rasterError = "RASTER error\n";

// Runs call and returns what it printed.
template <typename F>
std::string Printed(F call)
{
    testing::internal::CaptureStdout();
    call();
    return testing::internal::GetCapturedStdout();
}

class RasterTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        raster = RASTERNew();
        ASSERT_NE(raster, nullptr);
    }
    void TearDown() override { RASTERFree(&raster); }
    RASTER *raster = nullptr;
};

TEST_F(RasterTest, NewIsTwoHundredFiftySixBlackRows)
{
    EXPECT_EQ(raster->size, 256);
    EXPECT_EQ(raster->offset, 0);
    for (int32_t i = 0; i < raster->size; ++i) {
        ASSERT_EQ(raster->colours[i], 0);
    }
}

TEST_F(RasterTest, DrawStartsAtTheOffsetAndWraps)
{
    for (int32_t i = 0; i < 256; ++i) {
        raster->colours[i] = i + 1;
    }
    raster->offset = 255;
    Image image(3, 256);
    IMGSetPixel(image.get(), 1, 7, 0xABCDEF);
    RASTERDraw(raster, image.get());
    for (int32_t x = 0; x < 3; ++x) {
        EXPECT_EQ(image.at(x, 0), 256u);
        EXPECT_EQ(image.at(x, 1), 1u);
        EXPECT_EQ(image.at(x, 7), 7u);
    }
}

TEST_F(RasterTest, ShortListRepeatsDownTallImage)
{
    RASTERSetSize(raster, 3);
    raster->colours[0] = 0x10;
    raster->colours[1] = 0x20;
    raster->colours[2] = 0x30;
    raster->offset = 1;
    Image image(2, 7);
    RASTERDraw(raster, image.get());
    const uint32_t expected[7] = {0x20, 0x30, 0x10, 0x20, 0x30, 0x10, 0x20};
    for (int32_t y = 0; y < 7; ++y) {
        EXPECT_EQ(image.at(1, y), expected[y]) << y;
    }
}

TEST_F(RasterTest, OffsetOutOfRangeStaysInsideTheList)
{
    RASTERSetSize(raster, 4);
    raster->colours[3] = 0x33;
    raster->offset = -1;
    Image image(1, 2);
    RASTERDraw(raster, image.get());
    EXPECT_EQ(image.at(0, 0), 0x33u);
    raster->offset = 7;
    RASTERDraw(raster, image.get());
    EXPECT_EQ(image.at(0, 0), 0x33u);
}

TEST_F(RasterTest, StepWrapsToZero)
{
    raster->offset = 254;
    RASTERStep(raster);
    EXPECT_EQ(raster->offset, 255);
    RASTERStep(raster);
    EXPECT_EQ(raster->offset, 0);
    RASTERSetSize(raster, 0);
    RASTERStep(raster);
    EXPECT_EQ(raster->offset, 0);
}

TEST_F(RasterTest, SmoothWrapsUpperAndMirrorsLowerNeighbours)
{
    raster->colours[0] = 0x0000FF;
    RASTERSmooth(raster, 1);
    EXPECT_EQ(raster->colours[0], 127);
    EXPECT_EQ(raster->colours[1], 63);
    EXPECT_EQ(raster->colours[255], 63);
    EXPECT_EQ(raster->colours[2], 0);
    EXPECT_EQ(raster->colours[254], 0);
}

TEST_F(RasterTest, SmoothMirrorsAtIndexZeroWithWiderRadius)
{
    RASTERSetSize(raster, 8);
    raster->colours[1] = 0x00FF00;
    raster->colours[6] = 0x0C0000;
    RASTERSmooth(raster, 2);
    // Index 0 meets index 1 twice (above, and mirrored below) and never the wrapped 6 or 7.
    EXPECT_EQ(raster->colours[0], (255 + 255) / 6 << 8);
    // Index 7 meets 0 and 1 above (wrapped) and 6, 5 below.
    EXPECT_EQ(raster->colours[7], (255 / 6 << 8) | (12 / 6 << 16));
    // Index 1: 2 x own, then 2, 3 above and 0, 1 below (|1 - 2| = 1).
    EXPECT_EQ(raster->colours[1], (3 * 255 / 6) << 8);
}

TEST_F(RasterTest, SmoothKeepsChannelsApart)
{
    RASTERSetSize(raster, 4);
    for (int32_t i = 0; i < 4; ++i) {
        raster->colours[i] = 0xFFFFFF;
    }
    RASTERSmooth(raster, 3);
    for (int32_t i = 0; i < 4; ++i) {
        EXPECT_EQ(raster->colours[i], 0xFFFFFF) << i;
    }
}

TEST_F(RasterTest, BlendWeightsRunFromKeepToDraw)
{
    raster->colours[0] = 0xFF0000;
    raster->colours[1] = 0x00FF80;
    Image image(2, 2);
    IMGSetPixel(image.get(), 0, 1, 0x804020);
    RASTERDrawBlend(raster, image.get(), 128);
    EXPECT_EQ(image.at(0, 0), 0x7F0000u);
    EXPECT_EQ(image.at(0, 1),
              ((0x80 * 128) >> 8 << 16) | (((0x40 + 0xFF) * 128) >> 8 << 8) | (((0x20 + 0x80) * 128) >> 8));

    Image kept(2, 2);
    IMGSetPixel(kept.get(), 1, 1, 0x123456);
    RASTERDrawBlend(raster, kept.get(), 0);
    EXPECT_EQ(kept.at(1, 1), 0x123456u);
    EXPECT_EQ(kept.at(0, 0), 0u);

    Image full(2, 2);
    Image drawn(2, 2);
    IMGSetPixel(full.get(), 1, 0, 0x777777);
    RASTERDrawBlend(raster, full.get(), 256);
    RASTERDraw(raster, drawn.get());
    EXPECT_TRUE(IMGEqual(full.get(), drawn.get()));

    EXPECT_EQ(Printed([&] { RASTERDrawBlend(raster, full.get(), 257); }), rasterError);
    EXPECT_EQ(Printed([&] { RASTERDrawBlend(raster, full.get(), -1); }), rasterError);
    EXPECT_TRUE(IMGEqual(full.get(), drawn.get()));
}

TEST_F(RasterTest, CopyEqualsOriginalAndPrintsNothing)
{
    raster->colours[17] = 0x445566;
    raster->offset = 9;
    std::string out = Printed([&] {
        RASTER *copy = RASTERCopy(raster);
        ASSERT_NE(copy, nullptr);
        EXPECT_EQ(copy->offset, 0);
        EXPECT_TRUE(RASTEREqual(raster, copy));
        copy->colours[17] = 0;
        EXPECT_FALSE(RASTEREqual(raster, copy));
        RASTERSetSize(copy, 255);
        EXPECT_FALSE(RASTEREqual(raster, copy));
        RASTERFree(&copy);
    });
    EXPECT_EQ(out, "");
    EXPECT_EQ(Printed([&] { EXPECT_FALSE(RASTEREqual(raster, nullptr)); }), rasterError);
}

TEST_F(RasterTest, RefusalsPrintAndChangeNothing)
{
    int32_t *colours = raster->colours;
    EXPECT_EQ(Printed([&] { EXPECT_EQ(RASTERSetSize(raster, -1), nullptr); }), rasterError);
    EXPECT_EQ(raster->colours, colours);
    EXPECT_EQ(raster->size, 256);
    EXPECT_EQ(Printed([&] { RASTERSmooth(raster, 0); }), rasterError);
    EXPECT_EQ(Printed([] { RASTERFree(nullptr); }), rasterError);
    EXPECT_EQ(Printed([] { RASTERStep(nullptr); }), rasterError);
    EXPECT_EQ(Printed([] { EXPECT_EQ(RASTERCopy(nullptr), nullptr); }), rasterError);
    EXPECT_EQ(Printed([&] {
                  AllocationLimit none(0);
                  EXPECT_EQ(RASTERCopy(raster), nullptr);
              }),
              rasterError);
    EXPECT_EQ(Printed([] { EXPECT_EQ(RASTERToASCII(nullptr), nullptr); }), rasterError);

    // An image without pixels is refused; a missing image goes to the image module's report.
    IMG bare{4, 4, nullptr};
    EXPECT_EQ(Printed([&] { RASTERDraw(raster, &bare); }), rasterError);
    EXPECT_EQ(Printed([&] { RASTERDraw(raster, nullptr); }), "");

    // A raster of size 0 draws nothing and reports nothing.
    RASTERSetSize(raster, 0);
    Image image(2, 2);
    IMGSetPixel(image.get(), 0, 0, 5);
    EXPECT_EQ(Printed([&] {
                  RASTERDraw(raster, image.get());
                  RASTERSmooth(raster, 2);
                  RASTERClear(raster);
              }),
              "");
    EXPECT_EQ(image.at(0, 0), 5u);
}

TEST_F(RasterTest, ClearBlackensEveryColour)
{
    for (int32_t i = 0; i < raster->size; ++i) {
        raster->colours[i] = 0xFFFFFF;
    }
    RASTERClear(raster);
    RASTER *black = RASTERNew();
    EXPECT_TRUE(RASTEREqual(raster, black));
    RASTERFree(&black);
}

TEST_F(RasterTest, SaveAndLoadStoreNothing)
{
    const std::string path = testing::TempDir() + "zolt_raster_test.bin";
    {
        std::FILE *file = std::fopen(path.c_str(), "w");
        ASSERT_NE(file, nullptr);
        std::fputs("old content", file);
        std::fclose(file);
    }
    EXPECT_TRUE(RASTERSave(raster, path.c_str()));
    std::FILE *file = std::fopen(path.c_str(), "rb");
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(std::fgetc(file), EOF);
    std::fclose(file);

    namespace fs = std::filesystem;
    const auto openFiles = [] {
        return std::distance(fs::directory_iterator("/proc/self/fd"), fs::directory_iterator());
    };
    const auto before = openFiles();
    RASTER *loaded = RASTERLoad(path.c_str());
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(openFiles(), before);  // nothing left open
    EXPECT_EQ(loaded->size, 0);
    EXPECT_EQ(Printed([&] { EXPECT_FALSE(RASTERSave(loaded, path.c_str())); }), rasterError);
    RASTERFree(&loaded);
    std::remove(path.c_str());

    EXPECT_EQ(Printed([&] { EXPECT_EQ(RASTERLoad(path.c_str()), nullptr); }), rasterError);
    EXPECT_EQ(Printed([] { EXPECT_EQ(RASTERLoad(nullptr), nullptr); }), rasterError);
    EXPECT_EQ(Printed([&] { EXPECT_FALSE(RASTERSave(raster, nullptr)); }), rasterError);
    const std::string missingDir = testing::TempDir() + "no/such/dir/raster";
    EXPECT_EQ(Printed([&] { EXPECT_FALSE(RASTERSave(raster, missingDir.c_str())); }), rasterError);
}

TEST(RASTERProtocol, PlaceholdersAndFree)
{
    RASTER *raster = RASTERNew();
    EXPECT_EQ(RASTERToASCII(raster), nullptr);
    EXPECT_EQ(RASTERFromASCII("RASTER"), nullptr);
    RASTERFree(&raster);
    EXPECT_EQ(raster, nullptr);
    EXPECT_EQ(Printed([&] { RASTERFree(&raster); }), rasterError);
}

}  // namespace
