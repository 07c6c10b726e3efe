#include "targets.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "audio/sample.h"
#include "core/list.h"
#include "gfx/img.h"
#include "gfx/imgfx.h"
#include "gfx/seg2d.h"
#include "gfx/vec2d.h"
#include "vector/obj2d.h"

namespace {

// Objects whose coordinates stay within this bound are drawn; lines across the
// whole 32-bit plane are walked point by point and would only measure patience.
constexpr int64_t drawLimit = 4096;

// Where the pixel sums go, so that reading every pixel is not optimised away.
volatile uint32_t pixelSink;

void Require(bool condition, const char *what)
{
    if (!condition) {
        std::fprintf(stderr, "fuzz check failed: %s\n", what);
        std::abort();
    }
}

// The bytes as a NUL-terminated text (an inner NUL ends the text early, as it would for any caller).
std::string Text(const uint8_t *data, std::size_t size)
{
    return std::string(reinterpret_cast<const char *>(data), size);
}

// A reader's image must be consistent: positive sizes (or, where the text form allows an
// empty image, sizes of 0) and a pixel array to match.
void CheckImage(const IMG *img, bool allowEmpty = false)
{
    if (allowEmpty && (img->width == 0 || img->height == 0)) {
        Require(img->width >= 0 && img->height >= 0, "image sizes not negative");
        return;
    }
    Require(img->width > 0 && img->height > 0, "image sizes positive");
    Require(img->pixels != nullptr, "image has pixels");
    // Touch every pixel so that a short allocation shows up under the address sanitizer.
    uint32_t sum = 0;
    const int64_t n = int64_t{img->width} * img->height;
    for (int64_t i = 0; i < n; ++i) {
        sum += img->pixels[i];
    }
    pixelSink = sum;
}

// An anymap reader may not make more pixels than its data can describe: at least one bit
// a pixel for P4 (after rounding the width up to 8), one byte a pixel otherwise, less the header.
void CheckPixelsFitData(const IMG *img, std::size_t size)
{
    const uint64_t pixels = uint64_t(uint32_t(img->width)) * uint32_t(img->height);
    Require(pixels <= uint64_t{size} * 8 + 8, "pixel count bounded by the data");
}

// Text form round trip: the image written and read back holds the low 24 bits of every pixel.
template <char *(*ToASCII)(const IMG *), IMG *(*FromASCII)(const char *), void (*Free)(IMG **)>
void CheckTextRoundTrip(const IMG *img)
{
    char *text = ToASCII(img);
    Require(text != nullptr, "text form of a read image");
    IMG *back = FromASCII(text);
    delete[] text;
    Require(back != nullptr, "text form reads back");
    Require(back->width == img->width && back->height == img->height, "text form keeps the size");
    const int64_t n = int64_t{img->width} * img->height;
    for (int64_t i = 0; i < n; ++i) {
        Require(back->pixels[i] == (img->pixels[i] & 0xFFFFFFu), "text form keeps the pixels");
    }
    Free(&back);
}

template <IMG *(*FromASCII)(const char *), char *(*ToASCII)(const IMG *), void (*Free)(IMG **)>
int FromASCIITarget(const uint8_t *data, std::size_t size)
{
    const std::string text = Text(data, size);
    IMG *img = FromASCII(text.c_str());
    if (img != nullptr) {
        CheckImage(img, true);
        // A text can promise no more pixels than it has characters.
        Require(int64_t{img->width} * img->height <= int64_t(text.size()), "pixel count bounded by the text");
        if (img->width > 0 && img->height > 0) {
            CheckTextRoundTrip<ToASCII, FromASCII, Free>(img);
        }
        Free(&img);
    }
    return 0;
}

bool SmallPoint(const VEC2D *v)
{
    return v != nullptr && v->x > -drawLimit && v->x < drawLimit && v->y > -drawLimit && v->y < drawLimit;
}

void CheckObject(OBJ2D *object, IMG *canvas)
{
    Require(object->points != nullptr && object->segments != nullptr, "object has both lists");
    Require(object->points->count == 2 * object->segments->count, "two points per segment");
    bool small = true;
    for (int32_t i = 0; i < object->segments->count; ++i) {
        const SEG2D *s = static_cast<const SEG2D *>(LISTGet(object->segments, i));
        Require(s != nullptr && s->start != nullptr && s->end != nullptr, "segment with both ends");
        Require(LISTGet(object->points, 2 * i) == s->start && LISTGet(object->points, 2 * i + 1) == s->end,
                "points are the segments' own ends");
        small = small && SmallPoint(s->start) && SmallPoint(s->end);
    }
    if (small) {
        object->scale = 1;
        object->angle = 100;
        OBJ2DDraw(object, canvas);
        OBJ2DDrawPoints(object, canvas);
    }
}

// A file holding the bytes, private to this process; rewritten for every input.
const char *ScratchFile(const uint8_t *data, std::size_t size)
{
    static std::string path;
    if (path.empty()) {
        const char *dir = std::getenv("TMPDIR");
        path = std::string(dir != nullptr && *dir != '\0' ? dir : "/tmp") + "/zolt-fuzz-" +
               std::to_string(static_cast<long>(getpid())) + ".pnm";
    }
    std::FILE *f = std::fopen(path.c_str(), "wb");
    Require(f != nullptr, "scratch file opens");
    Require(size == 0 || std::fwrite(data, 1, size, f) == size, "scratch file written");
    std::fclose(f);
    return path.c_str();
}

}  // namespace

