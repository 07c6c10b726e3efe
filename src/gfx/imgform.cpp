// The text form and the anymap files of the image core: readers and writer.
#include "gfx/imgcore.h"

#include "gfx/imgpixels.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <new>
#include <vector>

namespace imgcore {
namespace {

// The comment line of a written PPM: 16 bytes with its line feed.
constexpr char ppmComment[] = "# ZOLT7707 dump\n";
static_assert(sizeof ppmComment - 1 == 16);
// One pixel of the text form: three channels as "%3d ".
constexpr std::size_t textPixelSize = 12;
constexpr int32_t textPixelsPerLine = 6;

// ---- Text and anymap readers ----

bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }

// Adds one decimal digit to a number that saturates above the 32-bit range, so a
// long run of digits can only make it too large, never wrap.
uint64_t AddDigit(uint64_t value, unsigned char digit)
{
    value = value * 10u + (digit - '0');
    return std::min<uint64_t>(value, uint64_t{1} << 33);
}

// The index just after the first occurrence of pattern in text, or 0.
std::size_t FindAfter(const char *text, const char *pattern)
{
    const char *found = std::strstr(text, pattern);
    return found == nullptr ? 0 : static_cast<std::size_t>(found - text) + std::strlen(pattern);
}

// A cursor over a byte buffer; reading stops at its end (or, for text, at the zero byte).
struct Reader {
    const unsigned char *data;
    std::size_t size;
    std::size_t pos;

    bool AtEnd() const { return pos >= size; }
    unsigned char Peek() const { return data[pos]; }
    std::size_t Left() const { return size - pos; }

    // Skips non-digits, then reads a run of digits as a number modulo 2^32; false at the end.
    bool Sample(uint32_t &value)
    {
        while (!AtEnd() && !IsDigit(Peek())) {
            ++pos;
        }
        if (AtEnd()) {
            return false;
        }
        value = 0;
        while (!AtEnd() && IsDigit(Peek())) {
            value = value * 10u + static_cast<uint32_t>(Peek() - '0');
            ++pos;
        }
        return true;
    }

