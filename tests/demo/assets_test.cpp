// Checks of the demo's built-in material: the layouts the readers and the
// driver rely on, and the properties that make the fonts and clips usable.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "audio/music.h"
#include "audio/sample.h"
#include "demo/assets.h"
#include "fnv.h"
#include "gfx/img.h"
#include "gfx/random.h"
#include "gfx/seg2d.h"
#include "gfx/vec2d.h"
#include "vector/obj2d.h"

namespace {

constexpr int32_t cell = 16;

std::vector<std::string> Lines(const char *text)
{
    std::vector<std::string> lines;
    std::string line;
    for (const char *c = text; *c != '\0'; ++c) {
        if (*c == '\n') {
            lines.push_back(line);
            line.clear();
        } else {
            line += *c;
        }
    }
    if (!line.empty()) {
        lines.push_back(line);
    }
    return lines;
}

// The parsed wire font, released after each test.
class WireFont : public ::testing::Test {
protected:
    void SetUp() override { glyphs = OBJ2DParse(fontText); }
    void TearDown() override
    {
        if (glyphs == nullptr) {
            return;
        }
        for (int32_t i = 0; i < glyphs->count; ++i) {
            OBJ2D *glyph = static_cast<OBJ2D *>(LISTGet(glyphs, i));
            if (glyph != nullptr) {
                OBJ2DFree(&glyph);
            }
        }
        LISTFree(&glyphs);
    }
    OBJ2D *Glyph(int32_t code) const { return static_cast<OBJ2D *>(LISTGet(glyphs, code)); }
    std::vector<int32_t> Coordinates(int32_t code) const
    {
        std::vector<int32_t> out;
        const OBJ2D *glyph = Glyph(code);
        for (int32_t i = 0; i < glyph->segments->count; ++i) {
            const SEG2D *s = static_cast<const SEG2D *>(LISTGet(glyph->segments, i));
            out.insert(out.end(), {s->start->x, s->start->y, s->end->x, s->end->y});
        }
        return out;
    }
    LIST *glyphs = nullptr;
};

// Cell c of the decoded sheet holds at least one ink pixel.
bool CellHasInk(const IMG *sheet, int32_t c)
{
    for (int32_t y = 0; y < cell; ++y) {
        for (int32_t x = 0; x < cell; ++x) {
            if (IMGGetPixel(sheet, (c % 16) * cell + x, (c / 16) * cell + y) != 0) {
                return true;
            }
        }
    }
    return false;
}

bool CellsEqual(const IMG *sheet, int32_t a, int32_t b)
{
    for (int32_t y = 0; y < cell; ++y) {
        for (int32_t x = 0; x < cell; ++x) {
            if (IMGGetPixel(sheet, (a % 16) * cell + x, (a / 16) * cell + y) !=
                IMGGetPixel(sheet, (b % 16) * cell + x, (b / 16) * cell + y)) {
                return false;
            }
        }
    }
    return true;
}

}  // namespace

TEST_F(WireFont, ParsesToOneGlyphPerCode)
{
    ASSERT_NE(glyphs, nullptr);
    ASSERT_EQ(glyphs->count, 256);
    for (int32_t code = 0; code < 256; ++code) {
        const OBJ2D *glyph = Glyph(code);
        ASSERT_NE(glyph, nullptr) << "code " << code;
        const bool drawn = code >= 33 && code <= 127;
        if (!drawn) {
            EXPECT_EQ(glyph->segments->count, 0) << "code " << code;
            EXPECT_EQ(glyph->name, nullptr) << "code " << code;
            continue;
        }
        EXPECT_GT(glyph->segments->count, 0) << "code " << code;
        const std::string expected = code == 127 ? "esc" : std::string(1, static_cast<char>(code));
        ASSERT_NE(glyph->name, nullptr) << "code " << code;
        EXPECT_EQ(std::string(glyph->name), expected);
    }
    EXPECT_STREQ(Glyph('A')->name, "A");
    EXPECT_EQ(Glyph(' ')->segments->count, 0);
}

