// Tests of WAV loading: malformed files and each conversion path (the sound table is the button sound's flow test).
#include "sound/cea_sound.h"
#include "tests/sound/wave_file.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

// A sine of the given frequency as 16-bit little-endian samples, the same on every channel.
static std::vector<uint8_t> Sine16(size_t frames, int channels, double rate, double amplitude)
{
    std::vector<uint8_t> out;
    for (size_t i = 0; i < frames; i++) {
        int16_t value = (int16_t)lround(amplitude * sin(2 * M_PI * 441.0 * (double)i / rate));
        for (int c = 0; c < channels; c++)
            Put(out, (uint16_t)value, 2);
    }
    return out;
}

static int Parse(Sound* sound, std::vector<uint8_t> image)
{
    *sound = {};
    return ParseWave(sound, image.data(), (uint32_t)image.size());
}

TEST(SoundLoad, MalformedFilesLeaveTheSoundSilent)
{
    std::vector<uint8_t> good = Wav(1, 1, 22050, 8, std::vector<uint8_t>(100, 150));
    Sound sound;
    ASSERT_EQ(Parse(&sound, good), 1);
    SoundDestroy(&sound);

    EXPECT_EQ(Parse(&sound, std::vector<uint8_t>(good.begin(), good.begin() + 11)), 0);
    std::vector<uint8_t> bad = good;
    bad[0] = 'X';
    EXPECT_EQ(Parse(&sound, bad), 0);
    bad = good;
    bad[11] = 'X';
    EXPECT_EQ(Parse(&sound, bad), 0);

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

// Other chunks are skipped (with no pad byte after an odd size), and an
// 18-byte format is read whole; samples already in the mixer's format are
// copied once, out of the file image.
TEST(SoundLoad, TargetFormatIsCopiedUnchanged)
{
    std::vector<uint8_t> samples = { 0, 1, 127, 128, 200, 255 };
    std::vector<uint8_t> image = { 'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E' };
    PutChunk(image, "LIST", 3, { 9, 9, 9 });
    PutChunk(image, "fmt ", 18, FormatChunk(1, 2, 22050, 8, 1));
    PutChunk(image, "data", (uint32_t)samples.size(), samples);
    Sound sound = {};
    ASSERT_EQ(ParseWave(&sound, image.data(), (uint32_t)image.size()), 1);
    EXPECT_EQ(sound.format.channels, 2);
    EXPECT_EQ(std::vector<uint8_t>(sound.data, sound.data + sound.length), samples);
    EXPECT_TRUE(sound.data < image.data() || sound.data >= image.data() + image.size());
    SoundDestroy(&sound);
}

struct ConversionCase {
    uint16_t channels;
    uint32_t rate;
    size_t frames;
    uint32_t expectedLength;
};

TEST(SoundLoad, SixteenBitFilesOfEveryRateEndAs8BitAt22050)
{
    const ConversionCase cases[] = {
        { 2, 44100, 4410, 2 * 2205 },
        { 1, 44100, 4410, 2205 },
        { 1, 22050, 2205, 2205 },
        { 2, 11025, 1103, 2 * 2206 },
        { 1, 48000, 4800, 2205 },
    };
    for (const ConversionCase& c : cases) {
        Sound sound;
        ASSERT_EQ(Parse(&sound, Wav(1, c.channels, c.rate, 16, Sine16(c.frames, c.channels, c.rate, 16000))), 1)
            << c.rate;
        EXPECT_EQ(sound.format.formatTag, WAVE_FORMAT_PCM);
        EXPECT_EQ(sound.format.samplesPerSec, 22050u);
        EXPECT_EQ(sound.format.bitsPerSample, 8);
        EXPECT_EQ(sound.format.channels, c.channels);
        EXPECT_EQ(sound.format.blockAlign, c.channels);
        EXPECT_NEAR(sound.length, c.expectedLength, c.channels) << c.rate;
        // A 441 Hz sine at half scale stays one: every 50th frame crosses zero.
        // Narrowing rounds, so the sine stays centred on 128.
        int low = 255, high = 0;
        double sum = 0;
        for (uint32_t i = 0; i < sound.length; i++) {
            low = std::min(low, (int)sound.data[i]);
            high = std::max(high, (int)sound.data[i]);
            sum += sound.data[i] - 128;
        }
        EXPECT_NEAR(sum / sound.length, 0.0, 0.1) << c.rate;
        EXPECT_NEAR(low, 128 - 63, 2) << c.rate;
        EXPECT_NEAR(high, 128 + 63, 2) << c.rate;
        EXPECT_NEAR(sound.data[25 * c.channels], 128, 2) << c.rate;
        SoundDestroy(&sound);
    }
}

TEST(SoundLoad, EightBitAndFloatFilesConvert)
{
    Sound sound;
    std::vector<uint8_t> slow = { 128, 200, 128, 56 };
    ASSERT_EQ(Parse(&sound, Wav(1, 1, 11025, 8, slow)), 1);
    EXPECT_EQ(sound.length, 8u);
    SoundDestroy(&sound);

    std::vector<uint8_t> floats;
    for (float value : { 0.0f, 0.5f, -0.5f, 1.0f }) {
        uint32_t bits;
        memcpy(&bits, &value, 4);
        Put(floats, bits, 4);
    }
    ASSERT_EQ(Parse(&sound, Wav(3, 1, 22050, 32, floats)), 1);
    ASSERT_EQ(sound.length, 4u);
    EXPECT_NEAR(sound.data[0], 128, 3);
    EXPECT_NEAR(sound.data[1], 192, 3);
    EXPECT_NEAR(sound.data[2], 64, 3);
    EXPECT_NEAR(sound.data[3], 255, 3);
    SoundDestroy(&sound);
}