    // A run of digits, saturating; 0 when there are none.
    uint64_t Number()
    {
        uint64_t value = 0;
        while (!AtEnd() && IsDigit(Peek())) {
            value = AddDigit(value, Peek());
            ++pos;
        }
        return value;
    }
};

enum class Source { File, Memory };

uint32_t Grey(uint32_t v) { return v << 16 | v << 8 | v; }

constexpr uint32_t white = 0xFFFFFF;

// Reads an anymap from a buffer. The file reader and the memory reader share this
// code and differ only where source says so: a stray printable character in the
// header (consumed by the file reader, standing for every missing number in memory)
// and P4 rows (exact width or rounded up to whole bytes).
IMG *ParseAnymap(const unsigned char *data, std::size_t size, Source source)
{
    Reader in{data, size, 0};
    bool haveMagic = false;
    bool haveWidth = false;
    bool haveHeight = false;
    bool haveMaximum = false;
    int magic = 0;
    uint64_t width = 0;
    uint64_t height = 0;
    while (!(haveMagic && haveWidth && haveHeight && haveMaximum)) {
        if (in.AtEnd()) {
            return nullptr;
        }
        const unsigned char c = in.Peek();
        if (c < 33 || c > 126) {
            ++in.pos;
        } else if (c == 'P' && !haveMagic) {
            ++in.pos;
            if (in.AtEnd() || in.Peek() < '1' || in.Peek() > '6') {
                return nullptr;
            }
            magic = in.Peek() - '0';
            ++in.pos;
            haveMagic = true;
            haveMaximum = haveMaximum || magic == 1 || magic == 4;
        } else if (c == '#') {
            while (!in.AtEnd() && in.Peek() != '\n') {
                ++in.pos;
            }
            ++in.pos;
        } else {
            uint64_t value = 0;
            if (IsDigit(c)) {
                value = in.Number();
            } else if (source == Source::File) {
                ++in.pos;
            } else if (haveWidth && haveHeight && haveMaximum) {
                // Unconsumed, it would stand for a number nobody needs, for ever.
                return nullptr;
            }
            if (!haveWidth) {
                width = (source == Source::Memory && magic == 4) ? (value + 7) & ~uint64_t{7} : value;
                haveWidth = true;
            } else if (!haveHeight) {
                height = value;
                haveHeight = true;
            } else if (!haveMaximum) {
                haveMaximum = true;  // read and ignored: samples are never rescaled
            }
        }
    }
    // The single whitespace byte that ends the header.
    ++in.pos;
    if (in.pos > size || width == 0 || height == 0 || width > INT32_MAX || height > INT32_MAX ||
        width * height > static_cast<uint64_t>(maxPixels)) {
        return nullptr;
    }
    const uint64_t count = width * height;
    // Every pixel takes at least one byte (three for the pixmaps), a bitmap row whole bytes.
    uint64_t least = count;
    if (magic == 3 || magic == 6) {
        least = 3 * count;
    } else if (magic == 4) {
        least = height * ((width + 7) / 8);
    }
    if (in.Left() < least) {
        return nullptr;
    }
    IMG *img = NewImage(static_cast<int64_t>(width), static_cast<int64_t>(height));
    if (img == nullptr) {
        return nullptr;
    }
    uint32_t *out = img->pixels;
    bool complete = true;
    switch (magic) {
    case 1:
        for (uint64_t i = 0; i < count && complete; ++i) {
            while (!in.AtEnd() && !IsDigit(in.Peek())) {
                ++in.pos;
            }
            // One digit a pixel: a plain bitmap need not separate its digits.
            if (in.AtEnd()) {
                complete = false;
            } else {
                out[i] = in.Peek() == '0' ? 0u : white;
                ++in.pos;
            }
        }
        break;
    case 2:
        for (uint64_t i = 0; i < count && complete; ++i) {
            uint32_t v = 0;
            complete = in.Sample(v);
            out[i] = Grey(v);
        }
        break;
    case 3:
        for (uint64_t i = 0; i < count && complete; ++i) {
            uint32_t r = 0, g = 0, b = 0;
            complete = in.Sample(r) && in.Sample(g) && in.Sample(b);
            out[i] = r << 16 | g << 8 | b;
        }
        break;
    case 4:
        // Rows start at a new byte; in memory the width is already a whole number of bytes.
        for (uint64_t i = 0; i < count; ++i) {
            const uint64_t x = i % width;
            if (x % 8 == 0 && i != 0) {
                ++in.pos;
            }
            out[i] = (in.Peek() >> (7 - x % 8)) & 1u ? white : 0u;
        }
        break;
    case 5:
        for (uint64_t i = 0; i < count; ++i) {
            out[i] = Grey(data[in.pos++]);
        }
        break;
    default:
        for (uint64_t i = 0; i < count; ++i) {
            const uint32_t r = data[in.pos];
            const uint32_t g = data[in.pos + 1];
            const uint32_t b = data[in.pos + 2];
            in.pos += 3;
            out[i] = r << 16 | g << 8 | b;
        }
        break;
    }
    if (!complete) {
        FreeImage(img);
        return nullptr;
    }
    return img;
}

// The whole of a file, or false when it cannot be opened or read.
bool ReadFile(const char *path, std::vector<unsigned char> &bytes)
{
    std::FILE *file = std::fopen(path, "rb");
    if (file == nullptr) {
        return false;
    }
    unsigned char chunk[65536];
    std::size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) {
        bytes.insert(bytes.end(), chunk, chunk + got);
    }
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    return !failed;
}

// Writes v (0 .. 255) right-aligned in three characters.
char *PutChannel(char *out, uint32_t v)
{
    out[0] = v >= 100 ? static_cast<char>('0' + v / 100) : ' ';
    out[1] = v >= 10 ? static_cast<char>('0' + v / 10 % 10) : ' ';
    out[2] = static_cast<char>('0' + v % 10);
    return out + 3;
}

}  // namespace

// ---- Text form and anymap files ----

char *ToASCII(const Module &m, const IMG *img)
{
    if (!Usable(img)) {
        m.error();
        return nullptr;
    }
    const std::size_t count = PixelCount(img);
    const std::size_t tagLength = std::strlen(m.tag);
    if (count == 0) {
        char *text = new (std::nothrow) char[tagLength + 3]();
        if (text == nullptr) {
            m.error();
            return nullptr;
        }
        std::snprintf(text, tagLength + 3, "%s{}", m.tag);
        return text;
    }
    const int header = std::snprintf(nullptr, 0, "%s{\nP3\n%d %d\n255\n", m.tag, img->width, img->height);
    // Header, the pixels, "}\n" and the closing zero byte.
    const std::size_t size = static_cast<std::size_t>(header) + count * textPixelSize + 3;
    char *text = new (std::nothrow) char[size]();
    if (text == nullptr) {
        m.error();
        return nullptr;
    }
    std::snprintf(text, size, "%s{\nP3\n%d %d\n255\n", m.tag, img->width, img->height);
    char *out = text + header;
    for (std::size_t i = 0; i < count; ++i) {
        const uint32_t p = img->pixels[i];
        for (int shift = 16; shift >= 0; shift -= 8) {
            out = PutChannel(out, Channel(p, shift));
            *out++ = ' ';
        }
        if ((i + 1) % textPixelsPerLine == 0) {
            out[-1] = '\n';
        }
    }
    out[-1] = '\n';
    *out++ = '}';
    *out++ = '\n';
    return text;
}

