// Headless wave output: buffers played by the virtual clock into a capture, with wake-ups held for the clock.
#include "platform/headless.h"
#include "platform/headless_wave.h"
#include "platform/thread.h"
#include "platform/wave_internal.h"

#include <cstdio>

static const WaveFormat defaultFormat = { WAVE_FORMAT_PCM, 2, 22050, 44100, 2, 8, 0 };

static int allowedChannels = 2;
static WaveDevice* openDevice;
static WaveFormat capturedFormat = defaultFormat;
static std::vector<uint8_t> captured;
static int keepCapture = 1;
// Play times are counted in milliseconds times the sample rate, so that a
// frame lasts exactly 1000 units.
static int playing;          // the head buffer has started
static uint64_t headStart;
static uint64_t lastEnd;

int BackendEventsHeld()
{
    return 1;
}

static uint32_t FrameBytes(const WaveFormat& format)
{
    return format.channels * (format.bitsPerSample / 8u);
}

WaveDevice* WaveOutOpen(const WaveFormat* format, WaveCallback callback)
{
    if (format->formatTag != WAVE_FORMAT_PCM || (format->bitsPerSample != 8 && format->bitsPerSample != 16) ||
        format->channels < 1 || format->channels > allowedChannels || !format->samplesPerSec)
        return nullptr;
    if (format->channels != capturedFormat.channels || format->samplesPerSec != capturedFormat.samplesPerSec ||
        format->bitsPerSample != capturedFormat.bitsPerSample) {
        captured.clear();
        capturedFormat = *format;
        capturedFormat.blockAlign = (uint16_t)FrameBytes(*format);
        capturedFormat.avgBytesPerSec = capturedFormat.blockAlign * format->samplesPerSec;
        capturedFormat.extraSize = 0;
    }
    openDevice = WaveDeviceCreate(format, callback);
    playing = 0;
    lastEnd = 0;
    return openDevice;
}

void WaveOutClose(WaveDevice* device)
{
    if (device == openDevice)
        openDevice = nullptr;
    WaveDeviceDestroy(device);
}

void HeadlessWavePlayUntil(uint32_t tick)
{
    SysEventsRun();
    while (openDevice) {
        WaveDevice* device = openDevice;
        uint32_t bytes = WaveDeviceHeadBytes(device);
        if (!bytes) {
            playing = 0;   // the next buffer written starts when it comes
            return;
        }
        uint64_t rate = device->format.samplesPerSec;
        if (!playing) {
            headStart = lastEnd > (uint64_t)HeadlessNow() * rate ? lastEnd : (uint64_t)HeadlessNow() * rate;
            playing = 1;
        }
        uint64_t end = headStart + (uint64_t)(bytes / FrameBytes(device->format)) * 1000;
        if (end > (uint64_t)tick * rate)
            return;
        size_t at = keepCapture ? captured.size() : 0;
        captured.resize(at + bytes);
        WaveDevicePlay(device, captured.data() + at, bytes);
        headStart = lastEnd = end;
        SysEventsRun();
    }
}

void HeadlessSetAudioChannels(int channels)
{
    allowedChannels = channels;
}

const std::vector<uint8_t>& HeadlessAudioCaptured()
{
    return captured;
}

int HeadlessAudioChannels()
{
    return capturedFormat.channels;
}

void HeadlessSetAudioCapture(int keep)
{
    keepCapture = keep;
    captured.clear();
    if (!keep)
        captured.reserve(1 << 16);   // more than a buffer ever holds
}

void HeadlessAudioReset()
{
    allowedChannels = 2;
    keepCapture = 1;
    captured.clear();
    capturedFormat = defaultFormat;
    playing = 0;
    lastEnd = 0;
}

static void PutLittle(FILE* file, uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; i++)
        fputc((int)(value >> (8 * i) & 0xFF), file);
}

int HeadlessWriteWav(const std::string& path)
{
    FILE* file = fopen(path.c_str(), "wb");
    if (!file)
        return 0;
    uint32_t size = (uint32_t)captured.size();
    fwrite("RIFF", 1, 4, file);
    PutLittle(file, 36 + size, 4);
    fwrite("WAVEfmt ", 1, 8, file);
    PutLittle(file, 16, 4);
    PutLittle(file, capturedFormat.formatTag, 2);
    PutLittle(file, capturedFormat.channels, 2);
    PutLittle(file, capturedFormat.samplesPerSec, 4);
    PutLittle(file, capturedFormat.avgBytesPerSec, 4);
    PutLittle(file, capturedFormat.blockAlign, 2);
    PutLittle(file, capturedFormat.bitsPerSample, 2);
    fwrite("data", 1, 4, file);
    PutLittle(file, size, 4);
    if (size)
        fwrite(captured.data(), 1, size, file);
    return fclose(file) == 0;
}
