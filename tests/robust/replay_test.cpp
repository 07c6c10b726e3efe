// Every input of the fuzz corpus through its reader harness, in the ordinary
// build: the inputs that once crashed a reader stay here as regression cases.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "audio/sample.h"
#include "gfx/img.h"
#include "gfx/imgfx.h"
#include "targets.h"

namespace {

TEST(FuzzCorpus, EveryInputReadsSafely)
{
    namespace fs = std::filesystem;
    for (const fuzz::Entry &target : fuzz::targets) {
        const fs::path folder = fs::path(ZOLT_FUZZ_CORPUS) / target.name;
        ASSERT_TRUE(fs::is_directory(folder)) << folder;
        int inputs = 0;
        for (const fs::directory_entry &file : fs::directory_iterator(folder)) {
            std::ifstream in(file.path(), std::ios::binary);
            const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
            SCOPED_TRACE(file.path().string());
            target.run(bytes.data(), bytes.size());
            ++inputs;
        }
        EXPECT_GT(inputs, 0) << target.name;
    }
}

}  // namespace

namespace {

std::string Seed(const char *target, const char *name)
{
    std::ifstream in(std::filesystem::path(ZOLT_FUZZ_CORPUS) / target / name, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// The text-form seeds are what the writers produce today, so the fuzzers start from real output.
TEST(FuzzCorpus, TextSeedsAreTheWritersOutput)
{
    IMG *img = IMGNew();
    IMGResize(img, 7, 1);
    for (uint32_t i = 0; i < 7; ++i) {
        img->pixels[i] = 0x010203u * i;
    }
    char *text = IMGToASCII(img);
    EXPECT_EQ(Seed("IMGFromASCII", "text_7x1"), text);
    delete[] text;
    text = IMGFXToASCII(img);
    EXPECT_EQ(Seed("IMGFXFromASCII", "text_7x1"), text);
    delete[] text;
    IMGFree(&img);

    SAMPLE *sample = SAMPLENew();
    for (int32_t v : {5, -12, 0}) {
        SAMPLEInsert(sample, v, sample->length);
    }
    text = SAMPLEToASCII(sample);
    EXPECT_EQ(Seed("SAMPLEFromASCII", "three"), text);
    delete[] text;
    SAMPLEFree(&sample);
}

}  // namespace