namespace fuzz {

int IMGParsePNM(const uint8_t *data, std::size_t size)
{
    // The reader gets exactly the bytes, in a buffer of their own, so that any read past
    // the end is seen by the address sanitizer.
    unsigned char *copy = new unsigned char[size == 0 ? 1 : size];
    if (size != 0) {
        std::memcpy(copy, data, size);
    }
    IMG *img = ::IMGParsePNM(size == 0 ? nullptr : copy, size);
    if (size == 0) {
        Require(img == nullptr, "no data gives no image");
    }
    if (img != nullptr) {
        CheckImage(img);
        CheckPixelsFitData(img, size);
        CheckTextRoundTrip<::IMGToASCII, ::IMGFromASCII, ::IMGFree>(img);
        IMGFree(&img);
    }
    delete[] copy;
    return 0;
}

int IMGLoadPNM(const uint8_t *data, std::size_t size)
{
    IMG *img = ::IMGLoadPNM(ScratchFile(data, size));
    if (img != nullptr) {
        CheckImage(img);
        CheckPixelsFitData(img, size);
        IMGFree(&img);
    }
    return 0;
}

int IMGFromASCII(const uint8_t *data, std::size_t size)
{
    return FromASCIITarget<::IMGFromASCII, ::IMGToASCII, ::IMGFree>(data, size);
}

int IMGFXFromASCII(const uint8_t *data, std::size_t size)
{
    return FromASCIITarget<::IMGFXFromASCII, ::IMGFXToASCII, ::IMGFXFree>(data, size);
}

int OBJ2DParse(const uint8_t *data, std::size_t size)
{
    const std::string text = Text(data, size);
    LIST *objects = ::OBJ2DParse(text.c_str());
    Require(objects != nullptr, "a text always parses into a list");
    IMG *canvas = IMGNew();
    Require(canvas != nullptr, "canvas");
    for (int32_t i = 0; i < objects->count; ++i) {
        OBJ2D *object = static_cast<OBJ2D *>(LISTGet(objects, i));
        if (object != nullptr) {
            CheckObject(object, canvas);
            OBJ2DFree(&object);
        }
    }
    LISTFree(&objects);
    IMGFree(&canvas);
    return 0;
}

int SAMPLEFromASCII(const uint8_t *data, std::size_t size)
{
    const std::string text = Text(data, size);
    SAMPLE *sample = ::SAMPLEFromASCII(text.c_str());
    if (sample != nullptr) {
        Require(sample->length >= 0 && sample->length <= sample->capacity, "length within capacity");
        Require(int64_t{sample->length} <= int64_t(text.size()), "value count bounded by the text");
        char *written = SAMPLEToASCII(sample);
        Require(written != nullptr, "text form of a read sample");
        SAMPLE *back = ::SAMPLEFromASCII(written);
        delete[] written;
        Require(back != nullptr && SAMPLEEqual(sample, back), "text form reads back equal");
        SAMPLEFree(&back);
        SAMPLEFree(&sample);
    }
    SAMPLE *numbers = SAMPLEFromNumbers(text.c_str());
    Require(numbers != nullptr, "a text always gives a sample of numbers");
    Require(int64_t{numbers->length} <= int64_t(text.size()), "number count bounded by the text");
    SAMPLEFree(&numbers);
    return 0;
}

int SAMPLEReadRaw(const uint8_t *data, std::size_t size)
{
    // The first byte picks the format, valid ones most of the time, so that the
    // refusals are exercised too; the rest is the stream.
    if (size == 0) {
        return 0;
    }
    const uint8_t format = data[0];
    const int32_t width = (format & 0x40) != 0 ? ((format & 0x80) != 0 ? 12 : 0) : ((format & 1) != 0 ? 16 : 8);
    const char order = (format & 2) != 0 ? 'b' : ((format & 0x20) != 0 ? 'x' : 'l');
    const char signedness = (format & 4) != 0 ? 's' : ((format & 0x10) != 0 ? '?' : 'u');
    const bool valid = (width == 8 || width == 16) && order != 'x' && signedness != '?';
    std::string bytes(reinterpret_cast<const char *>(data) + 1, size - 1);
    bytes.push_back('\0');  // fmemopen wants a buffer of at least one byte
    std::FILE *stream = fmemopen(&bytes[0], size - 1 == 0 ? 1 : size - 1, "rb");
    Require(stream != nullptr, "memory stream");
    if (size - 1 == 0) {
        std::fgetc(stream);  // an empty stream: the one padding byte is consumed first
    }
    SAMPLE *sample = ::SAMPLEReadRaw(stream, width, order, signedness);
    std::fclose(stream);
    if (!valid) {
        Require(sample == nullptr, "a bad format is refused");
        return 0;
    }
    Require(sample != nullptr, "a good format always reads");
    const std::size_t expected = width == 8 ? size - 1 : (size - 1) / 2;
    Require(sample->length >= 0 && std::size_t(sample->length) == expected, "one value per byte or byte pair");
    for (int32_t i = 0; i < sample->length; ++i) {
        Require(sample->values[i] >= -32768 && sample->values[i] <= 32767, "values on the 16-bit scale");
    }
    SAMPLEFree(&sample);
    return 0;
}

}  // namespace fuzz