TEST_F(WireFont, EverySegmentIsWhiteAndOnTheGrid)
{
    ASSERT_NE(glyphs, nullptr);
    for (int32_t code = 33; code <= 127; ++code) {
        const OBJ2D *glyph = Glyph(code);
        ASSERT_EQ(glyph->points->count, 2 * glyph->segments->count);
        for (int32_t i = 0; i < glyph->points->count; ++i) {
            const VEC2D *p = static_cast<const VEC2D *>(LISTGet(glyph->points, i));
            EXPECT_EQ(p->colour, 0xFFFFFFu) << "code " << code;
            EXPECT_TRUE(p->x >= 0 && p->x <= 15 && p->y >= 0 && p->y <= 15)
                << "code " << code << " point " << p->x << "," << p->y;
        }
    }
}

TEST_F(WireFont, LowerCaseRepeatsTheCapitalsAndGlyphsDiffer)
{
    ASSERT_NE(glyphs, nullptr);
    for (int32_t code = 'a'; code <= 'z'; ++code) {
        EXPECT_EQ(Coordinates(code), Coordinates(code - 'a' + 'A')) << static_cast<char>(code);
    }
    // Apart from the lower-case copies, no two characters may look the same.
    for (int32_t a = 33; a <= 127; ++a) {
        for (int32_t b = a + 1; b <= 127; ++b) {
            if (b >= 'a' && b <= 'z' && b - 'a' + 'A' == a) {
                continue;
            }
            EXPECT_NE(Coordinates(a), Coordinates(b)) << a << " and " << b;
        }
    }
}

TEST_F(WireFont, GlyphsKeepTheirRecordedSegments)
{
    // A hash of every glyph's name and coordinates, recorded from a start value
    // of its own: a change of how the text writes a segment must leave the
    // parsed font as it was.
    uint64_t h = 1469598103934665603ull;
    const auto mix = [&h](uint32_t v) { h = HashWords(&v, 1, h); };
    ASSERT_NE(glyphs, nullptr);
    for (int32_t code = 0; code < glyphs->count; ++code) {
        for (const char *c = Glyph(code)->name; c != nullptr && *c != '\0'; ++c) {
            mix(static_cast<uint8_t>(*c));
        }
        const std::vector<int32_t> coordinates = Coordinates(code);
        mix(static_cast<uint32_t>(coordinates.size()));
        for (const int32_t v : coordinates) {
            mix(static_cast<uint32_t>(v));
        }
    }
    EXPECT_EQ(h, 0x5a3b1550a3bb8e41ull);
}

TEST(WireFontText, KeepsItsLayout)
{
    const std::vector<std::string> lines = Lines(fontText);
    ASSERT_GT(lines.size(), 13u);
    EXPECT_EQ(std::strlen(fontText), fontTextLength);
    EXPECT_EQ(lines[0], "# font-16-wire-3-20110901.2D");
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(lines[i][0], '#') << "line " << i + 1;
    }
    EXPECT_EQ(lines[7], "# font wire 16x16");
    EXPECT_EQ(lines[8], "name font 16x16 wire");
    EXPECT_EQ(lines[9], "version 20110901");
    EXPECT_EQ(lines[10].rfind("author ", 0), 0u);
    EXPECT_EQ(lines[11], "type 2D");
    EXPECT_EQ(lines[12], "# 32 blank character 2D objects");
    const std::string text = fontText;
    EXPECT_NE(text.find("{ name !\ncolor $00ffffff\nsegment 8,0 8,9 \n"), std::string::npos);
    EXPECT_NE(text.find("\n{ name esc\n"), std::string::npos);
    // One colour for the whole font, one long-form segment, short forms after.
    EXPECT_EQ(text.find("\ncolor "), text.rfind("\ncolor "));
    EXPECT_EQ(text.find("\nsegment "), text.rfind("\nsegment "));
    // Some short lines carry a comma after the fourth number, some end in blanks.
    size_t trailingCommas = 0;
    size_t trailingBlanks = 0;
    for (const std::string &line : lines) {
        if (line.rfind("s ", 0) == 0) {
            trailingCommas += std::count(line.begin(), line.end(), ',') == 4 ? 1 : 0;
            trailingBlanks += line.back() == ' ' ? 1 : 0;
        }
    }
    EXPECT_GE(trailingCommas, 3u);
    EXPECT_GE(trailingBlanks, 3u);
    const size_t blanks = text.find("# 128 blank character 2D objects\n");
    ASSERT_NE(blanks, std::string::npos);
    const std::string tail = text.substr(blanks + std::strlen("# 128 blank character 2D objects\n"));
    size_t empties = 0;
    for (size_t at = tail.find("{ }"); at != std::string::npos; at = tail.find("{ }", at + 3)) {
        ++empties;
    }
    EXPECT_EQ(empties, 128u);
}

