// Web wave output: a Web Audio processing node pulls the queued buffers; the mixer refills them on the game's turn.
#include "platform/thread.h"
#include "platform/wave_internal.h"

#include <emscripten.h>

#include <cstring>

// The page makes the audio context at load and resumes it at the first
// tap or key (browsers start sound only after a gesture). The node asks for
// a stretch of sound now and then; it copies from the queue and never waits:
// when the queue runs dry it plays silence. The mixer keeps six buffers
// (about 200 ms) queued, refilled whenever the game pumps, so the queue
// outlasts the gaps between the game's turns.
static WaveDevice* openDevice;
static uint8_t pulled[8192];

int BackendEventsHeld()
{
    return 0;
}

// Called by the page's audio node with the bytes it wants; returns where they are.
extern "C" EMSCRIPTEN_KEEPALIVE uint8_t* WebAudioFill(int bytes)
{
    if (bytes < 0 || bytes > (int)sizeof pulled)
        bytes = sizeof pulled;
    if (openDevice)
        WaveDevicePlay(openDevice, pulled, (uint32_t)bytes);
    else
        memset(pulled, 128, (size_t)bytes);
    return pulled;
}

WaveDevice* WaveOutOpen(const WaveFormat* format, WaveCallback callback)
{
    // The page converts 8-bit samples only, and plays one queue.
    if (format->formatTag != WAVE_FORMAT_PCM || format->bitsPerSample != 8 || format->channels < 1 ||
        format->channels > 2 || openDevice)
        return nullptr;
    int started = EM_ASM_INT({ return Module['startAudio'] ? Module['startAudio']($0, $1) : 0; },
                             (int)format->samplesPerSec, (int)format->channels);
    if (!started)
        return nullptr;
    openDevice = WaveDeviceCreate(format, callback);
    return openDevice;
}

void WaveOutClose(WaveDevice* device)
{
    if (device == openDevice) {
        EM_ASM({ if (Module['stopAudio']) Module['stopAudio'](); });
        openDevice = nullptr;
    }
    WaveDeviceDestroy(device);
}
