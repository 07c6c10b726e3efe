// The line reader the asset tools share: a source file's lines in order, with
// blank lines and "//" comments skipped, each line's place as "path:number"
// for the tool's messages.
#pragma once

#include <fstream>
#include <string>

struct SourceLines {
    std::ifstream in;
    std::string path;
    int number = 0;  // of the line read last
};

// False when the file cannot be opened.
inline bool SourceOpen(SourceLines &source, const char *path)
{
    source.path = path;
    source.number = 0;
    source.in.open(path);
    return static_cast<bool>(source.in);
}

// The next line that is neither blank nor a comment, and its place; false at the end.
inline bool SourceNext(SourceLines &source, std::string &line, std::string &where)
{
    while (std::getline(source.in, line)) {
        ++source.number;
        if (line.empty() || line.rfind("//", 0) == 0) {
            continue;
        }
        where = source.path + ":" + std::to_string(source.number);
        return true;
    }
    return false;
}