TEST(GlyphSheet, HeaderIsTheRawBitmapLayout)
{
    const std::string header(reinterpret_cast<const char *>(glyphSheet), glyphSheetHeaderSize);
    EXPECT_EQ(header.substr(0, 3), "P4\n");
    EXPECT_EQ(header.substr(header.size() - 8), "256 256\n");
    const std::vector<std::string> lines = Lines(header.c_str());
    ASSERT_EQ(lines.size(), 5u);
    for (int i = 1; i <= 3; ++i) {
        EXPECT_EQ(lines[i].substr(0, 2), "# ") << "comment " << i;
    }
}

TEST(GlyphSheet, DecodesToTheCellsTheFontDrawsFrom)
{
    IMG *sheet = IMGParsePNM(glyphSheet, glyphSheetSize);
    ASSERT_NE(sheet, nullptr);
    ASSERT_EQ(sheet->width, 256);
    ASSERT_EQ(sheet->height, 256);
    for (int32_t i = 0; i < 256 * 256; ++i) {
        ASSERT_TRUE(sheet->pixels[i] == 0 || sheet->pixels[i] == 0xFFFFFFu) << "pixel " << i;
    }
    // "0" is code 48: cell column 0, cell row 3; it is not the letter O.
    EXPECT_TRUE(CellHasInk(sheet, 3 * 16 + 0));
    EXPECT_FALSE(CellsEqual(sheet, '0', 'O'));
    for (int32_t c = 0; c < 256; ++c) {
        const bool drawn = (c >= 1 && c <= 3) || (c >= 33 && c <= 127);
        const bool signature = (c >= 225 && c <= 234) || (c >= 241 && c <= 251);
        if (drawn) {
            EXPECT_TRUE(CellHasInk(sheet, c)) << "cell " << c;
        } else if (!signature) {
            EXPECT_FALSE(CellHasInk(sheet, c)) << "cell " << c;
        }
    }
    EXPECT_TRUE(CellHasInk(sheet, 225));
    EXPECT_TRUE(CellHasInk(sheet, 241));
    for (int32_t c = 'a'; c <= 'z'; ++c) {
        EXPECT_TRUE(CellsEqual(sheet, c, c - 'a' + 'A')) << static_cast<char>(c);
    }
    for (int32_t a = 33; a <= 127; ++a) {
        for (int32_t b = a + 1; b <= 127; ++b) {
            if (!(b >= 'a' && b <= 'z' && b - 'a' + 'A' == a)) {
                EXPECT_FALSE(CellsEqual(sheet, a, b)) << a << " and " << b;
            }
        }
    }
    IMGFree(&sheet);
}

TEST(ScrollText, HasItsLinesAndLength)
{
    EXPECT_EQ(scrollText, scrollTextData);
    ASSERT_EQ(std::strlen(scrollText), scrollTextLength);
    EXPECT_EQ(scrollTextLength, 1233u);
    size_t ends = 0;
    for (const char *c = scrollText; *c != '\0'; ++c) {
        ends += *c == '\n';
        // Every character must have a glyph in both fonts.
        EXPECT_TRUE(*c == '\n' || (*c >= 32 && *c <= 126)) << "code " << static_cast<int>(*c);
    }
    EXPECT_EQ(ends, 65u);
    EXPECT_EQ(scrollText[scrollTextLength - 1], '\n');
}

