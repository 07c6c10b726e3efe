// wirefont: writes the wire font's 2D object text from its stroke description.
//
//   wirefont STROKES OUTPUT
//
// STROKES lists one glyph per line: the character (or "esc" for code 127), a
// blank, then polylines of x,y points separated by ";". The output holds 256
// objects in code order: 33 empty ones (codes 0 to 32), the glyphs of codes 33
// to 127 with the lower-case letters repeating the capitals, and 128 empty
// ones. The first glyph carries the colour and the long segment form; every
// later glyph inherits the colour and uses the short "s" form.
//
// A point may carry marks for the short line of the segment that ends at it:
// "," writes a comma after that line's fourth number, and each "_" one blank
// at the end of the line. Readers take both as separators, so the marks change
// the text and never the segments.
#include <cctype>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "sourcelines.h"

namespace {

constexpr int gridMax = 15;
constexpr int firstGlyph = 33;
constexpr int lastGlyph = 127;

constexpr const char *noticeLines[] = {
    "# font-16-wire-3-20110901.2D",
    "#",
    "# The wire font of the ZOLT7707 demo: 256 glyphs on a 16 x 16 grid.",
    "# Codes 33 to 126 hold the printable characters, lower case drawn",
    "# as capitals; code 127 holds a heart; all other codes are blank.",
    "# Each glyph is a list of white line segments x1,y1,x2,y2.",
    "#",
    "# font wire 16x16",
};
static_assert(sizeof noticeLines / sizeof noticeLines[0] == 8);

constexpr const char *headerLines[] = {
    "name font 16x16 wire",
    "version 20110901",
    "author VORNHALD",
    "type 2D",
};

struct Segment {
    int x1, y1, x2, y2;
    bool comma = false;  // a comma after the fourth number
    int blanks = 0;      // blanks at the end of the line
};

struct Point {
    int x = 0;
    int y = 0;
    bool comma = false;
    int blanks = 0;
};

struct Glyph {
    bool defined = false;
    std::vector<Segment> segments;
};

bool Fail(const std::string &where, const std::string &message)
{
    std::cerr << "wirefont: " << where << ": " << message << "\n";
    return false;
}

// Reads "x,y" into a point on the grid, then its marks: an optional "," and
// any number of "_".
bool ParsePoint(const std::string &word, Point &point)
{
    char comma = 0;
    int used = 0;
    if (std::sscanf(word.c_str(), "%d%c%d%n", &point.x, &comma, &point.y, &used) != 3 || comma != ',') {
        return false;
    }
    size_t at = static_cast<size_t>(used);
    if (at < word.size() && word[at] == ',') {
        point.comma = true;
        ++at;
    }
    for (; at < word.size() && word[at] == '_'; ++at) {
        ++point.blanks;
    }
    return at == word.size() && point.x >= 0 && point.x <= gridMax && point.y >= 0 && point.y <= gridMax;
}

bool ParseStrokes(const std::string &text, Glyph &glyph, const std::string &where)
{
    std::stringstream polylines(text);
    std::string polyline;
    while (std::getline(polylines, polyline, ';')) {
        std::stringstream words(polyline);
        std::string word;
        std::vector<Point> points;
        while (words >> word) {
            Point point;
            if (!ParsePoint(word, point)) {
                return Fail(where, "bad point \"" + word + "\"");
            }
            points.push_back(point);
        }
        if (points.size() < 2) {
            return Fail(where, "a polyline needs at least two points");
        }
        if (points[0].comma || points[0].blanks > 0) {
            return Fail(where, "marks belong to a segment's end point, not a polyline's start");
        }
        for (size_t i = 1; i < points.size(); ++i) {
            const Point &a = points[i - 1];
            const Point &b = points[i];
            glyph.segments.push_back({a.x, a.y, b.x, b.y, b.comma, b.blanks});
        }
    }
    if (glyph.segments.empty()) {
        return Fail(where, "glyph without strokes");
    }
    glyph.defined = true;
    return true;
}

bool ReadStrokes(const char *path, std::vector<Glyph> &glyphs)
{
    SourceLines source;
    if (!SourceOpen(source, path)) {
        return Fail(path, "cannot open");
    }
    std::string line;
    std::string where;
    while (SourceNext(source, line, where)) {
        int code = 0;
        std::string strokes;
        if (line.rfind("esc ", 0) == 0) {
            code = lastGlyph;
            strokes = line.substr(4);
        } else if (line.size() > 2 && line[1] == ' ') {
            code = static_cast<unsigned char>(line[0]);
            strokes = line.substr(2);
        } else {
            return Fail(where, "expected a character and its strokes");
        }
        if (code < firstGlyph || code >= lastGlyph + 1 || std::islower(code)) {
            return Fail(where, "character outside 33..126 or lower case");
        }
        if (glyphs[code].defined) {
            return Fail(where, "glyph defined twice");
        }
        if (!ParseStrokes(strokes, glyphs[code], where)) {
            return false;
        }
    }
    for (int code = 'a'; code <= 'z'; ++code) {
        glyphs[code] = glyphs[code - 'a' + 'A'];
    }
    for (int code = firstGlyph; code <= lastGlyph; ++code) {
        if (!glyphs[code].defined) {
            return Fail(path, "no strokes for code " + std::to_string(code));
        }
    }
    const Segment &longForm = glyphs[firstGlyph].segments[0];
    if (longForm.comma || longForm.blanks > 0) {
        return Fail(path, "the first segment is written in the long form, which takes no marks");
    }
    return true;
}

void WriteEmptyObjects(std::ostream &out, int count)
{
    for (int i = 0; i < count; ++i) {
        out << "{ }" << ((i % 16 == 15 || i == count - 1) ? "\n" : " ");
    }
}

std::string Text(const std::vector<Glyph> &glyphs)
{
    std::ostringstream out;
    for (const char *line : noticeLines) {
        out << line << "\n";
    }
    for (const char *line : headerLines) {
        out << line << "\n";
    }
    out << "# 32 blank character 2D objects\n";
    WriteEmptyObjects(out, 32);
    out << "{ }\n";
    bool first = true;
    for (int code = firstGlyph; code <= lastGlyph; ++code) {
        out << "{ name ";
        if (code == lastGlyph) {
            out << "esc";
        } else {
            out << static_cast<char>(code);
        }
        out << "\n";
        const std::vector<Segment> &segments = glyphs[code].segments;
        for (size_t i = 0; i < segments.size(); ++i) {
            const Segment &s = segments[i];
            if (first) {
                // The colour is set once; every later glyph inherits white.
                out << "color $00ffffff\n";
                out << "segment " << s.x1 << "," << s.y1 << " " << s.x2 << "," << s.y2 << " ";
                first = false;
            } else {
                out << "s " << s.x1 << "," << s.y1 << "," << s.x2 << "," << s.y2 << (s.comma ? "," : "");
            }
            // A blank before the brace: a number written against it would swallow it.
            out << (i + 1 == segments.size() ? " }" : "") << std::string(static_cast<size_t>(s.blanks), ' ') << "\n";
        }
    }
    out << "# 128 blank character 2D objects\n";
    WriteEmptyObjects(out, 128);
    return out.str();
}

}  // namespace

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::cerr << "usage: wirefont STROKES OUTPUT\n";
        return 2;
    }
    std::vector<Glyph> glyphs(256);
    if (!ReadStrokes(argv[1], glyphs)) {
        return 1;
    }
    std::ofstream out(argv[2], std::ios::binary);
    out << Text(glyphs);
    if (!out) {
        std::cerr << "wirefont: cannot write " << argv[2] << "\n";
        return 1;
    }
    return 0;
}
