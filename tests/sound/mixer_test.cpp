// Tests of the mixer on the headless device: what reaches the output, voices starting and ending, and determinism.
#include "platform/headless.h"
#include "platform/headless_wave.h"
#include "platform/sys.h"
#include "sound/cea_sound.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

static const size_t bufferBytes = 1536;

// A loaded sound holding these 8-bit 22050 Hz samples.
static Sound MakeSound(const std::vector<uint8_t>& samples, int channels)
{
    WaveFormat format = { WAVE_FORMAT_PCM, (uint16_t)channels, 22050, 22050u * channels, (uint16_t)channels, 8, 0 };
    Sound sound = {};
    std::vector<uint8_t> copy = samples;
    EXPECT_EQ(SetSamples(&sound, &format, copy.data(), (uint32_t)copy.size()), 1);
    return sound;
}

// Samples of a ramp that sweeps the whole range, so that every buffer's peak differs.
static std::vector<uint8_t> Ramp(size_t count, int step)
{
    std::vector<uint8_t> samples(count);
    for (size_t i = 0; i < count; i++)
        samples[i] = (uint8_t)(40 + (i * step) % 170);
    return samples;
}

// The first n bytes of the capture: what the first buffers played.
static std::vector<uint8_t> Head(size_t n)
{
    const std::vector<uint8_t>& all = HeadlessAudioCaptured();
    return std::vector<uint8_t>(all.begin(), all.begin() + (ptrdiff_t)std::min(n, all.size()));
}

class MixerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        MixerClose();
        HeadlessReset();
        HeadlessAudioReset();
    }
    void TearDown() override
    {
        MixerClose();
    }
};

// Two identical voices sound like one: the sum is scaled to the loudest input.
TEST_F(MixerTest, MonoVoicesPlayOnBothChannelsAndSumsAreScaledToTheLoudestInput)
{
    std::vector<uint8_t> samples = Ramp(3000, 7);
    Sound sound = MakeSound(samples, 1);
    SoundPlay(&sound, 0);
    SoundPlay(&sound, 0);
    EXPECT_EQ(sound.playCount, 2u);
    SysSleep(500);
    ASSERT_EQ(HeadlessAudioChannels(), 2);
    std::vector<uint8_t> out = Head(2 * samples.size() + bufferBytes);
    ASSERT_EQ(out.size(), 2 * samples.size() + bufferBytes);
    for (size_t i = 0; i < samples.size(); i++) {
        ASSERT_EQ(out[2 * i], samples[i]) << i;
        ASSERT_EQ(out[2 * i + 1], samples[i]) << i;
    }
    for (size_t i = 2 * samples.size(); i < out.size(); i++)
        ASSERT_EQ(out[i], 128) << i;
    EXPECT_EQ(sound.playCount, 0u);
    SoundDestroy(&sound);

    // Louder sums are scaled down, not wrapped.
    SetUp();
    Sound low = MakeSound({ 0, 200 }, 1);
    Sound high = MakeSound({ 128, 200 }, 1);
    SoundPlay(&low, 0);
    SoundPlay(&high, 0);
    SysSleep(100);
    // Frame 1 sums to 144, the buffer's peak; the loudest input is 128 (the 0).
    EXPECT_EQ(Head(4), (std::vector<uint8_t>{ 128 - 128 * 128 / 144, 128 - 128 * 128 / 144, 255, 255 }));
    SoundDestroy(&low);
    SoundDestroy(&high);
}

TEST_F(MixerTest, ShortSoundEndsInTheFillAfterItRanOut)
{
    Sound opener = MakeSound({ 128 }, 1);
    SoundPlay(&opener, 0);
    SysSleep(200);
    Sound shortSound = MakeSound(Ramp(100, 3), 1);
    SoundPlay(&shortSound, 0);
    EXPECT_EQ(shortSound.playCount, 1u);
    // The next returned buffer takes all 100 frames; the one after ends the voice.
    SysSleep(36);
    EXPECT_EQ(shortSound.playCount, 1u);
    SysSleep(35);
    EXPECT_EQ(shortSound.playCount, 0u);
    SoundDestroy(&opener);
    SoundDestroy(&shortSound);
}

