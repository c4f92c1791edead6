// Tests of the wave-output queue that the desktop's audio callback plays from, and the game sounds' sound check.
#include "platform/wave_internal.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

static std::vector<WaveHeader*> returned;

static void Record(WaveDevice*, uint32_t message, WaveHeader* header)
{
    if (message == WOM_DONE) {
        header->flags |= WHDR_DONE;
        returned.push_back(header);
    }
}

TEST(WaveQueue, PlaysAcrossBuffersAndHandsEachBackWhenFinished)
{
    returned.clear();
    WaveFormat format = { WAVE_FORMAT_PCM, 1, 22050, 22050, 1, 8, 0 };
    WaveDevice* device = WaveDeviceCreate(&format, Record);
    std::vector<uint8_t> one(1000, 1), two(500, 2);
    WaveHeader first = {}, second = {};
    first.data = one.data();
    first.bufferLength = 1000;
    second.data = two.data();
    second.bufferLength = 500;
    EXPECT_EQ(WaveOutWrite(device, &first), 0);   // not prepared
    ASSERT_EQ(WaveOutPrepareHeader(device, &first), 1);
    ASSERT_EQ(WaveOutPrepareHeader(device, &second), 1);
    ASSERT_EQ(WaveOutWrite(device, &first), 1);
    EXPECT_EQ(WaveOutWrite(device, &first), 0);   // already queued
    EXPECT_EQ(WaveOutUnprepareHeader(device, &first), 0);
    ASSERT_EQ(WaveOutWrite(device, &second), 1);

    std::vector<uint8_t> out(700);
    EXPECT_EQ(WaveDevicePlay(device, out.data(), 700), 700u);
    EXPECT_TRUE(returned.empty());
    EXPECT_EQ(WaveDeviceHeadBytes(device), 300u);
    EXPECT_EQ(WaveDevicePlay(device, out.data(), 700), 700u);
    EXPECT_EQ(returned, std::vector<WaveHeader*>{ &first });
    EXPECT_EQ(out[299], 1);
    EXPECT_EQ(out[300], 2);
    // Running dry plays silence.
    EXPECT_EQ(WaveDevicePlay(device, out.data(), 700), 100u);
    EXPECT_EQ(returned, (std::vector<WaveHeader*>{ &first, &second }));
    EXPECT_EQ(out[99], 2);
    EXPECT_EQ(out[100], 128);
    EXPECT_EQ(out[699], 128);

    ASSERT_EQ(WaveOutWrite(device, &first), 1);
    EXPECT_EQ(first.flags & WHDR_DONE, 0u);
    WaveOutReset(device);
    EXPECT_EQ(returned.back(), &first);
    EXPECT_EQ(WaveDeviceHeadBytes(device), 0u);
    EXPECT_EQ(WaveOutUnprepareHeader(device, &first), 1);
    WaveDeviceDestroy(device);
}

// Every effect the game ships, played through the mixer, must be audible,
// unclipped and centred; the sound check measures each one.
TEST(WaveRunner, GameSoundsPassTheSoundCheck)
{
    std::string build = SS_BUILD_DIR;
    if (!std::filesystem::exists(build + "/sounds/fire.wav") || !std::filesystem::exists(build + "/soundcheck"))
        GTEST_SKIP() << "no game sounds or no sound check in " << build;
    std::string wav = testing::TempDir() + "soundcheck_" + std::to_string(getpid()) + ".wav";
    EXPECT_EQ(system((build + "/soundcheck " + wav + " >/dev/null").c_str()), 0);
    std::filesystem::remove(wav);
}
