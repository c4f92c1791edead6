// Mixing one 1536-byte stereo buffer from eight voices: the mixer's fill against SDL_MixAudioFormat.
#include "platform/headless.h"
#include "sound/cea_sound.h"

#include <SDL.h>
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

static const int voiceCount = 8;
static const size_t bufferBytes = 1536;

// Two seconds of a different tone per voice; odd voices are stereo.
static std::vector<uint8_t> VoiceSamples(int voice, int channels)
{
    std::vector<uint8_t> samples(2 * 22050 * (size_t)channels);
    for (size_t i = 0; i < samples.size(); i++) {
        double t = (double)(i / (size_t)channels) / 22050.0;
        samples[i] = (uint8_t)(128 + 90 * sin(2 * M_PI * (220.0 + 110.0 * voice) * t));
    }
    return samples;
}

static void MixerFillEightVoices(benchmark::State& state)
{
    HeadlessReset();
    std::vector<Sound> sounds(voiceCount);
    for (int v = 0; v < voiceCount; v++) {
        int channels = 1 + v % 2;
        WaveFormat format = { WAVE_FORMAT_PCM, (uint16_t)channels, 22050, 22050u * channels, (uint16_t)channels, 8, 0 };
        std::vector<uint8_t> samples = VoiceSamples(v, channels);
        SetSamples(&sounds[v], &format, samples.data(), (uint32_t)samples.size());
        SoundPlay(&sounds[v], 1);
    }
    uint8_t out[bufferBytes];
    for (auto _ : state) {
        MixerRender(out);
        benchmark::DoNotOptimize(out);
    }
    for (Sound& sound : sounds)
        SoundDestroy(&sound);
    MixerClose();
}
BENCHMARK(MixerFillEightVoices);

// SDL's mixer adds each voice into the stream and clips; its sources must
// already be in the stream's format, so mono voices are widened beforehand.
static void SdlMixEightVoices(benchmark::State& state)
{
    std::vector<std::vector<uint8_t>> voices;
    for (int v = 0; v < voiceCount; v++) {
        std::vector<uint8_t> samples = VoiceSamples(v, 1 + v % 2);
        if (v % 2 == 0) {
            std::vector<uint8_t> wide(2 * samples.size());
            for (size_t i = 0; i < samples.size(); i++)
                wide[2 * i] = wide[2 * i + 1] = samples[i];
            samples = wide;
        }
        voices.push_back(samples);
    }
    uint8_t out[bufferBytes];
    size_t position = 0;
    for (auto _ : state) {
        memset(out, 128, sizeof out);
        for (const std::vector<uint8_t>& voice : voices)
            SDL_MixAudioFormat(out, voice.data() + position, AUDIO_U8, bufferBytes, SDL_MIX_MAXVOLUME);
        position = (position + bufferBytes) % (voices[0].size() - bufferBytes);
        benchmark::DoNotOptimize(out);
    }
}
BENCHMARK(SdlMixEightVoices);

BENCHMARK_MAIN();
