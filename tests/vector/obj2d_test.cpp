#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "gfx/img.h"
#include "gfx/seg2d.h"
#include "gfx/vec2d.h"
#include "vector/obj2d.h"

namespace {

// A parse result that releases its objects when the test ends.
class Parsed {
public:
    explicit Parsed(const std::string &text) : list(OBJ2DParse(text.c_str())) {}
    ~Parsed()
    {
        if (list == nullptr) {
            return;
        }
        for (int32_t i = 0; i < list->count; i++) {
            OBJ2D *object = static_cast<OBJ2D *>(list->items[i]);
            if (object != nullptr) {
                OBJ2DFree(&object);
            }
        }
        LISTFree(&list);
    }
    Parsed(const Parsed &) = delete;
    Parsed &operator=(const Parsed &) = delete;

    int32_t Count() const { return list->count; }
    OBJ2D *Object(int32_t i) const { return static_cast<OBJ2D *>(list->items[i]); }
    SEG2D *Segment(int32_t object, int32_t i) const { return static_cast<SEG2D *>(Object(object)->segments->items[i]); }

    LIST *list;
};

IMG *Image(int32_t w, int32_t h)
{
    IMG *img = IMGNew();
    IMGResize(img, w, h);
    return img;
}

void ExpectSegment(const SEG2D *s, int32_t x1, int32_t y1, int32_t x2, int32_t y2)
{
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->start->x, x1);
    EXPECT_EQ(s->start->y, y1);
    EXPECT_EQ(s->end->x, x2);
    EXPECT_EQ(s->end->y, y2);
}

// Consumes any minus sign a test left pending, so that tests stay independent.
void ResetSign() { Parsed settle("{ s 0 0 0 0 }"); }

}  // namespace

TEST(OBJ2DNew, StartsEmptyWithTwoLists)
{
    OBJ2D *object = OBJ2DNew();
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(object->name, nullptr);
    EXPECT_EQ(object->scale, 0);
    EXPECT_EQ(object->angle, 0);
    ASSERT_NE(object->points, nullptr);
    ASSERT_NE(object->segments, nullptr);
    EXPECT_EQ(object->points->count, 0);
    EXPECT_EQ(object->segments->count, 0);
    OBJ2DFree(&object);
    EXPECT_EQ(object, nullptr);
    OBJ2DFree(&object);  // already null: only reported
    OBJ2DFree(nullptr);
}

TEST(OBJ2DNew, PlaceholdersYieldNeutralResults)
{
    OBJ2D *object = OBJ2DNew();
    EXPECT_EQ(OBJ2DToASCII(object), nullptr);
    EXPECT_EQ(OBJ2DFromASCII("{ }"), nullptr);
    EXPECT_FALSE(OBJ2DEqual(object, nullptr));
    EXPECT_TRUE(OBJ2DEqual(object, object));
    OBJ2DCopyTo(object, nullptr);
    EXPECT_EQ(OBJ2DCopy(nullptr), nullptr);
    OBJ2D *copy = OBJ2DCopy(object);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->segments->count, 0);
    OBJ2DFree(&copy);
    OBJ2DFree(&object);
}

TEST(OBJ2DAddSegment, AppendsSegmentAndItsOwnEndPoints)
{
    OBJ2D *object = OBJ2DNew();
    SEG2D *a = SEG2DNew();
    SEG2D *b = SEG2DNew();
    OBJ2DAddSegment(object, a);
    OBJ2DAddSegment(object, b);
    ASSERT_EQ(object->segments->count, 2);
    ASSERT_EQ(object->points->count, 4);
    EXPECT_EQ(object->points->items[0], a->start);
    EXPECT_EQ(object->points->items[1], a->end);
    EXPECT_EQ(object->points->items[2], b->start);
    EXPECT_EQ(object->points->items[3], b->end);

    OBJ2DAddSegment(object, nullptr);
    OBJ2DAddSegment(nullptr, a);
    EXPECT_EQ(object->segments->count, 2);
    EXPECT_EQ(object->points->count, 4);
    OBJ2DFree(&object);  // releases both segments with their points
}

