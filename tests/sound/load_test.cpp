// Tests of WAV loading: malformed files and each conversion path (the sound table is the button sound's flow test).
#include "sound/cea_sound.h"
#include "tests/sound/wave_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

// A 441 Hz sine at a fraction of full scale, the same on every channel, in 8-bit, 16-bit or float samples.
static std::vector<uint8_t> Sine(uint16_t bits, size_t frames, int channels, double rate, double amplitude)
{
    std::vector<uint8_t> out;
    for (size_t i = 0; i < frames; i++) {
        double value = amplitude * sin(2 * M_PI * 441.0 * (double)i / rate);
        float real = (float)value;
        uint32_t sample = (uint32_t)lround(bits == 8 ? 128 + 127 * value : 32767 * value);
        if (bits == 32)
            memcpy(&sample, &real, 4);
        for (int c = 0; c < channels; c++)
            Put(out, sample, bits / 8);
    }
    return out;
}

static int Parse(Sound* sound, std::vector<uint8_t> image)
{
    *sound = {};
    return ParseWave(sound, image.data(), (uint32_t)image.size());
}

// A file already in the mixer's format, with another chunk before its format (no pad byte after its odd
// size) and an 18-byte format, is copied once, out of the file image; damaged ones leave the sound silent.
TEST(SoundLoad, TargetFormatIsCopiedAndMalformedFilesLeaveTheSoundSilent)
{
    std::vector<uint8_t> samples = { 0, 1, 127, 128, 200, 255 };
    std::vector<uint8_t> good = { 'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E' };
    PutChunk(good, "LIST", 3, { 9, 9, 9 });
    PutChunk(good, "fmt ", 18, FormatChunk(1, 2, 22050, 8, 1));
    PutChunk(good, "data", (uint32_t)samples.size(), samples);
    Sound sound = {};
    ASSERT_EQ(ParseWave(&sound, good.data(), (uint32_t)good.size()), 1);
    EXPECT_EQ(sound.format.channels, 2);
    EXPECT_EQ(std::vector<uint8_t>(sound.data, sound.data + sound.length), samples);
    EXPECT_TRUE(sound.data < good.data() || sound.data >= good.data() + good.size());
    SoundDestroy(&sound);

    EXPECT_EQ(Parse(&sound, std::vector<uint8_t>(good.begin(), good.begin() + 11)), 0);
    for (size_t at : { 0, 11 }) {   // in "RIFF" and in "WAVE"
        std::vector<uint8_t> bad = good;
        bad[at] = 'X';
        EXPECT_EQ(Parse(&sound, bad), 0) << at;
    }

    // "data" before "fmt ": the format is all zero and cannot be converted.
    std::vector<uint8_t> early = { 'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E' };
    PutChunk(early, "data", 4, { 1, 2, 3, 4 });
    PutChunk(early, "fmt ", 16, FormatChunk(1, 1, 22050, 8, 0));
    EXPECT_EQ(Parse(&sound, early), 0);

    // A chunk that claims more bytes than are left ends the scan before "data".
    std::vector<uint8_t> lying = { 'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E' };
    PutChunk(lying, "fmt ", 16, FormatChunk(1, 1, 22050, 8, 0));
    PutChunk(lying, "LIST", 1000, { 0, 0, 0, 0 });
    PutChunk(lying, "data", 4, { 1, 2, 3, 4 });
    EXPECT_EQ(Parse(&sound, lying), 0);

    // A "data" chunk longer than the file is refused, not read past the end.
    std::vector<uint8_t> longData = Wav(1, 1, 22050, 8, { 1, 2, 3, 4 });
    longData[40] = 5;
    EXPECT_EQ(Parse(&sound, longData), 0);

    // Formats the converter does not know.
    EXPECT_EQ(Parse(&sound, Wav(2, 1, 22050, 4, std::vector<uint8_t>(64, 0))), 0);
    EXPECT_EQ(Parse(&sound, Wav(1, 1, 22050, 24, std::vector<uint8_t>(60, 0))), 0);
    EXPECT_EQ(sound.data, nullptr);
}

struct ConversionCase {
    uint16_t tag, bits, channels;
    uint32_t rate;
    size_t frames;
    uint32_t expectedLength;
};

TEST(SoundLoad, FilesOfEveryDepthAndRateEndAs8BitAt22050)
{
    const ConversionCase cases[] = {
        { 1, 16, 2, 44100, 4410, 2 * 2205 },
        { 1, 16, 1, 44100, 4410, 2205 },
        { 1, 16, 1, 22050, 2205, 2205 },
        { 1, 16, 2, 11025, 1103, 2 * 2206 },
        { 1, 16, 1, 48000, 4800, 2205 },
        { 3, 32, 2, 22050, 2205, 2 * 2205 },
    };
    for (const ConversionCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.bits << " bits at " << c.rate);
        Sound sound;
        ASSERT_EQ(Parse(&sound, Wav(c.tag, c.channels, c.rate, c.bits, Sine(c.bits, c.frames, c.channels, c.rate, 0.49))), 1);
        EXPECT_EQ(sound.format.formatTag, WAVE_FORMAT_PCM);
        EXPECT_EQ(sound.format.samplesPerSec, 22050u);
        EXPECT_EQ(sound.format.bitsPerSample, 8);
        EXPECT_EQ(sound.format.channels, c.channels);
        EXPECT_EQ(sound.format.blockAlign, c.channels);
        EXPECT_NEAR(sound.length, c.expectedLength, c.channels);
        // A 441 Hz sine at half scale stays one: every 50th frame crosses zero.
        // Narrowing rounds, so the sine stays centred on 128.
        int low = 255, high = 0;
        double sum = 0;
        for (uint32_t i = 0; i < sound.length; i++) {
            low = std::min(low, (int)sound.data[i]);
            high = std::max(high, (int)sound.data[i]);
            sum += sound.data[i] - 128;
        }
        EXPECT_NEAR(sum / sound.length, 0.0, 0.1);
        EXPECT_NEAR(low, 128 - 63, 2);
        EXPECT_NEAR(high, 128 + 63, 2);
        EXPECT_NEAR(sound.data[25 * c.channels], 128, 2);
        SoundDestroy(&sound);
    }
    // 8-bit samples at half the rate are stretched to twice as many.
    Sound sound;
    ASSERT_EQ(Parse(&sound, Wav(1, 1, 11025, 8, { 128, 200, 128, 56 })), 1);
    EXPECT_EQ(sound.length, 8u);
    SoundDestroy(&sound);
    // Floats at and beyond full scale are held at its ends, not wrapped: a fifth of each period at either end.
    ASSERT_EQ(Parse(&sound, Wav(3, 1, 22050, 32, Sine(32, 50, 1, 22050, 1.5))), 1);
    EXPECT_GE(std::count(sound.data, sound.data + sound.length, 255), 10);
    EXPECT_GE(std::count(sound.data, sound.data + sound.length, 0), 10);
    SoundDestroy(&sound);
}
