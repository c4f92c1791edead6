// The sound table: the eight effects, loaded from WAV files beside the program and converted to the mixer's format.
#include "sound/cea_sound.h"
#include "app/entry.h"
#include "app/mem.h"
#include "platform/convert.h"
#include "platform/sys.h"
#include "platform/win.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

static const wchar_t soundFile[] = L"cea_sound";

struct SoundFileDef {
    SoundId id;
    const wchar_t* name;   // relative to the program's folder
};

static const SoundFileDef SoundFileTable[] = {
    { SoundFire,    L"sounds\\fire.wav" },
    { SoundDie,     L"sounds\\die.wav" },
    { SoundHomer,   L"sounds\\homer.wav" },
    { SoundPowerUp, L"sounds\\powerup.wav" },
    { SoundClick,   L"sounds\\click.wav" },
    { SoundButton,  L"sounds\\button.wav" },
    { SoundAirRaid, L"sounds\\airraid.wav" },
    { SoundMetal,   L"sounds\\metal.wav" },
};

static Sound* soundTable[SoundCount];

void LoadSounds()
{
    for (const SoundFileDef& def : SoundFileTable) {
        Sound* sound = new (std::nothrow) Sound;
        if (sound)
            SoundLoadFile(sound, ModuleFilePathW(def.name));
        soundTable[def.id] = sound;
        if (!sound || !sound->data) {
            char name[64];
            size_t length = wcstombs(name, def.name, sizeof name - 1);
            name[length == (size_t)-1 ? 0 : length] = 0;
            SysMessageBox(WindowFocus(), name, "File Missing", SysBoxOk);
        }
    }
}

void UnloadSounds()
{
    for (Sound*& sound : soundTable) {
        if (!sound)
            continue;
        SoundDestroy(sound);
        delete sound;
        sound = nullptr;
    }
}

Sound* SoundTableEntry(int soundId)
{
    return soundId >= 0 && soundId < SoundCount ? soundTable[soundId] : nullptr;
}

void PlayEffect(int soundId)
{
    Sound* sound = SoundTableEntry(soundId);
    if (sound)
        SoundPlay(sound, 0);
}

void SoundLoadFile(Sound* sound, const wchar_t* path)
{
    *sound = {};
    char narrow[1040];
    size_t length = wcstombs(narrow, path, sizeof narrow - 1);
    if (length == (size_t)-1)
        return;
    narrow[length] = 0;
    FILE* file = fopen(narrow, "rb");
    if (!file)
        return;
    uint8_t* buffer = nullptr;
    long size = fseek(file, 0, SEEK_END) == 0 ? ftell(file) : -1;
    if (size > 0 && (unsigned long)size <= 0xFFFFFFFFul && fseek(file, 0, SEEK_SET) == 0) {
        buffer = (uint8_t*)MemAlloc((size_t)size, L"cbData", soundFile, __LINE__);
        if (buffer && fread(buffer, 1, (size_t)size, file) != (size_t)size) {
            MemFree(buffer, soundFile, __LINE__);
            buffer = nullptr;
        }
    }
    fclose(file);
    if (buffer) {
        // On failure the sound simply keeps no data; it never points into the file image.
        ParseWave(sound, buffer, (uint32_t)size);
        MemFree(buffer, soundFile, __LINE__);
    }
}

static uint16_t ReadU16(const uint8_t* at)
{
    return (uint16_t)(at[0] | at[1] << 8);
}

static uint32_t ReadU32(const uint8_t* at)
{
    return (uint32_t)at[0] | (uint32_t)at[1] << 8 | (uint32_t)at[2] << 16 | (uint32_t)at[3] << 24;
}

// The "fmt " content: the 16-byte core, and the extra size when present.
static void ReadFormat(WaveFormat* format, const uint8_t* at, int withExtra)
{
    format->formatTag = ReadU16(at);
    format->channels = ReadU16(at + 2);
    format->samplesPerSec = ReadU32(at + 4);
    format->avgBytesPerSec = ReadU32(at + 8);
    format->blockAlign = ReadU16(at + 12);
    format->bitsPerSample = ReadU16(at + 14);
    if (withExtra)
        format->extraSize = ReadU16(at + 16);
}