TEST(ScrollText, QuotesItsFixedLinesExactly)
{
    const std::vector<std::string> lines = Lines(scrollText);
    ASSERT_EQ(lines.size(), 65u);
    const std::string s20(20, ' ');
    const std::vector<std::pair<int, std::string>> fixed = {
        {1, ""},
        {2, ""},
        {3, s20},
        {4, s20},
        {5, "ZOLT 7707      "},
        {6, "DATE: 20120412       "},
        {7, s20},
        {8, "PLEASE, DON'T USE DRUGS "},
        {9, "WHEN WATCHING DEMOSTRATIONS. "},
        {10, "THANKS! "},
        {11, s20},
        {12, "PRESS KEYS: "},
        {13, "5: 25 F.P.S.  "},
        {14, "6: FASTEST F.P.S.  "},
        {15, "8: FRAMES PER SECOND (F.P.S.)  "},
        {16, "U,I,O,P: SCROLL SPEED  "},
        {17, "ESC,Q: EXIT  "},
        {18, "SPACE: NEXT PART  "},
        {19, "M: FADE ON/OFF  "},
        {20, "B: BLURR ON/OFF  "},
        {21, "R: RADIALS ON/OFF  "},
        {22, s20},
        {23, "SAY NO TO DRUGS. "},
        {24, s20},
        {25, "GREETINGS TO:    "},
        {41, "... "},
        {42, std::string(14, ' ')},
        {43, "UNIVERSAL DECLARATION OF"},
        {44, "HUMAN RIGHTS, 1948-12-10,"},
        {45, "UNITED NATIONS OF EARTH:"},
        {46, "UNITED NATIONS OF EARTH: "},
        {47, "ARTICLE 01 - "},
        {48, "ALL HUMAN BEINGS ARE "},
        {49, "BORN FREE AND EQUAL "},
        {50, "IN DIGNITY AND RIGHTS. "},
        {51, "THEY ARE ENDOWED WITH "},
        {52, "REASON AND CONSCIENCE AND "},
        {53, "SHOULD ACT TOWARDS ONE ANOTHER "},
        {54, "IN A SPIRIT OF BROTHERHOOD. "},
        {55, s20},
        {57, "  "},
        {59, "  "},
        {63, std::string(22, ' ')},
        {64, "!\"#$%&'()*+,-./0123456789 "},
        {65, std::string(22, ' ')},
    };
    for (const auto &[number, text] : fixed) {
        EXPECT_EQ(lines[number - 1], text) << "line " << number;
    }
    for (int number = 26; number <= 40; ++number) {
        const std::string &greeting = lines[number - 1];
        ASSERT_GT(greeting.size(), 2u) << "line " << number;
        EXPECT_EQ(greeting.substr(greeting.size() - 2), ", ") << "line " << number;
    }
    for (int number : {56, 58, 60, 61, 62}) {
        EXPECT_FALSE(lines[number - 1].empty()) << "line " << number;
    }
}

TEST(Clips, CopyToSamplesOfTheStoredLength)
{
    for (int32_t c = 0; c < clipCount; ++c) {
        const SAMPLE &record = clipSamples[c];
        EXPECT_EQ(record.length, 11024);
        EXPECT_EQ(record.capacity, 11024);
        // The blocks lie back to back; each one's last word lies past its record's length.
        EXPECT_EQ(record.values, clipData[c]);
        EXPECT_EQ(clipData[c][clipLength], 0);
        SAMPLE *copy = SAMPLECopy(&record);
        ASSERT_NE(copy, nullptr);
        EXPECT_EQ(copy->length, 11024);
        EXPECT_EQ(std::memcmp(copy->values, record.values, sizeof(int32_t) * clipLength), 0);
        SAMPLEFree(&copy);
    }
    EXPECT_EQ(&clipData[1][0], &clipData[0][0] + clipWords);
}

TEST(Clips, StayInRangeWithoutClicksOrOffset)
{
    for (int32_t c = 0; c < clipCount; ++c) {
        const int32_t *v = clipData[c];
        int64_t sum = 0;
        int32_t peak = 0;
        for (int32_t i = 0; i < clipLength; ++i) {
            ASSERT_GE(v[i], clipMinimum) << "clip " << c << " value " << i;
            ASSERT_LE(v[i], clipMaximum) << "clip " << c << " value " << i;
            sum += v[i];
            peak = std::max(peak, std::abs(v[i]));
        }
        // Both ends fade to silence, so a clip laid into the loop starts and stops cleanly.
        for (int32_t i = 0; i < 4; ++i) {
            EXPECT_LT(std::abs(v[i]), 256) << "clip " << c << " start";
            EXPECT_LT(std::abs(v[clipLength - 1 - i]), 256) << "clip " << c << " end";
        }
        EXPECT_LT(std::abs(sum / clipLength), 16) << "clip " << c << " has a DC offset";
        EXPECT_GT(peak, 8000) << "clip " << c << " is too quiet";
    }
}

