#include <gtest/gtest.h>

#include <string>

#include "fx/sinedots.h"
#include "fx/sineline.h"
#include "fx_images.h"
#include "gfx/random.h"

namespace {

using fxtest::Image;

void ExpectSameFigure(const SINELINE *a, const SINEDOTS *b)
{
    const SINELINETRIPLE SINELINE::*fields[] = {
        &SINELINE::phase1,     &SINELINE::phase2,     &SINELINE::phase3, &SINELINE::speed1, &SINELINE::speed2,
        &SINELINE::speed3,     &SINELINE::step1,      &SINELINE::step2,  &SINELINE::step3,  &SINELINE::amplitude1,
        &SINELINE::amplitude2, &SINELINE::amplitude3, &SINELINE::size};
    for (auto field : fields) {
        EXPECT_EQ((a->*field).x, (b->*field).x);
        EXPECT_EQ((a->*field).y, (b->*field).y);
        EXPECT_EQ((a->*field).z, (b->*field).z);
    }
    EXPECT_EQ(a->colour, b->colour);
    EXPECT_EQ(a->count, b->count);
}

TEST(SINEDOTSNew, MatchesTheSineLineFromTheSameSeed)
{
    RANDOMSeed(2024);
    SINELINE *line = SINELINENew();
    const uint32_t afterLine = RANDOMState();
    RANDOMSeed(2024);
    SINEDOTS *dots = SINEDOTSNew();
    EXPECT_EQ(RANDOMState(), afterLine);
    ASSERT_NE(line, nullptr);
    ASSERT_NE(dots, nullptr);
    ExpectSameFigure(line, dots);

    RANDOMSeed(5);
    SINELINERandomize(line);
    RANDOMSeed(5);
    SINEDOTSRandomize(dots);
    ExpectSameFigure(line, dots);
    SINELINEFree(&line);
    SINEDOTSFree(&dots);
}

TEST(SINEDOTSDraw, DotsLieOnTheLineEndPoints)
{
    RANDOMSeed(77);
    SINELINE *line = SINELINENew();
    RANDOMSeed(77);
    SINEDOTS *dots = SINEDOTSNew();
    SINELINESetCount(line, 300);
    SINEDOTSSetCount(dots, 300);
    for (int frame = 0; frame < 3; ++frame) {
        SINELINEUpdate(line);
        SINEDOTSUpdate(dots);
    }
    Image lineImage(256, 256);
    Image dotImage(256, 256);
    SINELINEDraw(line, lineImage.get());
    SINEDOTSDraw(dots, dotImage.get());
    const auto lineLit = fxtest::Lit(lineImage);
    const auto dotLit = fxtest::Lit(dotImage);
    ASSERT_FALSE(dotLit.empty());
    // Dots never fill the gaps between the points: far fewer pixels than the line.
    EXPECT_LT(dotLit.size(), lineLit.size());
    EXPECT_LE(dotLit.size(), 300u);
    EXPECT_GT(dotLit.size(), 1u);  // each dot at its own phase, not all at the first
    for (const auto &dot : dotLit) {
        EXPECT_TRUE(lineLit.count(dot)) << dot.first << "," << dot.second;
        EXPECT_EQ(dotImage.at(dot.first, dot.second), 0xFF0000u);
    }
    SINELINEFree(&line);
    SINEDOTSFree(&dots);
}

TEST(SINEDOTSDraw, ZeroPhasesPutTheFirstDotAtTheCentre)
{
    SINEDOTS *dots = SINEDOTSNew();
    dots->phase1 = dots->phase2 = dots->phase3 = {0, 0, 0};
    SINEDOTSSetCount(dots, 1);
    Image image(100, 60);
    SINEDOTSDraw(dots, image.get());
    const auto lit = fxtest::Lit(image);
    ASSERT_EQ(lit.size(), 1u);
    EXPECT_EQ(*lit.begin(), std::make_pair(50, 30));
    SINEDOTSFree(&dots);
}

TEST(SINEDOTSError, NeverPrints)
{
    testing::internal::CaptureStdout();
    SINEDOTS *none = nullptr;
    SINEDOTSFree(&none);
    SINEDOTSDraw(nullptr, nullptr);
    SINEDOTSSetCount(nullptr, 3);
    SINEDOTSUpdate(nullptr);
    SINEDOTSRandomize(nullptr);
    SINEDOTSError();
    EXPECT_EQ(SINEDOTSCopy(nullptr), nullptr);
    SINEDOTS *dots = SINEDOTSNew();
    SINEDOTSSetCount(dots, 0);
    EXPECT_EQ(dots->count, 16);
    SINEDOTSDraw(dots, nullptr);
    EXPECT_EQ(SINEDOTSToASCII(dots), nullptr);
    EXPECT_EQ(SINEDOTSFromASCII(nullptr), nullptr);
    EXPECT_FALSE(SINEDOTSEqual(dots, nullptr));
    SINEDOTS *copy = SINEDOTSCopy(dots);
    EXPECT_NE(copy, nullptr);
    SINEDOTSFree(&copy);
    SINEDOTSFree(&dots);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), std::string());
}

}  // namespace