// Nine voices grow the array, a stopped voice's slot is taken again, and voices stopped or destroyed while
// playing end: the buffer playing and the five queued behind it still sound; all after them are silent.
TEST_F(MixerTest, VoicesGrowTheArrayReuseFreedSlotsAndEndWhenStoppedOrDestroyed)
{
    uint32_t before = MixerVoiceCapacity();
    std::vector<Sound> sounds;
    for (int i = 0; i < 10; i++)
        sounds.push_back(MakeSound(Ramp(400, i + 1), 1 + i % 2));
    for (int i = 0; i < 9; i++)
        SoundPlay(&sounds[i], 1);
    EXPECT_EQ(MixerVoiceCapacity(), std::max(before, 9u));
    SysSleep(100);
    SoundStop(&sounds[3]);
    EXPECT_EQ(sounds[3].playCount, 0u);
    SoundPlay(&sounds[9], 1);
    EXPECT_EQ(MixerVoiceCapacity(), std::max(before, 9u));
    SysSleep(200);
    for (size_t i = 0; i < sounds.size(); i += 2) {
        SoundStop(&sounds[i]);
        SoundDestroy(&sounds[i + 1]);
        EXPECT_EQ(sounds[i].playCount, 0u);
        EXPECT_EQ(sounds[i + 1].data, nullptr);
    }
    size_t stoppedAt = HeadlessAudioCaptured().size();
    SysSleep(500);
    std::vector<uint8_t> out = HeadlessAudioCaptured();
    auto queuedEnd = out.begin() + (ptrdiff_t)(stoppedAt + 6 * bufferBytes);
    ASSERT_GT(out.end(), queuedEnd);
    EXPECT_LT(std::count(queuedEnd - (ptrdiff_t)bufferBytes, queuedEnd, 128), (ptrdiff_t)bufferBytes);
    EXPECT_EQ(std::count(queuedEnd, out.end(), 128), out.end() - queuedEnd);
    for (Sound& sound : sounds)
        SoundDestroy(&sound);
}

TEST_F(MixerTest, AMonoDevicePlaysTheLeftChannelAndNoDeviceNothing)
{
    HeadlessSetAudioChannels(1);
    std::vector<uint8_t> pairs(4000);
    for (size_t i = 0; i < pairs.size(); i += 2) {
        pairs[i] = (uint8_t)(60 + i % 120);
        pairs[i + 1] = (uint8_t)(250 - i % 90);
    }
    Sound sound = MakeSound(pairs, 2);
    SoundPlay(&sound, 0);
    SysSleep(300);
    ASSERT_EQ(HeadlessAudioChannels(), 1);
    std::vector<uint8_t> out = Head(pairs.size() / 2);
    ASSERT_EQ(out.size(), pairs.size() / 2);
    for (size_t i = 0; i < out.size(); i++)
        ASSERT_EQ(out[i], pairs[2 * i]) << i;

    // With no device nothing plays, but the voice counts until it is stopped.
    SetUp();
    HeadlessSetAudioChannels(0);
    SoundPlay(&sound, 0);
    SysSleep(200);
    EXPECT_TRUE(HeadlessAudioCaptured().empty());
    EXPECT_EQ(sound.playCount, 1u);
    SoundStop(&sound);
    EXPECT_EQ(sound.playCount, 0u);
    SoundDestroy(&sound);
}

// The thread is real but the clock waits for it, so the same calls at the
// same virtual times give the same bytes, whatever the real timing.
static std::vector<uint8_t> PlayScene(Sound* a, Sound* b, Sound* c)
{
    MixerClose();
    HeadlessReset();
    HeadlessAudioReset();
    SoundPlay(a, 0);
    SysSleep(37);
    SoundPlay(b, 1);
    SysSleep(3);
    SoundPlay(c, 0);
    SysSleep(120);
    SoundPlay(a, 0);
    SysSleep(55);
    SoundStop(b);
    SysSleep(1);
    SoundPlay(c, 0);
    SysSleep(400);
    return HeadlessAudioCaptured();
}

TEST_F(MixerTest, SameCallsAtSameTimesGiveSameBytes)
{
    Sound a = MakeSound(Ramp(3000, 13), 1);
    Sound b = MakeSound(Ramp(2222, 3), 2);
    Sound c = MakeSound(Ramp(700, 29), 1);
    std::vector<uint8_t> first = PlayScene(&a, &b, &c);
    EXPECT_EQ(first.size(), 17 * bufferBytes);   // 616 ms: the device keeps its pace, idle or not
    for (int run = 0; run < 5; run++)
        ASSERT_EQ(PlayScene(&a, &b, &c), first) << run;
    SoundDestroy(&a);
    SoundDestroy(&b);
    SoundDestroy(&c);
}