TEST(Clips, AreBalancedAndDistinct)
{
    // The loudest 50 ms of each clip, as a mean square.
    std::vector<double> loudness;
    for (int32_t c = 0; c < clipCount; ++c) {
        double loudest = 0;
        for (int32_t start = 0; start + 2205 <= clipLength; start += 441) {
            double energy = 0;
            for (int32_t i = start; i < start + 2205; ++i) {
                energy += static_cast<double>(clipData[c][i]) * clipData[c][i];
            }
            loudest = std::max(loudest, energy / 2205);
        }
        loudness.push_back(loudest);
        for (int32_t d = 0; d < c; ++d) {
            EXPECT_NE(std::memcmp(clipData[c], clipData[d], sizeof clipData[c]), 0) << c << " and " << d;
        }
    }
    const double loudest = *std::max_element(loudness.begin(), loudness.end());
    const double quietest = *std::min_element(loudness.begin(), loudness.end());
    // Within 12 dB (a factor 16 in power) of each other.
    EXPECT_LT(loudest / quietest, 16.0);
}

TEST(Clips, MixIntoALoudLoopThatNeverClips)
{
    // The music mixes a random clip into its loop at a quarter of its level
    // every 400 frames while the loop fades by a quarter: about 80 mixes, four
    // cycles of the demo, must play at about -20 dB of full scale, and no value
    // may come within 1 dB of it.
    RANDOMSeed(randomSeed);
    MUSIC *music = MUSICNew();
    ASSERT_NE(music, nullptr);
    for (int32_t c = 0; c < clipCount; ++c) {
        MUSICAdd(music, SAMPLECopy(&clipSamples[c]));
    }
    double energy = 0;
    int64_t values = 0;
    int32_t peak = 0;
    for (int32_t mix = 0; mix < 80; ++mix) {
        for (int32_t frame = 0; frame < 400; ++frame) {
            MUSICUpdate(music);  // the first of these mixes; the loop then plays unchanged
        }
        for (int32_t i = 0; i < music->output->length; ++i) {
            const int32_t v = music->output->values[i];
            energy += static_cast<double>(v) * v;
            peak = std::max(peak, std::abs(v));
        }
        values += music->output->length;
    }
    MUSICFree(&music);
    const double rms = 10.0 * std::log10(energy / static_cast<double>(values) / (32768.0 * 32768.0));
    EXPECT_NEAR(rms, -20.0, 1.0);
    EXPECT_LT(peak, 29204);  // -1 dB of full scale
}

TEST(DriverTables, ColourWheelWalksTheHueCircle)
{
    // Hue h in steps of 30 degrees: each channel is full, half or off.
    const auto channel = [](int32_t step, int32_t offset) -> uint32_t {
        const int32_t k = (step + offset) % 12;
        const int32_t level[12] = {2, 2, 2, 1, 0, 0, 0, 0, 0, 1, 2, 2};
        return level[k] == 2 ? 0xFF : (level[k] == 1 ? 0x80 : 0);
    };
    for (int32_t i = 0; i < colourWheelCount; ++i) {
        const uint32_t expected = channel(i, 0) << 16 | channel(i, 8) << 8 | channel(i, 4);
        EXPECT_EQ(colourWheel[i], expected) << "entry " << i;
    }
    EXPECT_TRUE(initialFadeOn);
    EXPECT_EQ(initialFadeColour, 0x010101u);
    EXPECT_FALSE(initialNextPart || initialShowFps || initialBlurOn || initialRadialsOn);
    EXPECT_STREQ(zolt7707ErrorMessage, "ZOLT7707 Error.\n");
}

TEST(DriverTables, IdentityRecordCarriesTheTexts)
{
    EXPECT_STREQ(zolt7707IdentityRecord[0], "ZOLT7707");
    EXPECT_STREQ(zolt7707IdentityRecord[1], "20120412");
    EXPECT_STREQ(zolt7707IdentityRecord[4], "PROGRAM ");
    EXPECT_EQ(zolt7707IdentityRecord[5], fontText);
    EXPECT_EQ(zolt7707IdentityRecord[6], reinterpret_cast<const char *>(glyphSheet));
    EXPECT_EQ(zolt7707IdentityRecord[7], scrollText);
}