TEST(OBJ2DAddSegment, SegmentAddedTwiceIsReleasedOnce)
{
    OBJ2D *object = OBJ2DNew();
    SEG2D *a = SEG2DNew();
    OBJ2DAddSegment(object, a);
    OBJ2DAddSegment(object, a);
    EXPECT_EQ(object->segments->count, 2);
    OBJ2DFree(&object);
}

TEST(OBJ2DParse, NullEmptyAndCommentOnlyTexts)
{
    EXPECT_EQ(OBJ2DParse(nullptr), nullptr);
    Parsed empty("");
    ASSERT_NE(empty.list, nullptr);
    EXPECT_EQ(empty.Count(), 0);
    Parsed comments("# one\n# two\n   # three");
    ASSERT_NE(comments.list, nullptr);
    EXPECT_EQ(comments.Count(), 0);
}

TEST(OBJ2DParse, BracesOpenCloseAndDoNotNest)
{
    Parsed one("{ }");
    ASSERT_EQ(one.Count(), 1);
    ASSERT_NE(one.Object(0), nullptr);
    EXPECT_EQ(one.Object(0)->segments->count, 0);

    Parsed lone("}");
    ASSERT_EQ(lone.Count(), 1);
    EXPECT_EQ(lone.Object(0), nullptr);

    Parsed twice("{ { }");
    ASSERT_EQ(twice.Count(), 1);
    EXPECT_NE(twice.Object(0), nullptr);

    Parsed tight("{}{}}");
    ASSERT_EQ(tight.Count(), 3);
    EXPECT_NE(tight.Object(1), nullptr);
    EXPECT_EQ(tight.Object(2), nullptr);

    // The closing brace as the very last character still closes.
    Parsed last("{ s 1 2 3 4 }");
    ASSERT_EQ(last.Count(), 1);
    EXPECT_EQ(last.Object(0)->segments->count, 1);
}

TEST(OBJ2DParse, SegmentsLongAndShortForms)
{
    // "~" and "`" are tokens of their own, the word "z9" is ignored.
    Parsed parsed("{ segment 8,0 8,9\n s 5,0,5,4,\n S 1;2;3;4 \n s 100,~2,z9,`30,4 }");
    ASSERT_EQ(parsed.Count(), 1);
    ASSERT_EQ(parsed.Object(0)->segments->count, 4);
    ExpectSegment(parsed.Segment(0, 0), 8, 0, 8, 9);
    ExpectSegment(parsed.Segment(0, 1), 5, 0, 5, 4);
    ExpectSegment(parsed.Segment(0, 2), 1, 2, 3, 4);
    ExpectSegment(parsed.Segment(0, 3), 100, 2, 30, 4);
    // The points list holds the segments' own vectors, in segment order.
    EXPECT_EQ(parsed.Object(0)->points->items[2], parsed.Segment(0, 1)->start);
    EXPECT_EQ(parsed.Object(0)->points->items[5], parsed.Segment(0, 2)->end);
}

TEST(OBJ2DParse, PendingSegmentCarriesIntoTheNextObject)
{
    Parsed parsed("{ s 1 2 3 }\n{ 4 }");
    ASSERT_EQ(parsed.Count(), 2);
    EXPECT_EQ(parsed.Object(0)->segments->count, 0);
    ASSERT_EQ(parsed.Object(1)->segments->count, 1);
    ExpectSegment(parsed.Segment(1, 0), 1, 2, 3, 4);

    // A second "s" while a segment is incomplete starts nothing new.
    Parsed again("{ s 1 2 s 3 4 }");
    ASSERT_EQ(again.Object(0)->segments->count, 1);
    ExpectSegment(again.Segment(0, 0), 1, 2, 3, 4);
}

TEST(OBJ2DParse, SegmentCompletedOutsideAnObjectIsDropped)
{
    Parsed parsed("s 1 2 3 4 { } s 5 6 7 8");
    ASSERT_EQ(parsed.Count(), 1);
    EXPECT_EQ(parsed.Object(0)->segments->count, 0);
}