int ParseWave(Sound* sound, uint8_t* bytes, uint32_t size)
{
    if (size < 12 || memcmp(bytes, "RIFF", 4) != 0 || memcmp(bytes + 8, "WAVE", 4) != 0)
        return 0;
    WaveFormat format = {};
    uint8_t* data = nullptr;
    uint32_t dataSize = 0;
    uint32_t position = 12;
    uint32_t remaining = size - 12;
    // Chunks follow one another with no pad byte. A chunk that claims more
    // than the bytes left ends the scan.
    while (remaining > 8) {
        const uint8_t* chunk = bytes + position;
        uint32_t chunkSize = ReadU32(chunk + 4);
        remaining -= 8;
        if (chunkSize > remaining)
            break;
        if (!memcmp(chunk, "fmt ", 4)) {
            if (chunkSize >= 18)
                ReadFormat(&format, chunk + 8, 1);
            else if (chunkSize == 16)
                ReadFormat(&format, chunk + 8, 0);
        } else if (!memcmp(chunk, "data", 4)) {
            data = bytes + position + 8;
            dataSize = chunkSize;
            break;
        }
        position += 8 + chunkSize;
        remaining -= chunkSize;
    }
    return SetSamples(sound, &format, data, dataSize);
}

int SetSamples(Sound* sound, const WaveFormat* format, uint8_t* data, uint32_t size)
{
    if (!format || !data || !size)
        return 0;
    WaveFormat current = *format;
    uint8_t* samples = data;
    uint32_t length = size;
    int owned = 0;   // while 0, samples still lie in the caller's buffer
    // Decompress, then resample, then reduce to 8 bits, each step from the last one's result.
    int converted =
        ConvertSamples(&current, &samples, &length, &owned, current.samplesPerSec, current.bitsPerSample,
                       current.channels) &&
        ConvertSamples(&current, &samples, &length, &owned, mixerRate, current.bitsPerSample, current.channels) &&
        ConvertSamples(&current, &samples, &length, &owned, mixerRate, mixerBits, current.channels);
    if (!converted) {
        if (owned)
            MemFree(samples, soundFile, __LINE__);
        return 0;
    }
    if (!owned) {
        uint8_t* copy = (uint8_t*)MemAlloc(length, L"cbSignal", soundFile, __LINE__);
        if (!copy)
            return 0;
        memcpy(copy, samples, length);
        samples = copy;
    }
    sound->data = samples;
    sound->length = length;
    sound->format = current;
    return 1;
}

int ConvertSamples(WaveFormat* format, uint8_t** data, uint32_t* size, int* owned, uint32_t rate, uint16_t bits,
                   uint16_t channels)
{
    if (format->formatTag == WAVE_FORMAT_PCM && format->bitsPerSample == bits && format->channels == channels &&
        format->samplesPerSec == rate)
        return 1;
    WaveFormat target = *format;
    target.formatTag = WAVE_FORMAT_PCM;
    target.channels = channels;
    target.samplesPerSec = rate;
    target.bitsPerSample = bits;
    target.avgBytesPerSec = bits / 8u * channels * rate;
    target.blockAlign = (uint16_t)((bits == 8 ? 1 : 2) * channels);
    target.extraSize = 0;
    ConvertStream* stream = ConvertStreamOpen(format, &target);
    if (!stream)
        return 0;
    uint32_t targetSize = 0;
    uint8_t* out = nullptr;
    if (ConvertStreamSize(stream, *size, &targetSize))
        out = (uint8_t*)MemAlloc(targetSize, L"cbOut", soundFile, __LINE__);
    if (!out) {
        ConvertStreamClose(stream);
        return 0;
    }
    // The size was fixed before converting; a tail the converter leaves unused stays 128.
    memset(out, 128, targetSize);
    int converted = ConvertStreamRun(stream, *data, *size, out, targetSize);
    if (converted) {
        if (*owned)
            MemFree(*data, soundFile, __LINE__);
        *data = out;
        *size = targetSize;
        *owned = 1;
        *format = target;
    } else {
        MemFree(out, soundFile, __LINE__);
    }
    ConvertStreamClose(stream);
    return converted;
}
