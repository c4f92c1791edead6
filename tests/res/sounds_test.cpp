// The generated sounds, and a second generator run giving the same bytes.
#include "tests/res/asset_files.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

struct WaveCheck {
    const char* file;
    uint32_t rate;
    int bits, channels;
    double seconds;
};

// Together they take every path of the loader: rate and depth, rate only,
// depth only, and nothing at all (click is already in the mixer's format).
const WaveCheck WaveCheckTable[] = {
    { "fire.wav", 44100, 16, 1, 0.28 },   { "die.wav", 44100, 16, 2, 1.3 },      { "homer.wav", 22050, 16, 1, 0.7 },
    { "powerup.wav", 44100, 16, 2, 0.8 }, { "click.wav", 22050, 8, 1, 0.06 },    { "button.wav", 44100, 8, 1, 0.13 },
    { "airraid.wav", 22050, 16, 2, 2.0 }, { "metal.wav", 48000, 16, 1, 0.9 },
};

// How they sound (audible, unclipped, centred) is the sound check's to say (WaveRunner).
TEST(Sounds, EachIsPcmWaveOfItsFormatAndLength)
{
    for (const WaveCheck& w : WaveCheckTable) {
        SCOPED_TRACE(w.file);
        std::vector<uint8_t> f = ReadAll(AssetPath(std::string("sounds/") + w.file));
        ASSERT_GE(f.size(), 44u);
        ASSERT_EQ(std::string(f.begin(), f.begin() + 4), "RIFF");
        ASSERT_EQ(std::string(f.begin() + 8, f.begin() + 12), "WAVE");
        size_t at = 12, data = 0, dataSize = 0;
        bool fmt = false;
        while (at + 8 <= f.size()) {
            std::string id(f.begin() + at, f.begin() + at + 4);
            size_t size = Le32(f, at + 4);
            ASSERT_LE(at + 8 + size, f.size());
            if (id == "fmt ") {
                fmt = true;
                EXPECT_EQ(Le16(f, at + 8), 1u);   // PCM
                EXPECT_EQ((int)Le16(f, at + 10), w.channels);
                EXPECT_EQ(Le32(f, at + 12), w.rate);
                EXPECT_EQ(Le32(f, at + 16), w.rate * w.channels * (w.bits / 8));
                EXPECT_EQ((int)Le16(f, at + 20), w.channels * (w.bits / 8));
                EXPECT_EQ((int)Le16(f, at + 22), w.bits);
            } else if (id == "data") {
                data = at + 8;
                dataSize = size;
            }
            at += 8 + size + (size & 1);
        }
        ASSERT_TRUE(fmt);
        ASSERT_GT(data, 0u);
        size_t frames = dataSize / (size_t)(w.channels * w.bits / 8);
        EXPECT_NEAR((double)frames / w.rate, w.seconds, 0.01);
    }
}

// The generator draws from its own fixed-seed generator: a fresh run into
// another folder writes exactly the files of the build.
TEST(Generator, TwoRunsGiveTheSameBytes)
{
    namespace fs = std::filesystem;
    fs::path out = fs::temp_directory_path() / (std::string("assetgen-twice-") + std::to_string(::getpid()));
    fs::remove_all(out);
    std::string command = std::string("\"") + SS_BUILD_DIR + "/tools/assetgen/assetgen\" \"" + out.string() + "\"";
    ASSERT_EQ(std::system(command.c_str()), 0);
    int compared = 0;
    for (const char* dir : { "res", "GFX", "sounds" }) {
        for (const auto& entry : fs::directory_iterator(out / dir)) {
            if (!entry.is_regular_file())
                continue;
            std::string name = std::string(dir) + "/" + entry.path().filename().string();
            if (name.size() > 4 && name.substr(name.size() - 4) == ".cpp")
                continue;
            EXPECT_EQ(ReadAll(entry.path().string()), ReadAll(AssetPath(name))) << name;
            compared++;
        }
    }
    EXPECT_GT(compared, 50);
    fs::remove_all(out);
}

} // namespace