IMG *FromASCII(const Module &m, const char *text)
{
    if (text == nullptr) {
        m.error();
        return nullptr;
    }
    const std::size_t a = FindAfter(text, m.tag);
    const std::size_t b = a == 0 ? 0 : FindAfter(text + a, "{");
    const std::size_t c = b == 0 ? 0 : FindAfter(text + a + b, "P3\n");
    if (c == 0) {
        m.error();
        return nullptr;
    }
    const std::size_t length = std::strlen(text);
    Reader in{reinterpret_cast<const unsigned char *>(text), length, a + b + c};
    // Width, one separator, height, one separator, the maximum, one separator.
    const uint64_t width = in.Number();
    ++in.pos;
    const uint64_t height = in.Number();
    ++in.pos;
    in.Number();
    ++in.pos;
    const uint64_t count = width * height;
    if (in.pos > length || width > INT32_MAX || height > INT32_MAX || count > static_cast<uint64_t>(maxPixels) ||
        in.Left() < 3 * count) {
        m.error();
        return nullptr;
    }
    IMG *img = NewImage(static_cast<int64_t>(width), static_cast<int64_t>(height));
    if (img == nullptr) {
        m.error();
        return nullptr;
    }
    for (uint64_t i = 0; i < count; ++i) {
        uint32_t r = 0, g = 0, bl = 0;
        if (!(in.Sample(r) && in.Sample(g) && in.Sample(bl))) {
            FreeImage(img);
            m.error();
            return nullptr;
        }
        img->pixels[i] = r << 16 | g << 8 | bl;
    }
    return img;
}

IMG *LoadPNM(const Module &m, const char *path)
{
    std::vector<unsigned char> bytes;
    IMG *img = nullptr;
    if (path != nullptr && ReadFile(path, bytes)) {
        img = ParseAnymap(bytes.data(), bytes.size(), Source::File);
    }
    if (img == nullptr) {
        m.error();
    }
    return img;
}

IMG *ParsePNM(const Module &m, const unsigned char *data, std::size_t size)
{
    IMG *img = data == nullptr ? nullptr : ParseAnymap(data, size, Source::Memory);
    if (img == nullptr) {
        m.error();
    }
    return img;
}

bool SavePPM(const Module &m, const IMG *img, const char *path)
{
    if (!Usable(img) || path == nullptr || img->width == 0 || img->height == 0) {
        m.error();
        return false;
    }
    std::FILE *file = std::fopen(path, "wb");
    if (file == nullptr) {
        m.error();
        return false;
    }
    bool ok = std::fprintf(file, "P6\n%s%d %d\n255\n", ppmComment, img->width, img->height) > 0;
    std::vector<unsigned char> row(static_cast<std::size_t>(img->width) * 3);
    for (int32_t y = 0; y < img->height && ok; ++y) {
        const uint32_t *p = img->pixels + Index(img, 0, y);
        for (std::size_t x = 0; x < static_cast<std::size_t>(img->width); ++x) {
            row[3 * x] = static_cast<unsigned char>(Channel(p[x], 16));
            row[3 * x + 1] = static_cast<unsigned char>(Channel(p[x], 8));
            row[3 * x + 2] = static_cast<unsigned char>(Channel(p[x], 0));
        }
        ok = std::fwrite(row.data(), 1, row.size(), file) == row.size();
    }
    // A failed close may lose buffered bytes: that is a failed write too.
    ok = std::fclose(file) == 0 && ok;
    if (!ok) {
        m.error();
    }
    return ok;
}

int32_t FindText(const Module &m, const char *text, const char *pattern)
{
    if (text == nullptr || pattern == nullptr) {
        m.error();
        return 0;
    }
    const std::size_t at = FindAfter(text, pattern);
    if (at > static_cast<std::size_t>(INT32_MAX)) {
        m.error();
        return 0;
    }
    return static_cast<int32_t>(at);
}

}  // namespace imgcore