TEST(OBJ2DParse, NumberWrittenAgainstBraceSwallowsIt)
{
    // "4}" is the number 4; the brace closes nothing and the object is dropped.
    Parsed swallowed("{ s 1 2 3 4}");
    EXPECT_EQ(swallowed.Count(), 0);
    Parsed closedLater("{ s 1 2 3 4}\n}");
    ASSERT_EQ(closedLater.Count(), 1);
    ExpectSegment(closedLater.Segment(0, 0), 1, 2, 3, 4);
}

TEST(OBJ2DParse, MinusSignAndDecimalNumbers)
{
    Parsed parsed("{ s - 5 -5 5-3 007x }");
    ASSERT_EQ(parsed.Object(0)->segments->count, 1);
    ExpectSegment(parsed.Segment(0, 0), -5, -5, 5, 7);

    // Decimal numbers wrap modulo 2^32.
    Parsed wrapped("{ s 4294967297 4294967295 -4294967295 2147483648 }");
    ExpectSegment(wrapped.Segment(0, 0), 1, -1, 1, INT32_MIN);
}

TEST(OBJ2DParse, PendingSignSurvivesObjectsAndParses)
{
    Parsed first("{ s 1 2 3 4 } -");
    Parsed second("{ s 6 7 8 9 }");
    ExpectSegment(second.Segment(0, 0), -6, 7, 8, 9);

    // A minus sign before "s" still waits for the next decimal number.
    Parsed third("{ - s 1 2 3 4 }");
    ExpectSegment(third.Segment(0, 0), -1, 2, 3, 4);
    ResetSign();
}

TEST(OBJ2DParse, ColoursAreHexadecimalOnly)
{
    // 255 is ignored (no segment pending) and the colour stays expected.
    Parsed decimal("color 255 { s 1 1 5 1 }");
    EXPECT_EQ(decimal.Segment(0, 0)->start->colour, 0u);

    Parsed dollar("c $ff0000 { s 1 1 5 1 }");
    EXPECT_EQ(dollar.Segment(0, 0)->start->colour, 0xff0000u);
    EXPECT_EQ(dollar.Segment(0, 0)->end->colour, 0xff0000u);

    Parsed forms("{ C xFF s 0 0 1 1 COLOR X00AbC s 0 0 1 1 color h12g4 s 0 0 1 1 c H7 s 0 0 1 1 }");
    ASSERT_EQ(forms.Object(0)->segments->count, 4);
    EXPECT_EQ(forms.Segment(0, 0)->start->colour, 0xffu);
    EXPECT_EQ(forms.Segment(0, 1)->start->colour, 0xabcu);
    EXPECT_EQ(forms.Segment(0, 2)->start->colour, 0x12u);
    EXPECT_EQ(forms.Segment(0, 3)->start->colour, 0x7u);

    // Without "color" a hexadecimal number is neither a colour nor a coordinate.
    Parsed ignored("{ s 1 $ff 2 x10 3 h4 4 }");
    ExpectSegment(ignored.Segment(0, 0), 1, 2, 3, 4);
    EXPECT_EQ(ignored.Segment(0, 0)->start->colour, 0u);
}

TEST(OBJ2DParse, ColourChangesBetweenTheTwoEndPoints)
{
    Parsed parsed("{ s 1 2 c $0000ff 3 4 }");
    EXPECT_EQ(parsed.Segment(0, 0)->start->colour, 0u);
    EXPECT_EQ(parsed.Segment(0, 0)->end->colour, 0xffu);
}

TEST(OBJ2DParse, ColourCarriesAcrossObjectsButNotParses)
{
    Parsed first("{ color $00ffffff s 0 0 1 1 } { s 2 2 3 3 }");
    EXPECT_EQ(first.Segment(1, 0)->start->colour, 0xffffffu);
    Parsed second("{ s 2 2 3 3 }");
    EXPECT_EQ(second.Segment(0, 0)->start->colour, 0u);
}

