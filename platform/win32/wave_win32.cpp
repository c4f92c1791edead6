// Windows wave output: the mixer's buffers go to the real waveOut device, each paired with a WAVEHDR.
#include "platform/thread.h"
#include "platform/wave.h"
#include "platform/win32/win32_internal.h"


#include <atomic>
#include <cstring>

// The mixer prepares six buffers once; a few more slots cost nothing.
enum { slotCount = 16 };

struct WaveDevice {
    HWAVEOUT out;
    uint8_t silence;   // the sample value of silence in the device's format
    WaveCallback callback;
    WAVEHDR slots[slotCount];
    WaveHeader* owners[slotCount];   // the mixer's header each slot carries
};

static std::atomic<int> muted;
static std::atomic<int> missingNews;   // a failed open the title has not told of yet
static std::atomic<int> missingTold;

int BackendEventsHeld()
{
    return 0;
}

// Runs on the driver's thread: only the owner's callback, which sets a flag and an event.
static void CALLBACK Win32WaveDone(HWAVEOUT, UINT message, DWORD_PTR instance, DWORD_PTR param1, DWORD_PTR)
{
    WaveDevice* device = (WaveDevice*)instance;
    if (message == WOM_DONE) {
        WaveHeader* header = (WaveHeader*)((WAVEHDR*)param1)->dwUser;
        header->flags &= ~WHDR_INQUEUE;
        device->callback(device, WOM_DONE, header);
    }
}

int Win32AudioToggleMute()
{
    return muted ^= 1;
}

int Win32AudioMissingNews()
{
    return missingNews.exchange(0);
}

WaveDevice* WaveOutOpen(const WaveFormat* format, WaveCallback callback)
{
    if (format->formatTag != WAVE_FORMAT_PCM || (format->bitsPerSample != 8 && format->bitsPerSample != 16))
        return nullptr;
    WAVEFORMATEX wanted = {};
    wanted.wFormatTag = WAVE_FORMAT_PCM;
    wanted.nChannels = format->channels;
    wanted.nSamplesPerSec = format->samplesPerSec;
    wanted.nAvgBytesPerSec = format->avgBytesPerSec;
    wanted.nBlockAlign = format->blockAlign;
    wanted.wBitsPerSample = format->bitsPerSample;
    WaveDevice* device = new WaveDevice{};
    device->callback = callback;
    if (waveOutOpen(&device->out, WAVE_MAPPER, &wanted, (DWORD_PTR)Win32WaveDone, (DWORD_PTR)device,
                    CALLBACK_FUNCTION) != MMSYSERR_NOERROR) {
        delete device;
        // The game goes on silent and tries again with the next sound; the
        // player hears of it once.
        if (!missingTold.exchange(1))
            missingNews = 1;
        return nullptr;
    }
    device->silence = format->bitsPerSample == 8 ? 0x80 : 0;
    callback(device, WOM_OPEN, nullptr);
    return device;
}

static int Win32Slot(WaveDevice* device, const WaveHeader* header)
{
    for (int i = 0; i < slotCount; i++)
        if (device->owners[i] == header)
            return i;
    return -1;
}

int WaveOutPrepareHeader(WaveDevice* device, WaveHeader* header)
{
    int slot = Win32Slot(device, nullptr);
    if (!header->data || !header->bufferLength || slot < 0)
        return 0;
    WAVEHDR& real = device->slots[slot];
    real = {};
    real.lpData = (LPSTR)header->data;
    real.dwBufferLength = header->bufferLength;
    real.dwUser = (DWORD_PTR)header;
    if (waveOutPrepareHeader(device->out, &real, sizeof real) != MMSYSERR_NOERROR)
        return 0;
    device->owners[slot] = header;
    header->flags |= WHDR_PREPARED;
    return 1;
}

int WaveOutUnprepareHeader(WaveDevice* device, WaveHeader* header)
{
    int slot = Win32Slot(device, header);
    if (slot < 0 || (header->flags & WHDR_INQUEUE))
        return 0;
    waveOutUnprepareHeader(device->out, &device->slots[slot], sizeof(WAVEHDR));
    device->owners[slot] = nullptr;
    header->flags &= ~WHDR_PREPARED;
    return 1;
}

int WaveOutWrite(WaveDevice* device, WaveHeader* header)
{
    int slot = Win32Slot(device, header);
    uint32_t flags = header->flags;
    if (slot < 0 || !(flags & WHDR_PREPARED) || (flags & WHDR_INQUEUE))
        return 0;
    // Muted, the buffers flow on as silence, so the game and its sound keep
    // their timing; the mixer fills each one afresh before it comes back.
    if (muted)
        memset(header->data, device->silence, header->bufferLength);
    header->flags = (flags & ~WHDR_DONE) | WHDR_INQUEUE;
    if (waveOutWrite(device->out, &device->slots[slot], sizeof(WAVEHDR)) != MMSYSERR_NOERROR) {
        header->flags = flags;
        return 0;
    }
    return 1;
}

void WaveOutReset(WaveDevice* device)
{
    waveOutReset(device->out);
}

void WaveOutClose(WaveDevice* device)
{
    waveOutClose(device->out);
    device->callback(device, WOM_CLOSE, nullptr);
    delete device;
}
