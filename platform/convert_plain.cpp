// The sample converter in plain C++ for the builds without SDL (web, Windows): it yields exactly the lengths SDL's converter does.
#include "platform/convert.h"

#include <climits>
#include <cmath>
#include <cstring>
#include <vector>

// A sound's length decides when its voice ends and its window hears of it,
// so the sizes follow SDL's arithmetic to the byte: the rate ratio
// in double precision, the bytes rounded down to whole frames. The samples
// go through float: each channel is read, resampled linearly with a box
// average when the rate drops, and written in the target depth, rounded.
struct ConvertStream {
    WaveFormat source;
    WaveFormat target;
    uint32_t sourceFrameBytes;
    uint32_t targetFrameBytes;
    double ratio;   // target bytes per source byte, before the depth and channel change
};

enum : uint16_t { WAVE_FORMAT_IEEE_FLOAT = 3 };

// Bytes per sample, or 0 when the format is not one the converter reads.
static uint32_t ConvertSampleBytes(const WaveFormat* format)
{
    if (format->channels < 1 || format->channels > 8 || format->samplesPerSec < 1000 || format->samplesPerSec > 384000)
        return 0;
    if (format->formatTag == WAVE_FORMAT_IEEE_FLOAT)
        return format->bitsPerSample == 32 ? 4 : 0;
    if (format->formatTag != WAVE_FORMAT_PCM)
        return 0;
    int bits = format->bitsPerSample;
    return bits == 8 || bits == 16 || bits == 32 ? (uint32_t)bits / 8 : 0;
}

ConvertStream* ConvertStreamOpen(const WaveFormat* source, const WaveFormat* target)
{
    uint32_t from = ConvertSampleBytes(source), to = ConvertSampleBytes(target);
    if (!from || !to)
        return nullptr;
    ConvertStream* stream = new ConvertStream{ *source, *target, source->channels * from, target->channels * to, 1.0 };
    // A narrowing to 8 bits is worked at 16 bits and rounded last, so the
    // length is measured in 16-bit frames then.
    uint32_t worked = to == 1 && from != 1 ? 2 : to;
    stream->ratio = (double)(target->channels * worked) / (double)(source->channels * from);
    if (source->samplesPerSec < target->samplesPerSec)
        stream->ratio *= (double)target->samplesPerSec / (double)source->samplesPerSec;
    else if (source->samplesPerSec > target->samplesPerSec)
        stream->ratio /= (double)source->samplesPerSec / (double)target->samplesPerSec;
    stream->targetFrameBytes = target->channels * to;
    stream->ratio /= (double)worked / to;
    return stream;
}

int ConvertStreamSize(ConvertStream* stream, uint32_t sourceBytes, uint32_t* targetBytes)
{
    uint64_t frames = sourceBytes / stream->sourceFrameBytes;
    uint64_t bytes = (uint64_t)((double)(frames * stream->sourceFrameBytes) * stream->ratio);
    bytes -= bytes % stream->targetFrameBytes;
    if (!bytes || bytes > UINT32_MAX)
        return 0;
    *targetBytes = (uint32_t)bytes;
    return 1;
}

static float ConvertRead(const WaveFormat& format, const uint8_t* at)
{
    switch (format.bitsPerSample) {
    case 8:
        return (at[0] - 128) / 128.0f;
    case 16:
        return (int16_t)(at[0] | at[1] << 8) / 32768.0f;
    default: {
        uint32_t bits = at[0] | at[1] << 8 | at[2] << 16 | (uint32_t)at[3] << 24;
        if (format.formatTag == WAVE_FORMAT_IEEE_FLOAT) {
            float value;
            memcpy(&value, &bits, 4);
            return std::isfinite(value) ? value : 0.0f;
        }
        return (float)((int32_t)bits / 2147483648.0);
    }
    }
}

static void ConvertWrite(const WaveFormat& format, float value, uint8_t* at)
{
    value = value < -1.0f ? -1.0f : value > 1.0f ? 1.0f : value;
    switch (format.bitsPerSample) {
    case 8: {
        long v = lroundf(value * 128.0f) + 128;
        at[0] = (uint8_t)(v > 255 ? 255 : v);
        break;
    }
    case 16: {
        long v = lroundf(value * 32768.0f);
        v = v > 32767 ? 32767 : v;
        at[0] = (uint8_t)v;
        at[1] = (uint8_t)(v >> 8);
        break;
    }
    default: {
        uint32_t bits;
        if (format.formatTag == WAVE_FORMAT_IEEE_FLOAT) {
            memcpy(&bits, &value, 4);
        } else {
            double v = value * 2147483648.0;
            bits = (uint32_t)(int32_t)(v > 2147483647.0 ? 2147483647.0 : v);
        }
        for (int i = 0; i < 4; i++)
            at[i] = (uint8_t)(bits >> (8 * i));
    }
    }
}

int ConvertStreamRun(ConvertStream* stream, const uint8_t* source, uint32_t sourceBytes, uint8_t* target,
                     uint32_t targetBytes)
{
    const WaveFormat& in = stream->source;
    const WaveFormat& out = stream->target;
    uint32_t inFrames = sourceBytes / stream->sourceFrameBytes;
    uint32_t outFrames = targetBytes / stream->targetFrameBytes;
    if (!inFrames)
        return 1;
    uint32_t inSample = stream->sourceFrameBytes / in.channels;
    uint32_t outSample = stream->targetFrameBytes / out.channels;
    double step = (double)in.samplesPerSec / out.samplesPerSec;   // source frames per target frame
    std::vector<float> frame(in.channels);
    for (uint32_t f = 0; f < outFrames; f++) {
        double start = f * step;
        if (start >= inFrames)
            break;
        // Narrowing the rate averages the source frames the target one spans;
        // widening it interpolates between the two nearest.
        for (uint32_t c = 0; c < in.channels; c++) {
            float sum = 0;
            if (step > 1.0) {
                uint32_t first = (uint32_t)start, last = (uint32_t)(start + step);
                last = last > inFrames ? inFrames : last;
                last = last > first ? last : first + 1;
                for (uint32_t k = first; k < last; k++)
                    sum += ConvertRead(in, source + (size_t)k * stream->sourceFrameBytes + c * inSample);
                sum /= (float)(last - first);
            } else {
                uint32_t k = (uint32_t)start;
                float t = (float)(start - k);
                uint32_t next = k + 1 < inFrames ? k + 1 : k;
                float a = ConvertRead(in, source + (size_t)k * stream->sourceFrameBytes + c * inSample);
                float b = ConvertRead(in, source + (size_t)next * stream->sourceFrameBytes + c * inSample);
                sum = a + (b - a) * t;
            }
            frame[c] = sum;
        }
        // Channels: mono is copied to every target channel; more become
        // mono as their mean; otherwise each goes to its own, extras dropped.
        float mean = 0;
        for (float v : frame)
            mean += v;
        mean /= (float)in.channels;
        for (uint32_t c = 0; c < out.channels; c++) {
            float value = in.channels == 1 ? frame[0] : out.channels == 1 ? mean : c < in.channels ? frame[c] : 0.0f;
            ConvertWrite(out, value, target + (size_t)f * stream->targetFrameBytes + c * outSample);
        }
    }
    return 1;
}

void ConvertStreamClose(ConvertStream* stream)
{
    delete stream;
}