TEST(OBJ2DParse, NameRunsToTheLineEnd)
{
    Parsed braces("{ name }\n}");
    ASSERT_EQ(braces.Count(), 1);
    EXPECT_STREQ(braces.Object(0)->name, "}");

    Parsed spaced("{ name\n\n  big glyph , here\r\n}");
    EXPECT_STREQ(spaced.Object(0)->name, "big glyph , here\r");

    // Commas are not skipped before a name, only before the other keys.
    Parsed comma("{ name ,x\n version ,; 1.0 beta\n AUTHOR\tsomeone\n Type 2D\n}");
    EXPECT_STREQ(comma.Object(0)->name, ",x");
    EXPECT_STREQ(comma.Object(0)->version, "1.0 beta");
    EXPECT_STREQ(comma.Object(0)->author, "someone");
    EXPECT_STREQ(comma.Object(0)->type, "2D");

    // A later value replaces an earlier one.
    Parsed replaced("{ name a\n name b\n}");
    EXPECT_STREQ(replaced.Object(0)->name, "b");

    // The skip before a value crosses line ends, so a bare key takes the next line.
    Parsed bare("{ type\n2D\n}");
    EXPECT_STREQ(bare.Object(0)->type, "2D");

    // Keys must match the whole token.
    Parsed whole("{ names x\n}");
    EXPECT_EQ(whole.Object(0)->name, nullptr);

    // A key at the very end of the text reads an empty value; the object stays open and is dropped.
    Parsed atEnd("{ name a\n name");
    EXPECT_EQ(atEnd.Count(), 0);
}

TEST(OBJ2DParse, HeaderKeysOutsideObjectsAreDiscarded)
{
    Parsed parsed("name font\nversion 1\nauthor me\ntype 2D\n{ }");
    ASSERT_EQ(parsed.Count(), 1);
    EXPECT_EQ(parsed.Object(0)->name, nullptr);
    EXPECT_EQ(parsed.Object(0)->version, nullptr);
}

TEST(OBJ2DParse, HighBytesAndControlsAreBlanks)
{
    Parsed parsed(
        "{\xC3\xA9s\x7F"
        "1\x01"
        "2\x1F"
        "3\xFF"
        "4}");
    ASSERT_EQ(parsed.Count(), 0);  // "4}" swallows the brace
    Parsed closed(
        "{\xC3\xA9s\x7F"
        "1\x01"
        "2\x1F"
        "3\xFF"
        "4\x80}");
    ASSERT_EQ(closed.Count(), 1);
    ExpectSegment(closed.Segment(0, 0), 1, 2, 3, 4);
}

TEST(OBJ2DParse, TruncatedTextsStayInsideTheText)
{
    // Each ends inside a skip or a token; the pending object and segment are dropped.
    const char *texts[] = {"{ s 1 2 3", "{ s 1 2 # comment", "c $", "{ c $",
                           "{ name ",   "{ version",         "{ -", "{ s 1 2 3 4 } {"};
    for (const char *text : texts) {
        SCOPED_TRACE(text);
        Parsed parsed(text);
        ASSERT_NE(parsed.list, nullptr);
        EXPECT_EQ(parsed.Count(), std::strcmp(text, "{ s 1 2 3 4 } {") == 0 ? 1 : 0);
    }
    ResetSign();
}

TEST(OBJ2DParse, LongWordsAreCutAndReadOnInsideTheText)
{
    // A word of 256 characters: the first 255 form one (ignored) token, and the
    // next token starts again at the 255th character, "1", reading "12".
    std::string word = std::string(254, 'q') + "12";
    Parsed cut("{ s 1 2 3 " + word + " }");
    ASSERT_EQ(cut.Count(), 1);
    ASSERT_EQ(cut.Object(0)->segments->count, 1);
    EXPECT_EQ(cut.Segment(0, 0)->end->y, 12);

    // A word of exactly 255 characters is not cut.
    Parsed exact("{ s 1 2 3 " + std::string(254, 'q') + "9 4 }");
    EXPECT_EQ(exact.Segment(0, 0)->end->y, 4);

    // Very long words, also right at the end of the text.
    Parsed digits("{ s 1 2 3 " + std::string(1000, '7'));
    EXPECT_EQ(digits.Count(), 0);
    Parsed hex("c $" + std::string(600, 'f'));
    EXPECT_EQ(hex.Count(), 0);
}

