// Sound effects: sound objects, the mixer thread and the loading of WAV files.
#pragma once
#include "platform/wave.h"

#include <cstdint>

struct Window;

struct Sound {
    uint32_t playCount;   // voices playing it now; changed under the mixer lock
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

// The mixer's output format: unsigned 8-bit PCM at 22050 Hz, one or two channels.
constexpr uint32_t mixerRate = 22050;
constexpr uint16_t mixerBits = 8;

// Plays the loaded effect of that id once.
void PlayEffect(int soundId);
// Starts a voice of a loaded sound; loop = 1 repeats it until stopped.
void SoundPlay(Sound* sound, int loop);
// Ends every voice of the sound.
void SoundStop(Sound* sound);
// Ends its voices, frees its data and zeroes it.
void SoundDestroy(Sound* sound);

// The mixer lock guards voices and buffer refills. The first MixerLock
// creates the lock, the wake event and the mixer thread.
void MixerLock();
void MixerUnlock();

// Ends every voice and closes the output device; the next voice opens it
// again. The game leaves the device to process exit; tests close it between cases.
void MixerClose();

// Voice records in the voice array (grown, never shrunk). For tests.
uint32_t MixerVoiceCapacity();

// Mixes the next buffer of every voice into out (1536 bytes) as the mixer
// thread does for a returned buffer, without queueing it. For benchmarks.
void MixerRender(uint8_t* out);

// The sound table: filled once at start-up, emptied once at exit.
void LoadSounds();
void UnloadSounds();
// The sound in a slot of the table, or null.
Sound* SoundTableEntry(int soundId);

// Zeroes the sound and loads it from a WAV file; on any failure its data stays null.
void SoundLoadFile(Sound* sound, const wchar_t* path);
// Parses a whole WAV file image and stores its samples; 1 on success.
int ParseWave(Sound* sound, uint8_t* bytes, uint32_t size);
// Converts samples to the mixer's format and stores a copy the sound owns; 1 on success.
int SetSamples(Sound* sound, const WaveFormat* format, uint8_t* data, uint32_t size);
// One conversion step to PCM of rate, bits and channels. *data is replaced by
// the converted buffer, which is then owned (*owned = 1); the previous one is
// freed if it was owned. Returns 1 on success, also when nothing had to change.
int ConvertSamples(WaveFormat* format, uint8_t** data, uint32_t* size, int* owned, uint32_t rate, uint16_t bits,
                   uint16_t channels);
