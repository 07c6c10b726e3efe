// scrolltext: writes the scroll text from its marked-up source.
//
//   scrolltext SOURCE OUTPUT
//
// Every line of SOURCE not starting with "//" is one line of the text ended by
// "|", which keeps trailing spaces visible and safe from editors. The output
// holds the lines without their markers, each ended by "\n", and must come to
// the 65 lines and 1233 characters the scrollers are laid out for.
#include <fstream>
#include <iostream>
#include <string>

namespace {

constexpr size_t expectedLines = 65;
constexpr size_t expectedLength = 1233;

}  // namespace

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::cerr << "usage: scrolltext SOURCE OUTPUT\n";
        return 2;
    }
    std::ifstream in(argv[1]);
    if (!in) {
        std::cerr << "scrolltext: cannot open " << argv[1] << "\n";
        return 1;
    }
    std::string text;
    std::string line;
    size_t lines = 0;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        if (line.rfind("//", 0) == 0) {
            continue;
        }
        if (line.empty() || line.back() != '|') {
            std::cerr << "scrolltext: " << argv[1] << ":" << number << ": line does not end with |\n";
            return 1;
        }
        line.pop_back();
        if (line.find_first_of("\r\t") != std::string::npos) {
            std::cerr << "scrolltext: " << argv[1] << ":" << number << ": tab or carriage return\n";
            return 1;
        }
        text += line + "\n";
        ++lines;
    }
    if (lines != expectedLines || text.size() != expectedLength) {
        std::cerr << "scrolltext: " << lines << " lines of " << text.size() << " characters, expected " << expectedLines
                  << " lines of " << expectedLength << "\n";
        return 1;
    }
    std::ofstream out(argv[2], std::ios::binary);
    out << text;
    if (!out) {
        std::cerr << "scrolltext: cannot write " << argv[2] << "\n";
        return 1;
    }
    return 0;
}
