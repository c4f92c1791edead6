// The sample converter of the Windows build: PCM of any depth and channel count, resampled linearly, with no library.
#include "platform/convert.h"

#include <climits>
#include <cmath>

enum : uint16_t { WAVE_FORMAT_IEEE_FLOAT = 3 };

struct ConvertStream {
    WaveFormat source;
    WaveFormat target;
    uint32_t sourceFrameBytes;
    uint32_t targetFrameBytes;
};

static int ConvertFormatKnown(const WaveFormat* format)
{
    if (format->channels < 1 || format->channels > 8 || format->samplesPerSec < 1000 || format->samplesPerSec > 384000)
        return 0;
    if (format->formatTag == WAVE_FORMAT_IEEE_FLOAT)
        return format->bitsPerSample == 32;
    return format->formatTag == WAVE_FORMAT_PCM &&
           (format->bitsPerSample == 8 || format->bitsPerSample == 16 || format->bitsPerSample == 32);
}

// One sample as a value from -1 to 1.
static float ConvertRead(const WaveFormat& format, const uint8_t* at)
{
    if (format.bitsPerSample == 8)
        return ((int)at[0] - 128) / 128.0f;
    if (format.bitsPerSample == 16)
        return (int16_t)(at[0] | at[1] << 8) / 32768.0f;
    uint32_t bits = (uint32_t)at[0] | at[1] << 8 | at[2] << 16 | (uint32_t)at[3] << 24;
    if (format.formatTag == WAVE_FORMAT_PCM)
        return (float)((int32_t)bits / 2147483648.0);
    float value;
    __builtin_memcpy(&value, &bits, 4);
    return std::isfinite(value) ? (value < -1 ? -1 : value > 1 ? 1 : value) : 0;
}

static void ConvertWrite(const WaveFormat& format, uint8_t* at, float value)
{
    value = value < -1 ? -1 : value > 1 ? 1 : value;
    if (format.bitsPerSample == 8) {
        long v = lroundf(value * 128) + 128;
        at[0] = (uint8_t)(v > 255 ? 255 : v);
        return;
    }
    if (format.bitsPerSample == 16) {
        long v = lroundf(value * 32768);
        v = v > 32767 ? 32767 : v;
        at[0] = (uint8_t)v;
        at[1] = (uint8_t)(v >> 8);
        return;
    }
    uint32_t bits;
    if (format.formatTag == WAVE_FORMAT_PCM) {
        double v = std::nearbyint((double)value * 2147483648.0);
        bits = (uint32_t)(int32_t)(v > INT_MAX ? INT_MAX : v);
    } else {
        __builtin_memcpy(&bits, &value, 4);
    }
    for (int i = 0; i < 4; i++)
        at[i] = (uint8_t)(bits >> (8 * i));
}

// Channel c of the target from one source frame: a mono target takes the
// mean of all, any other repeats the source's channels in turn.
static float ConvertChannel(const ConvertStream* stream, const uint8_t* frame, int c)
{
    const WaveFormat& source = stream->source;
    uint32_t sampleBytes = source.bitsPerSample / 8u;
    if (stream->target.channels == 1 && source.channels > 1) {
        float sum = 0;
        for (int i = 0; i < source.channels; i++)
            sum += ConvertRead(source, frame + i * sampleBytes);
        return sum / source.channels;
    }
    return ConvertRead(source, frame + (c % source.channels) * sampleBytes);
}

ConvertStream* ConvertStreamOpen(const WaveFormat* source, const WaveFormat* target)
{
    if (!ConvertFormatKnown(source) || !ConvertFormatKnown(target))
        return nullptr;
    ConvertStream* stream = new ConvertStream;
    stream->source = *source;
    stream->target = *target;
    stream->sourceFrameBytes = source->channels * source->bitsPerSample / 8u;
    stream->targetFrameBytes = target->channels * target->bitsPerSample / 8u;
    return stream;
}

static uint64_t ConvertFramesOut(const ConvertStream* stream, uint64_t framesIn)
{
    return framesIn * stream->target.samplesPerSec / stream->source.samplesPerSec;
}

int ConvertStreamSize(ConvertStream* stream, uint32_t sourceBytes, uint32_t* targetBytes)
{
    uint64_t bytes = ConvertFramesOut(stream, sourceBytes / stream->sourceFrameBytes) * stream->targetFrameBytes;
    if (!bytes || bytes > UINT32_MAX)
        return 0;
    *targetBytes = (uint32_t)bytes;
    return 1;
}

// Output frame i sits at source position i * sourceRate / targetRate, between
// two source frames; the last frame is held past the end.
int ConvertStreamRun(ConvertStream* stream, const uint8_t* source, uint32_t sourceBytes, uint8_t* target,
                     uint32_t targetBytes)
{
    uint64_t framesIn = sourceBytes / stream->sourceFrameBytes;
    uint64_t framesOut = ConvertFramesOut(stream, framesIn);
    if (framesOut > targetBytes / stream->targetFrameBytes)
        framesOut = targetBytes / stream->targetFrameBytes;
    uint64_t from = stream->source.samplesPerSec, to = stream->target.samplesPerSec;
    uint32_t sampleBytes = stream->target.bitsPerSample / 8u;
    for (uint64_t i = 0; i < framesOut; i++) {
        uint64_t at = i * from / to;
        float weight = (float)(i * from % to) / (float)to;
        const uint8_t* a = source + at * stream->sourceFrameBytes;
        const uint8_t* b = at + 1 < framesIn ? a + stream->sourceFrameBytes : a;
        uint8_t* out = target + i * stream->targetFrameBytes;
        for (int c = 0; c < stream->target.channels; c++) {
            float x = ConvertChannel(stream, a, c);
            float y = weight > 0 ? ConvertChannel(stream, b, c) : x;
            ConvertWrite(stream->target, out + c * sampleBytes, x + (y - x) * weight);
        }
    }
    return 1;
}

void ConvertStreamClose(ConvertStream* stream)
{
    delete stream;
}
