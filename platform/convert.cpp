// The sample converter over SDL's audio conversion, which needs no audio device.
#include "platform/convert.h"

#include <SDL.h>

#include <climits>
#include <cstring>
#include <vector>

// SDL narrows to 8 bits by dropping the low byte, which lowers every sample
// by half a step on average: a small constant offset that grows as voices
// are mixed. So a stream to 8 bits converts to 16 bits in SDL, and the last
// step rounds.
struct ConvertStream {
    SDL_AudioCVT cvt;
    uint32_t sourceFrameBytes;
    uint32_t sdlFrameBytes;      // a frame of what SDL yields
    uint32_t targetFrameBytes;
    int roundTo8Bits;
};

enum : uint16_t { WAVE_FORMAT_IEEE_FLOAT = 3 };

// The SDL sample format for a wave format, or 0 when there is none.
static SDL_AudioFormat ConvertSdlFormat(const WaveFormat* format)
{
    if (format->channels < 1 || format->channels > 8 || format->samplesPerSec < 1000 || format->samplesPerSec > 384000)
        return 0;
    if (format->formatTag == WAVE_FORMAT_IEEE_FLOAT && format->bitsPerSample == 32)
        return AUDIO_F32LSB;
    if (format->formatTag != WAVE_FORMAT_PCM)
        return 0;
    switch (format->bitsPerSample) {
    case 8:
        return AUDIO_U8;
    case 16:
        return AUDIO_S16LSB;
    case 32:
        return AUDIO_S32LSB;
    default:
        return 0;
    }
}

ConvertStream* ConvertStreamOpen(const WaveFormat* source, const WaveFormat* target)
{
    SDL_AudioFormat from = ConvertSdlFormat(source);
    SDL_AudioFormat to = ConvertSdlFormat(target);
    if (!from || !to)
        return nullptr;
    ConvertStream* stream = new ConvertStream;
    stream->roundTo8Bits = to == AUDIO_U8 && from != AUDIO_U8;
    SDL_AudioFormat yields = stream->roundTo8Bits ? AUDIO_S16SYS : to;
    if (SDL_BuildAudioCVT(&stream->cvt, from, (Uint8)source->channels, (int)source->samplesPerSec, yields,
                          (Uint8)target->channels, (int)target->samplesPerSec) < 0) {
        delete stream;
        return nullptr;
    }
    stream->sourceFrameBytes = source->channels * SDL_AUDIO_BITSIZE(from) / 8u;
    stream->sdlFrameBytes = target->channels * SDL_AUDIO_BITSIZE(yields) / 8u;
    stream->targetFrameBytes = target->channels * SDL_AUDIO_BITSIZE(to) / 8u;
    return stream;
}

int ConvertStreamSize(ConvertStream* stream, uint32_t sourceBytes, uint32_t* targetBytes)
{
    uint64_t frames = sourceBytes / stream->sourceFrameBytes;
    // SDL's own estimate, rounded down to whole frames, is what it yields
    // (or a frame more, which is dropped).
    double ratio = stream->cvt.needed ? stream->cvt.len_ratio : 1.0;
    uint64_t sdlBytes = (uint64_t)((double)(frames * stream->sourceFrameBytes) * ratio);
    uint64_t bytes = sdlBytes / stream->sdlFrameBytes * stream->targetFrameBytes;
    if (!bytes || bytes > UINT32_MAX)
        return 0;
    *targetBytes = (uint32_t)bytes;
    return 1;
}

int ConvertStreamRun(ConvertStream* stream, const uint8_t* source, uint32_t sourceBytes, uint8_t* target,
                     uint32_t targetBytes)
{
    uint32_t length = sourceBytes - sourceBytes % stream->sourceFrameBytes;
    SDL_AudioCVT& cvt = stream->cvt;
    int mult = cvt.needed ? cvt.len_mult : 1;
    if ((uint64_t)length * mult > INT_MAX)
        return 0;
    std::vector<uint8_t> work((size_t)length * mult);
    memcpy(work.data(), source, length);
    uint32_t produced = length;
    if (cvt.needed) {
        cvt.buf = work.data();
        cvt.len = (int)length;
        if (SDL_ConvertAudio(&cvt) != 0)
            return 0;
        produced = (uint32_t)cvt.len_cvt;
    }
    if (stream->roundTo8Bits) {
        int16_t* wide = (int16_t*)work.data();
        produced /= 2;
        for (uint32_t i = 0; i < produced; i++) {
            int value = ((wide[i] + 128) >> 8) + 128;
            work[i] = (uint8_t)(value > 255 ? 255 : value);
        }
    }
    memcpy(target, work.data(), produced < targetBytes ? produced : targetBytes);
    return 1;
}

void ConvertStreamClose(ConvertStream* stream)
{
    delete stream;
}
