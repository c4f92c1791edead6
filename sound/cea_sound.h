// Sound effects: sound objects, the mixer thread and the loading of WAV files.
#pragma once
#include <cstdint>

struct Window;

// The 18-byte wave format record of a WAV file's "fmt " chunk.
struct WaveFormat {
    uint16_t formatTag;
    uint16_t channels;
    uint32_t samplesPerSec;
    uint32_t avgBytesPerSec;
    uint16_t blockAlign;
    uint16_t bitsPerSample;
    uint16_t extraSize;
};

struct Sound {
    uint32_t playCount;
    int32_t loop;
    Window* notifyWindow;
    uintptr_t notifyValue;
    WaveFormat format;
    uint8_t* data;     // null when the sound could not be loaded
    uint32_t length;
};

enum SoundId {
    SoundFire = 0,
    SoundDie = 1,
    SoundHomer = 2,
    SoundPowerUp = 3,
    SoundClick = 4,
    SoundButton = 5,
    SoundAirRaid = 6,
    SoundMetal = 7,
    SoundCount = 8,
};

void PlayEffect(int soundId);
void SoundPlay(Sound* sound, int loop);
void SoundStop(Sound* sound);
void SoundDestroy(Sound* sound);

void LoadSounds();
void UnloadSounds();
