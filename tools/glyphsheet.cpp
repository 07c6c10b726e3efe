// glyphsheet: draws the bitmap font's 256 x 256 glyph sheet from its ASCII art
// and writes it as a raw PBM ("P4").
//
//   glyphsheet ART OUTPUT
//
// The art file holds the header's three comment lines, the 16 x 16 cells, a
// small 3 x 5 type and the signature lines set in it (format described at the
// top of assets/glyphsheet.txt). Lower-case cells repeat the capitals. A set
// bit is ink; the demo's PBM reader shows it white.
#include <array>
#include <cctype>
#include <cstdint>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "sourcelines.h"

namespace {

constexpr int sheetSize = 256;
constexpr int cellSize = 16;
constexpr int cellsPerRow = sheetSize / cellSize;
constexpr size_t headerBytes = 93;
constexpr int smallWidth = 3;
constexpr int smallHeight = 5;
// The small type advances by its width and one column of space.
constexpr int smallAdvance = smallWidth + 1;

using Sheet = std::array<std::array<bool, sheetSize>, sheetSize>;

struct Art {
    std::vector<std::string> comments;
    std::array<std::vector<std::string>, 256> cells;
    std::map<char, std::vector<std::string>> small;
    struct Sign {
        int first, last;
        std::string text;
        std::string where;
    };
    std::vector<Sign> signs;
};

bool Fail(const std::string &where, const std::string &message)
{
    std::cerr << "glyphsheet: " << where << ": " << message << "\n";
    return false;
}

// Reads count rows of exactly width pixels ("#" or ".") after a directive.
bool ReadRows(std::istream &in, int count, size_t width, std::vector<std::string> &rows, const std::string &where,
              int &number)
{
    std::string line;
    for (int i = 0; i < count; ++i) {
        if (!std::getline(in, line)) {
            return Fail(where, "art ends inside a glyph");
        }
        ++number;
        if (line.size() != width || line.find_first_not_of("#.") != std::string::npos) {
            return Fail(where + ", row " + std::to_string(i + 1), "expected " + std::to_string(width) + " of # and .");
        }
        rows.push_back(line);
    }
    return true;
}

bool ReadArt(const char *path, Art &art)
{
    SourceLines source;
    if (!SourceOpen(source, path)) {
        return Fail(path, "cannot open");
    }
    std::string line;
    std::string where;
    while (SourceNext(source, line, where)) {
        std::istringstream words(line);
        std::string directive;
        words >> directive;
        if (directive == "comment") {
            art.comments.push_back(line.substr(8));
        } else if (directive == "cell") {
            int code = -1;
            if (!(words >> code) || code < 0 || code > 255) {
                return Fail(where, "cell code outside 0..255");
            }
            if (!art.cells[code].empty()) {
                return Fail(where, "cell drawn twice");
            }
            if (!ReadRows(source.in, cellSize, cellSize, art.cells[code], where, source.number)) {
                return false;
            }
        } else if (directive == "small") {
            if (line.size() != 7) {
                return Fail(where, "expected one character after \"small\"");
            }
            std::vector<std::string> rows;
            if (!ReadRows(source.in, smallHeight, smallWidth, rows, where, source.number)) {
                return false;
            }
            art.small[line[6]] = rows;
        } else if (directive == "sign") {
            Art::Sign sign{-1, -1, "", where};
            words >> sign.first >> sign.last;
            std::getline(words, sign.text);
            if (!words.eof() || sign.text.size() < 2 || sign.first < 0 || sign.last > 255 ||
                sign.first / cellsPerRow != sign.last / cellsPerRow || sign.first > sign.last) {
                return Fail(where, "expected FIRST LAST TEXT within one cell row");
            }
            sign.text.erase(0, 1);
            art.signs.push_back(sign);
        } else {
            return Fail(where, "unknown directive \"" + directive + "\"");
        }
    }
    return true;
}

void DrawCell(Sheet &sheet, int code, const std::vector<std::string> &rows)
{
    const int left = (code % cellsPerRow) * cellSize;
    const int top = (code / cellsPerRow) * cellSize;
    for (int y = 0; y < cellSize; ++y) {
        for (int x = 0; x < cellSize; ++x) {
            sheet[top + y][left + x] = rows[y][x] == '#';
        }
    }
}

// Sets the signature in the small type, centred vertically in its cell row;
// it must end within its last cell so the cells beyond stay empty.
bool DrawSign(Sheet &sheet, const Art &art, const Art::Sign &sign)
{
    const int width = static_cast<int>(sign.text.size()) * smallAdvance - 1;
    const int room = (sign.last - sign.first + 1) * cellSize;
    if (width > room) {
        return Fail(sign.where, "signature wider than its cells");
    }
    const int left = (sign.first % cellsPerRow) * cellSize;
    const int top = (sign.first / cellsPerRow) * cellSize + (cellSize - smallHeight) / 2;
    for (size_t i = 0; i < sign.text.size(); ++i) {
        const char c = sign.text[i];
        if (c == ' ') {
            continue;
        }
        const auto glyph = art.small.find(c);
        if (glyph == art.small.end()) {
            return Fail(sign.where, std::string("no small glyph for '") + c + "'");
        }
        for (int y = 0; y < smallHeight; ++y) {
            for (int x = 0; x < smallWidth; ++x) {
                sheet[top + y][left + static_cast<int>(i) * smallAdvance + x] = glyph->second[y][x] == '#';
            }
        }
    }
    return true;
}

bool Draw(const Art &art, Sheet &sheet)
{
    for (int code = 0; code < 256; ++code) {
        if (!art.cells[code].empty()) {
            if (std::islower(code)) {
                return Fail("cell " + std::to_string(code), "lower-case cells repeat the capitals");
            }
            DrawCell(sheet, code, art.cells[code]);
        }
    }
    for (int code = 'a'; code <= 'z'; ++code) {
        DrawCell(sheet, code, art.cells[code - 'a' + 'A']);
    }
    for (int code = 33; code <= 127; ++code) {
        if (art.cells[code].empty() && !std::islower(code)) {
            return Fail("cell " + std::to_string(code), "printable cell not drawn");
        }
    }
    for (const Art::Sign &sign : art.signs) {
        if (!DrawSign(sheet, art, sign)) {
            return false;
        }
    }
    return true;
}

bool Write(const char *path, const Art &art, const Sheet &sheet)
{
    if (art.comments.size() != 3) {
        return Fail(path, "the header needs exactly three comment lines");
    }
    std::string header = "P4\n";
    for (const std::string &comment : art.comments) {
        header += "# " + comment + "\n";
    }
    header += std::to_string(sheetSize) + " " + std::to_string(sheetSize) + "\n";
    if (header.size() != headerBytes) {
        return Fail(path, "header is " + std::to_string(header.size()) + " bytes, not " + std::to_string(headerBytes));
    }
    std::string bytes = header;
    for (int y = 0; y < sheetSize; ++y) {
        for (int x = 0; x < sheetSize; x += 8) {
            uint8_t byte = 0;
            for (int bit = 0; bit < 8; ++bit) {
                byte = static_cast<uint8_t>(byte << 1 | (sheet[y][x + bit] ? 1 : 0));
            }
            bytes += static_cast<char>(byte);
        }
    }
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        return Fail(path, "cannot write");
    }
    return true;
}

}  // namespace

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::cerr << "usage: glyphsheet ART OUTPUT\n";
        return 2;
    }
    Art art;
    Sheet sheet{};
    if (!ReadArt(argv[1], art) || !Draw(art, sheet) || !Write(argv[2], art, sheet)) {
        return 1;
    }
    return 0;
}
