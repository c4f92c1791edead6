// Desktop wave output: an SDL audio device whose callback plays the queued buffers, and wake-ups delivered at once.
#include "platform/thread.h"
#include "platform/wave_internal.h"
#include "platform/sdl/sdl_internal.h"

int BackendEventsHeld()
{
    return 0;
}

// SDL's audio thread asks for the next stretch of sound. It copies from the
// queue and never waits for the mixer: when the queue runs dry it plays silence.
static void SdlAudioPull(void* userdata, Uint8* stream, int length)
{
    WaveDevicePlay((WaveDevice*)userdata, stream, (uint32_t)length);
}

WaveDevice* WaveOutOpen(const WaveFormat* format, WaveCallback callback)
{
    if (format->formatTag != WAVE_FORMAT_PCM || (format->bitsPerSample != 8 && format->bitsPerSample != 16))
        return nullptr;
    // Audio starts only when a sound first plays; a machine without it fails
    // here, and the game goes on silent.
    if (!SDL_WasInit(SDL_INIT_AUDIO) && SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
        return nullptr;
    WaveDevice* device = WaveDeviceCreate(format, callback);
    SDL_AudioSpec want = {};
    want.freq = (int)format->samplesPerSec;
    want.format = format->bitsPerSample == 8 ? AUDIO_U8 : AUDIO_S16LSB;
    want.channels = (Uint8)format->channels;
    want.samples = 512;
    want.callback = SdlAudioPull;
    want.userdata = device;
    SDL_AudioSpec have;
    SDL_AudioDeviceID id = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (!id) {
        WaveDeviceDestroy(device);
        return nullptr;
    }
    device->backend = id;
    SDL_PauseAudioDevice(id, 0);
    return device;
}

void WaveOutClose(WaveDevice* device)
{
    SDL_CloseAudioDevice(device->backend);   // waits for a callback under way
    WaveDeviceDestroy(device);
}