TEST(OBJ2DParse, HandWrittenFileWithEverything)
{
    const char *text =
        "# a small test file\n"
        "name shapes\n"
        "version 2\n"
        "author nobody\n"
        "type 2D\n"
        "# first the empty ones\n"
        "{ } { }\n"
        "{ name box\r\n"
        "color $00ff0000\n"
        "segment 0,0 10,0\n"
        "s 10,0,10,10, \n"
        "c x0000ff s -1,-2;-3 , -4 }\n"
        "= \" ignored \" = {name next\n"
        "type  3D \n"
        "s 7,7,8,8 }   # trailing comment\n"
        "{ name lost\n"
        "s 1,1,2";
    Parsed parsed(text);
    ASSERT_EQ(parsed.Count(), 4);
    EXPECT_EQ(parsed.Object(0)->segments->count, 0);
    EXPECT_EQ(parsed.Object(1)->segments->count, 0);

    OBJ2D *box = parsed.Object(2);
    EXPECT_STREQ(box->name, "box\r");
    EXPECT_EQ(box->version, nullptr);
    ASSERT_EQ(box->segments->count, 3);
    ExpectSegment(parsed.Segment(2, 0), 0, 0, 10, 0);
    ExpectSegment(parsed.Segment(2, 1), 10, 0, 10, 10);
    ExpectSegment(parsed.Segment(2, 2), -1, -2, -3, -4);
    EXPECT_EQ(parsed.Segment(2, 0)->start->colour, 0xff0000u);
    EXPECT_EQ(parsed.Segment(2, 2)->end->colour, 0x0000ffu);

    OBJ2D *next = parsed.Object(3);
    EXPECT_STREQ(next->name, "next");
    EXPECT_STREQ(next->type, "3D ");
    ASSERT_EQ(next->segments->count, 1);
    EXPECT_EQ(parsed.Segment(3, 0)->start->colour, 0x0000ffu);
}

TEST(OBJ2DParse, FontLayoutGivesOneObjectPerCode)
{
    std::string text =
        "# font-test.2D\n# notice\n# font wire 16x16\n"
        "name font 16x16 wire\nversion 20110901\nauthor someone\ntype 2D\n"
        "# 32 blank character 2D objects\n";
    for (int group = 0; group < 2; group++) {
        for (int i = 0; i < 16; i++) {
            text += "{ } ";
        }
        text += "\n";
    }
    text += "{ }\n";
    text += "{ name !\ncolor $00ffffff\nsegment 8,0 8,9 \ns 8,12,8,13, }\n";
    for (int code = 34; code < 127; code++) {
        text += "{ name ";
        text += static_cast<char>(code);
        text += "\ns 0,0,15,15 }\n";
    }
    text += "{ name esc\ns 1,1,2,2  }\n# 128 blank character 2D objects\n";
    for (int i = 0; i < 128; i++) {
        text += "{ }\n";
    }
    Parsed parsed(text);
    ASSERT_EQ(parsed.Count(), 256);
    for (int32_t code = 0; code <= 32; code++) {
        ASSERT_NE(parsed.Object(code), nullptr);
        EXPECT_EQ(parsed.Object(code)->segments->count, 0);
    }
    EXPECT_STREQ(parsed.Object(33)->name, "!");
    EXPECT_STREQ(parsed.Object(65)->name, "A");
    EXPECT_STREQ(parsed.Object(125)->name, "}");  // "{ name }" names, does not close
    EXPECT_STREQ(parsed.Object(127)->name, "esc");
    for (int32_t code = 33; code < 128; code++) {
        for (int32_t i = 0; i < parsed.Object(code)->segments->count; i++) {
            EXPECT_EQ(parsed.Segment(code, i)->start->colour, 0xffffffu);
            EXPECT_EQ(parsed.Segment(code, i)->end->colour, 0xffffffu);
        }
    }
    EXPECT_EQ(parsed.Object(255)->segments->count, 0);
}

