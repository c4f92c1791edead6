// The desktop's sound output on SDL's dummy driver: it moves to the default output when its own goes away.
#include "desktop_env.h"

#include "platform/sdl/sdl_internal.h"
#include "platform/wave_internal.h"

#include <algorithm>
#include <atomic>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

using namespace desktop;

std::atomic<int> buffersDone;

void CountDone(WaveDevice*, uint32_t message, WaveHeader*)
{
    if (message == WOM_DONE)
        buffersDone++;
}

// Plays one buffer of value 200 to its end on the device; 1 when it came back.
int PlayBuffer(WaveDevice* device, std::vector<uint8_t>* sound)
{
    int before = buffersDone;
    WaveHeader header = {};
    header.data = sound->data();
    header.bufferLength = (uint32_t)sound->size();
    if (!WaveOutPrepareHeader(device, &header) || !WaveOutWrite(device, &header))
        return 0;
    for (int i = 0; i < 300 && buffersDone == before; i++)
        SDL_Delay(10);
    WaveOutUnprepareHeader(device, &header);
    return buffersDone > before;
}

TEST(Audio, SoundGoesOnWhenTheOutputIsUnplugged)
{
    FreshHome();
    ASSERT_EQ(SDL_Init(SDL_INIT_EVENTS), 0);
    buffersDone = 0;
    WaveFormat format = { WAVE_FORMAT_PCM, 1, 22050, 22050, 1, 8, 0 };
    WaveDevice* device = WaveOutOpen(&format, CountDone);
    ASSERT_NE(device, nullptr) << SDL_GetError();
    uint32_t first = device->backend;
    ASSERT_NE(first, 0u);

    // Unplugged: the output stops, and the desktop says so.
    SDL_CloseAudioDevice(first);
    SDL_AudioDeviceEvent removed = {};
    removed.type = SDL_AUDIODEVICEREMOVED;
    removed.which = first;
    SdlAudioDeviceEvent(removed);
    ASSERT_NE(device->backend, 0u);
    EXPECT_EQ(SDL_GetAudioDeviceStatus(device->backend), SDL_AUDIO_PLAYING);

    // A buffer written now is played to its end on the new output.
    std::vector<uint8_t> sound(1102, 200);
    EXPECT_TRUE(PlayBuffer(device, &sound));

    // Another device's removal, or a capture device's, leaves it alone.
    uint32_t second = device->backend;
    removed.which = second + 100;
    SdlAudioDeviceEvent(removed);
    removed.which = second;
    removed.iscapture = 1;
    SdlAudioDeviceEvent(removed);
    EXPECT_EQ(device->backend, second);
    WaveOutClose(device);
    SDL_Quit();
}

// SDL's disk driver writes what the device played to a file, so the test hears it.
TEST(Audio, MTurnsTheSoundOffAndOnWhileTheQueuePlaysOn)
{
    fs::path home = FreshHome();
    fs::path played = home / "played.raw";
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", played.c_str(), 1);
    setenv("SDL_DISKAUDIODELAY", "1", 1);
    ASSERT_EQ(SDL_Init(SDL_INIT_EVENTS), 0);
    buffersDone = 0;
    WaveFormat format = { WAVE_FORMAT_PCM, 1, 22050, 22050, 1, 8, 0 };
    WaveDevice* device = WaveOutOpen(&format, CountDone);
    ASSERT_NE(device, nullptr) << SDL_GetError();

    std::vector<uint8_t> sound(1102, 200);
    ASSERT_TRUE(PlayBuffer(device, &sound));
    EXPECT_EQ(SdlAudioToggleMute(), 1);
    ASSERT_TRUE(PlayBuffer(device, &sound));   // silent, yet played through and handed back
    EXPECT_EQ(SdlAudioToggleMute(), 0);
    ASSERT_TRUE(PlayBuffer(device, &sound));
    WaveOutClose(device);
    SDL_Quit();
    setenv("SDL_AUDIODRIVER", "dummy", 1);

    std::ifstream in(played, std::ios::binary);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    size_t loud = (size_t)std::count(bytes.begin(), bytes.end(), 200);
    EXPECT_EQ(loud, 2 * sound.size()) << bytes.size() << " bytes played";
    EXPECT_EQ(loud + (size_t)std::count(bytes.begin(), bytes.end(), 0x80), bytes.size());
}

}  // namespace
