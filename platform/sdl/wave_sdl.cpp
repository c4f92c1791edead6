// Desktop wave output: an SDL audio device whose callback plays the queued buffers, and wake-ups delivered at once.
#include "platform/thread.h"
#include "platform/wave_internal.h"
#include "platform/sdl/sdl_internal.h"

#include <atomic>
#include <mutex>

// The one device open, so that it can move to another output when its own
// goes away. The mixer thread opens and closes; the window thread moves it.
static std::mutex deviceLock;
static WaveDevice* openDevice;
static SDL_AudioSpec openRequest;

int BackendEventsHeld()
{
    return 0;
}

// SDL's audio thread asks for the next stretch of sound. It copies from the
// queue and never waits for the mixer: when the queue runs dry it plays silence.
static std::atomic<int> muted;

static void SdlAudioPull(void* userdata, Uint8* stream, int length)
{
    WaveDevice* device = (WaveDevice*)userdata;
    WaveDevicePlay(device, stream, (uint32_t)length);
    if (muted)
        SDL_memset(stream, device->format.bitsPerSample == 8 ? 0x80 : 0, (size_t)length);
}

int SdlAudioToggleMute()
{
    return muted ^= 1;
}

// Opens the default output for request and starts it; 0 when there is none.
static SDL_AudioDeviceID SdlAudioStart(const SDL_AudioSpec& request)
{
    SDL_AudioSpec have;
    SDL_AudioDeviceID id = SDL_OpenAudioDevice(nullptr, 0, &request, &have, 0);
    if (id)
        SDL_PauseAudioDevice(id, 0);
    return id;
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
    std::lock_guard<std::mutex> hold(deviceLock);
    SDL_AudioDeviceID id = SdlAudioStart(want);
    if (!id) {
        WaveDeviceDestroy(device);
        return nullptr;
    }
    device->backend = id;
    openDevice = device;
    openRequest = want;
    return device;
}

void WaveOutClose(WaveDevice* device)
{
    {
        std::lock_guard<std::mutex> hold(deviceLock);
        if (device == openDevice)
            openDevice = nullptr;
        if (device->backend)
            SDL_CloseAudioDevice(device->backend);   // waits for a callback under way
    }
    WaveDeviceDestroy(device);
}

// The output unplugged: the queue goes on playing on whatever is the default
// now. With no output at all, the queue waits, and the next one added takes it.
void SdlAudioDeviceEvent(const SDL_AudioDeviceEvent& event)
{
    if (event.iscapture)
        return;
    std::lock_guard<std::mutex> hold(deviceLock);
    if (!openDevice)
        return;
    if (event.type == SDL_AUDIODEVICEREMOVED) {
        if (event.which != openDevice->backend)
            return;
        SDL_CloseAudioDevice(openDevice->backend);
        openDevice->backend = SdlAudioStart(openRequest);
    } else if (!openDevice->backend) {
        openDevice->backend = SdlAudioStart(openRequest);
    }
}