TEST(OBJ2DDraw, MatchesTheSameSegmentsDrawnAsLines)
{
    Parsed parsed("{ c $ff0000 s 2,3,10,7 c $00ff00 s -4,-1,3,0 c $0000ff s 0,12,12,12 }");
    OBJ2D *object = parsed.Object(0);
    object->scale = 1;
    object->angle = 0;
    object->x = 20;
    object->y = 30;
    IMG *drawn = Image(64, 64);
    IMG *expected = Image(64, 64);
    OBJ2DDraw(object, drawn);
    // A rotation by 0 maps a coordinate c to floor(c x 32766 / 32768): positive
    // values lose one, zero and negative values stay. Last segment first.
    IMGDrawLine(expected, 20 + 0, 30 + 11, 20 + 11, 30 + 11, 0x0000ff);
    IMGDrawLine(expected, 20 - 4, 30 - 1, 20 + 2, 30 + 0, 0x00ff00);
    IMGDrawLine(expected, 20 + 1, 30 + 2, 20 + 9, 30 + 6, 0xff0000);
    EXPECT_TRUE(IMGEqual(drawn, expected));
    // The stored segments are never changed.
    ExpectSegment(parsed.Segment(0, 0), 2, 3, 10, 7);
    IMGFree(&drawn);
    IMGFree(&expected);
}

TEST(OBJ2DDraw, ScalesThenRotatesThenMoves)
{
    Parsed parsed("{ c $ffffff s 0,0,5,0 }");
    OBJ2D *object = parsed.Object(0);
    object->scale = 2;
    object->angle = 256;  // a quarter turn clockwise on screen: +x goes to +y
    object->x = 8;
    object->y = 4;
    IMG *drawn = Image(32, 32);
    IMG *expected = Image(32, 32);
    OBJ2DDraw(object, drawn);
    IMGDrawLine(expected, 8, 4, 8, 4 + 9, 0xffffff);
    EXPECT_TRUE(IMGEqual(drawn, expected));
    IMGFree(&drawn);
    IMGFree(&expected);
}

TEST(OBJ2DDraw, FirstSegmentIsDrawnLastAndWins)
{
    Parsed parsed("{ c $ff0000 s 0,0,0,0 c $00ff00 s 0,0,0,0 }");
    OBJ2D *object = parsed.Object(0);
    object->scale = 1;
    IMG *img = Image(4, 4);
    OBJ2DDraw(object, img);
    EXPECT_EQ(IMGGetPixel(img, 0, 0), 0xff0000u);
    IMGFree(&img);
}

TEST(OBJ2DDraw, ScaleZeroCollapsesToThePosition)
{
    Parsed parsed("{ c $ffffff s 1,2,9,9 s 5,5,0,3 }");
    OBJ2D *object = parsed.Object(0);
    object->x = 6;
    object->y = 7;
    IMG *img = Image(16, 16);
    OBJ2DDraw(object, img);
    int lit = 0;
    for (int32_t y = 0; y < 16; y++) {
        for (int32_t x = 0; x < 16; x++) {
            lit += IMGGetPixel(img, x, y) != 0 ? 1 : 0;
        }
    }
    EXPECT_EQ(lit, 1);
    EXPECT_EQ(IMGGetPixel(img, 6, 7), 0xffffffu);
    IMGFree(&img);
}

TEST(OBJ2DDraw, MissingArgumentsDrawNothing)
{
    Parsed parsed("{ c $ffffff s 0,0,3,3 }");
    IMG *img = Image(8, 8);
    IMG *blank = Image(8, 8);
    OBJ2DDraw(nullptr, img);
    OBJ2DDraw(parsed.Object(0), nullptr);
    OBJ2DDrawPoints(nullptr, img);
    OBJ2DDrawPoints(parsed.Object(0), nullptr);
    EXPECT_TRUE(IMGEqual(img, blank));
    IMGFree(&img);
    IMGFree(&blank);
}

TEST(OBJ2DDrawPoints, PlotsEachPointInItsOwnColour)
{
    Parsed parsed("{ c $ff0000 s 0,0 c $00ff00 4,0 }");
    OBJ2D *object = parsed.Object(0);
    object->scale = 2;
    object->x = 1;
    object->y = 1;
    IMG *img = Image(16, 16);
    OBJ2DDrawPoints(object, img);
    EXPECT_EQ(IMGGetPixel(img, 1, 1), 0xff0000u);
    EXPECT_EQ(IMGGetPixel(img, 1 + 7, 1), 0x00ff00u);  // 8 after the rotation by 0 is 7
    EXPECT_EQ(IMGGetPixel(img, 5, 1), 0u);             // no line between the points
    IMGFree(&img);
}
