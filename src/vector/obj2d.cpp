#include "vector/obj2d.h"

#include <new>

#include "core/module.h"
#include "gfx/seg2d.h"
#include "gfx/vec2d.h"

namespace {

constexpr Reporting obj2dReporting = Reporting::Off;

// The longest word a token holds; a longer word is cut after this many characters.
constexpr int32_t tokenLimit = 255;

// The parser's state: one parse at a time. The cursor is an index into the text
// being parsed; the text pointer is cleared when the parse ends.
struct Parser {
    const char *text;
    int32_t cursor;
    char token[tokenLimit + 1];
    int32_t tokenLength;
    uint32_t value;
    int32_t sign;  // the pending sign: survives across objects and across parses
};

Parser parser = {nullptr, 0, {}, 0, 0, 1};

// Bytes are read as signed characters: everything of 128 or more is negative.
signed char Current() { return static_cast<signed char>(parser.text[parser.cursor]); }

bool IsEnd(signed char c) { return c == 0; }

bool IsBlank(signed char c) { return (c >= 1 && c <= 32) || c == 127 || c < 0; }

bool IsSeparator(signed char c) { return IsBlank(c) || c == ',' || c == ';'; }

bool IsPunctuation(signed char c)
{
    return (c >= 33 && c <= 47) || (c >= 58 && c <= 64) || (c >= 91 && c <= 96) || (c >= 123 && c <= 126);
}

bool IsDigit(signed char c) { return c >= '0' && c <= '9'; }

int32_t HexDigit(signed char c)
{
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// Skips blanks, commas and semicolons; the end of the text ends the skip.
void SkipSeparators()
{
    while (!IsEnd(Current()) && IsSeparator(Current())) {
        parser.cursor++;
    }
}

// Skips blanks only (line ends are blanks, commas are not).
void SkipBlanks()
{
    while (!IsEnd(Current()) && IsBlank(Current())) {
        parser.cursor++;
    }
}

// Reads into the token buffer from its current length on: a single punctuation
// character, or the run up to the next separator. A word that does not fit is
// cut, and the cursor steps back one character so that the next token starts
// again at the last character kept.
void ReadToken()
{
    signed char c = Current();
    if (IsEnd(c)) {
        return;
    }
    if (IsPunctuation(c)) {
        if (parser.tokenLength < tokenLimit) {
            parser.token[parser.tokenLength++] = static_cast<char>(c);
            parser.cursor++;
        }
        return;
    }
    while (!IsEnd(Current()) && !IsSeparator(Current())) {
        if (parser.tokenLength == tokenLimit) {
            if (parser.cursor > 0) {
                parser.cursor--;
            }
            return;
        }
        parser.token[parser.tokenLength++] = static_cast<char>(Current());
        parser.cursor++;
    }
}

// The next token after skipping; false at the end of the text.
bool NextToken()
{
    SkipSeparators();
    parser.tokenLength = 0;
    if (IsEnd(Current())) {
        parser.token[0] = '\0';
        return false;
    }
    ReadToken();
    parser.token[parser.tokenLength] = '\0';
    return true;
}

bool TokenIs(const char *keyword)
{
    int32_t i = 0;
    for (; keyword[i] != '\0'; i++) {
        if (i >= parser.tokenLength || Lower(parser.token[i]) != keyword[i]) {
            return false;
        }
    }
    return i == parser.tokenLength;
}

// The hexadecimal digits of the token after its first character, modulo 2^32.
uint32_t HexValue()
{
    uint32_t value = 0;
    for (int32_t i = 1; i < parser.tokenLength; i++) {
        int32_t digit = HexDigit(static_cast<signed char>(parser.token[i]));
        if (digit < 0) {
            break;
        }
        value = value * 16u + static_cast<uint32_t>(digit);
    }
    return value;
}

// The leading decimal digits of the token, modulo 2^32.
uint32_t DecimalValue()
{
    uint32_t value = 0;
    for (int32_t i = 0; i < parser.tokenLength && IsDigit(static_cast<signed char>(parser.token[i])); i++) {
        value = value * 10u + static_cast<uint32_t>(parser.token[i] - '0');
    }
    return value;
}

// The rest of the current line, up to and not including the line end, as a new
// text; null when it is empty (or memory runs out).
char *RestOfLine()
{
    int32_t start = parser.cursor;
    while (!IsEnd(Current()) && Current() != '\n') {
        parser.cursor++;
    }
    int32_t length = parser.cursor - start;
    if (length == 0) {
        return nullptr;
    }
    char *value = new (std::nothrow) char[static_cast<size_t>(length) + 1];
    if (value == nullptr) {
        OBJ2DError();
        return nullptr;
    }
    for (int32_t i = 0; i < length; i++) {
        value[i] = parser.text[start + i];
    }
    value[length] = '\0';
    return value;
}

// Replaces an object's text field (the value is discarded with no open object).
void StoreText(OBJ2D *object, char *OBJ2D::*field, char *value)
{
    if (object == nullptr) {
        delete[] value;
        return;
    }
    char *old = object->*field;
    delete[] old;
    object->*field = value;
}

// The state of one parse besides the module's cursor and sign.
struct Build {
    LIST *result;
    OBJ2D *open;          // the open object, or null
    SEG2D *segment;       // the segment being built, or null
    int32_t coordinates;  // numbers the segment has taken so far
    uint32_t colour;
    bool colourExpected;
};

// A colour written in hexadecimal: taken when one is expected, ignored otherwise.
void TakeHex(Build &build, uint32_t value)
{
    if (build.colourExpected) {
        build.colour = value;
        build.colourExpected = false;
    }
}

void TakeCoordinate(Build &build, int32_t value)
{
    if (build.segment == nullptr) {
        return;
    }
    SEG2D *segment = build.segment;
    switch (build.coordinates++) {
    case 0: segment->start->x = value; break;
    case 1:
        segment->start->y = value;
        segment->start->colour = build.colour;
        break;
    case 2: segment->end->x = value; break;
    default:
        segment->end->y = value;
        segment->end->colour = build.colour;
        build.segment = nullptr;
        build.coordinates = 0;
        if (build.open == nullptr) {
            OBJ2DError();
            SEG2DFree(&segment);
        } else {
            OBJ2DAddSegment(build.open, segment);
        }
        break;
    }
}

void Statement(Build &build)
{
    if (TokenIs("#")) {
        while (!IsEnd(Current()) && Current() != '\n') {
            parser.cursor++;
        }
    } else if (TokenIs("{")) {
        if (build.open == nullptr) {
            build.open = OBJ2DNew();
        }
    } else if (TokenIs("}")) {
        int32_t count = build.result->count;
        LISTAppend(build.result, build.open);
        if (build.result->count == count && build.open != nullptr) {
            OBJ2DFree(&build.open);  // the list could not grow: do not leak the object
        }
        build.open = nullptr;
    } else if (TokenIs("\"") || TokenIs("=")) {
        // Quotes and equals signs only decorate the text.
    } else if (TokenIs("-")) {
        parser.sign = -1;
    } else if (TokenIs("$")) {
        // The characters after the dollar join its token, read by the token rule.
        ReadToken();
        parser.token[parser.tokenLength] = '\0';
        TakeHex(build, HexValue());
    } else if (TokenIs("name")) {
        SkipBlanks();
        StoreText(build.open, &OBJ2D::name, RestOfLine());
    } else if (TokenIs("version") || TokenIs("author") || TokenIs("type")) {
        char *OBJ2D::*field = TokenIs("version") ? &OBJ2D::version : TokenIs("author") ? &OBJ2D::author : &OBJ2D::type;
        SkipSeparators();
        StoreText(build.open, field, RestOfLine());
    } else if (IsDigit(static_cast<signed char>(parser.token[0]))) {
        // Computed in unsigned so that the wrap modulo 2^32 is defined.
        uint32_t value = DecimalValue();
        if (parser.sign < 0) {
            value = 0u - value;
        }
        parser.sign = 1;
        parser.value = value;
        TakeCoordinate(build, static_cast<int32_t>(value));
    } else if (Lower(parser.token[0]) == 'x' || Lower(parser.token[0]) == 'h') {
        parser.value = HexValue();
        TakeHex(build, parser.value);
    } else if (Lower(parser.token[0]) == 'c') {
        build.colourExpected = true;
    } else if (Lower(parser.token[0]) == 's') {
        if (build.segment == nullptr) {
            build.segment = SEG2DNew();
            build.coordinates = 0;
        }
    }
}

}  // namespace

OBJ2D *OBJ2DNew()
{
    OBJ2D *object = new (std::nothrow) OBJ2D{};
    if (object == nullptr) {
        OBJ2DError();
        return nullptr;
    }
    object->points = LISTNew();
    object->segments = LISTNew();
    if (object->points == nullptr || object->segments == nullptr) {
        if (object->points != nullptr) {
            LISTFree(&object->points);
        }
        if (object->segments != nullptr) {
            LISTFree(&object->segments);
        }
        delete object;
        OBJ2DError();
        return nullptr;
    }
    return object;
}

void OBJ2DFree(OBJ2D **handle)
{
    if (handle == nullptr || *handle == nullptr) {
        OBJ2DError();
        return;
    }
    OBJ2D *object = *handle;
    if (object->segments != nullptr) {
        LIST *segments = object->segments;
        for (int32_t i = 0; i < segments->count; i++) {
            SEG2D *segment = static_cast<SEG2D *>(segments->items[i]);
            // A segment added twice is released once, at its first entry.
            if (segment != nullptr && LISTFind(segments, segment) == i) {
                SEG2DFree(&segment);
            }
        }
        LISTFree(&object->segments);
    }
    if (object->points != nullptr) {
        LISTFree(&object->points);
    }
    delete[] object->name;
    delete[] object->version;
    delete[] object->author;
    delete[] object->type;
    delete object;
    *handle = nullptr;
}

char *OBJ2DToASCII(const OBJ2D *object)
{
    if (object == nullptr) {
        OBJ2DError();
    }
    return nullptr;
}

OBJ2D *OBJ2DFromASCII(const char *text)
{
    if (text == nullptr) {
        OBJ2DError();
    }
    return nullptr;
}

bool OBJ2DEqual(const OBJ2D *a, const OBJ2D *b)
{
    if (a == nullptr || b == nullptr) {
        OBJ2DError();
        return false;
    }
    return a == b;
}

void OBJ2DCopyTo(const OBJ2D *source, OBJ2D *destination)
{
    if (source == nullptr || destination == nullptr) {
        OBJ2DError();
    }
}

OBJ2D *OBJ2DCopy(const OBJ2D *object)
{
    if (object == nullptr) {
        OBJ2DError();
        return nullptr;
    }
    return OBJ2DNew();
}

LIST *OBJ2DParse(const char *text)
{
    if (text == nullptr) {
        OBJ2DError();
        return nullptr;
    }
    LIST *result = LISTNew();
    if (result == nullptr) {
        OBJ2DError();
        return nullptr;
    }
    parser.text = text;
    parser.cursor = 0;
    parser.tokenLength = 0;
    parser.token[0] = '\0';
    parser.value = 0;
    Build build = {result, nullptr, nullptr, 0, 0, false};
    while (NextToken()) {
        Statement(build);
    }
    // A truncated object and a segment still pending are dropped.
    if (build.open != nullptr) {
        OBJ2DFree(&build.open);
    }
    if (build.segment != nullptr) {
        SEG2DFree(&build.segment);
    }
    parser.text = nullptr;
    parser.cursor = 0;
    return result;
}

void OBJ2DAddSegment(OBJ2D *object, SEG2D *segment)
{
    if (object == nullptr || segment == nullptr || object->points == nullptr || object->segments == nullptr ||
        segment->start == nullptr || segment->end == nullptr) {
        OBJ2DError();
        return;
    }
    LISTAppend(object->segments, segment);
    LISTAppend(object->points, segment->start);
    LISTAppend(object->points, segment->end);
}

void OBJ2DDraw(const OBJ2D *object, IMG *image)
{
    if (object == nullptr || image == nullptr || object->segments == nullptr) {
        OBJ2DError();
        return;
    }
    // The working copy lives on the stack and is reused for every segment.
    VEC2D start = {};
    VEC2D end = {};
    SEG2D copy = {&start, &end};
    VEC2D offset = {};
    offset.x = object->x;
    offset.y = object->y;
    const LIST *segments = object->segments;
    for (int32_t i = segments->count - 1; i >= 0; i--) {
        const SEG2D *segment = static_cast<const SEG2D *>(segments->items[i]);
        if (segment == nullptr || segment->start == nullptr || segment->end == nullptr) {
            continue;
        }
        SEG2DCopyTo(segment, &copy);
        SEG2DScale(&copy, object->scale);
        SEG2DRotate(&copy, object->angle);
        SEG2DTranslate(&copy, &offset);
        SEG2DDraw(&copy, image);
    }
}

void OBJ2DDrawPoints(const OBJ2D *object, IMG *image)
{
    if (object == nullptr || image == nullptr || object->points == nullptr) {
        OBJ2DError();
        return;
    }
    VEC2D copy = {};
    VEC2D offset = {};
    offset.x = object->x;
    offset.y = object->y;
    const LIST *points = object->points;
    for (int32_t i = points->count - 1; i >= 0; i--) {
        const VEC2D *point = static_cast<const VEC2D *>(points->items[i]);
        if (point == nullptr) {
            continue;
        }
        VEC2DCopyTo(point, &copy);
        VEC2DScale(&copy, object->scale);
        VEC2DRotate(&copy, object->angle);
        VEC2DAdd(&offset, &copy);
        VEC2DDraw(&copy, image);
    }
}

void OBJ2DError() { ModuleReport(obj2dReporting, "OBJ2D error\n"); }
