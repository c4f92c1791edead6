// The mixer: voices of playing sounds, summed by a thread into six buffers kept queued at the wave-output device.
#include "app/mem.h"
#include "app/windowproc.h"
#include "platform/thread.h"
#include "platform/wave.h"
#include "platform/win.h"
#include "sound/cea_sound.h"

#include <cstring>

static const wchar_t soundFile[] = L"cea_sound";

enum : uint32_t {
    mixBufferBytes = 1536,
    mixBufferCount = 6,
};

struct Voice {
    uint32_t stereo;            // 8-bit pairs, left first
    const uint8_t* data;        // null: a free slot
    uint32_t length;
    uint32_t position;          // the next byte to play
    uint32_t loop;
    Window* notifyWindow;
    Sound* notifyWParam;
    uintptr_t notifyLParam;
    uint32_t* playCounter;
    Sound* ownedSound;          // destroyed when the voice ends
};

struct MixBuffer {
    WaveHeader header;
    uint8_t data[mixBufferBytes];
};

struct SoundMixer {
    int initialised;
    SysLock* lock;
    Voice* voices;
    uint32_t voiceCapacity;
    SysEvent* wakeEvent;
    WaveDevice* device;
    MixBuffer buffers[mixBufferCount];
    int stereoDevice;
    int quit;
    int16_t peakIn;    // loudest input sample in the buffer being mixed
    int16_t peakMix;   // loudest accumulator value in it
    int16_t* accLeft;
    uint32_t accLeftCapacity;
    int16_t* accRight;
    uint32_t accRightCapacity;
};

static SoundMixer mixer;

static void MixerThread(void*);

void MixerLock()
{
    // The first lock comes from the game's thread, before any other thread
    // plays, so this needs no guard of its own.
    if (!mixer.initialised) {
        mixer.initialised = 1;
        mixer.lock = SysLockCreate();
        mixer.wakeEvent = SysEventCreate();
        SysThreadStart(MixerThread, nullptr);
    }
    SysLockEnter(mixer.lock);
}

void MixerUnlock()
{
    SysLockLeave(mixer.lock);
}

// Runs on the device's thread, without the lock: it only frees the buffer
// for the mixer and wakes it.
static void MixerDeviceCallback(WaveDevice*, uint32_t message, WaveHeader* header)
{
    if (message != WOM_DONE)
        return;
    header->flags |= WHDR_DONE;
    SysEventSet(mixer.wakeEvent);
}

static int MixerOpenDevice(const WaveFormat* soundFormat)
{
    WaveFormat format = *soundFormat;
    format.channels = 2;
    format.blockAlign = 2;
    format.avgBytesPerSec = 2 * mixerRate;
    format.extraSize = 0;
    int stereo = 1;
    WaveDevice* device = WaveOutOpen(&format, MixerDeviceCallback);
    if (!device) {
        format.channels = 1;
        format.blockAlign = 1;
        format.avgBytesPerSec = mixerRate;
        stereo = 0;
        device = WaveOutOpen(&format, MixerDeviceCallback);
    }
    if (!device)
        return 0;
    for (uint32_t i = 0; i < mixBufferCount; i++) {
        MixBuffer& buffer = mixer.buffers[i];
        memset(buffer.data, 0, sizeof buffer.data);
        buffer.header.data = buffer.data;
        buffer.header.bufferLength = mixBufferBytes;
        buffer.header.bytesRecorded = 0;
        buffer.header.user = 0;
        buffer.header.flags = 0;
        buffer.header.loops = 0;
        buffer.header.next = nullptr;
        buffer.header.reserved = 0;
        if (!WaveOutPrepareHeader(device, &buffer.header)) {
            for (uint32_t j = 0; j < i; j++)
                WaveOutUnprepareHeader(device, &mixer.buffers[j].header);
            WaveOutClose(device);
            return 0;
        }
        // Every buffer starts out free for the thread to fill.
        buffer.header.flags |= WHDR_DONE;
    }
    mixer.device = device;
    mixer.stereoDevice = stereo;
    return 1;
}

static void VoiceEnd(Voice* voice)
{
    (*voice->playCounter)--;
    if (voice->notifyWindow && WindowIsAlive(voice->notifyWindow))
        MessagePost(voice->notifyWindow, WM_SOUNDDONE, (uintptr_t)voice->notifyWParam, (intptr_t)voice->notifyLParam);
    if (voice->ownedSound) {
        SoundDestroy(voice->ownedSound);
        delete voice->ownedSound;
    }
    *voice = {};
}

// Under the lock, from SoundPlay.
static void VoiceStart(Sound* sound)
{
    const WaveFormat& format = sound->format;
    if (format.formatTag != WAVE_FORMAT_PCM || format.bitsPerSample != mixerBits || format.samplesPerSec != mixerRate)
        return;
    if (!mixer.device && !MixerOpenDevice(&format))
        return;
    uint32_t slot = 0;
    while (slot < mixer.voiceCapacity && mixer.voices[slot].data)
        slot++;
    // The array grows one record at a time and has no upper limit.
    if (MemRealloc(sizeof(Voice), &mixer.voices, &mixer.voiceCapacity, slot + 1, 1, soundFile, __LINE__)) {
        MemTare(mixer.voices, soundFile, __LINE__);
        Voice* voice = &mixer.voices[slot];
        voice->stereo = format.channels == 2;
        voice->data = sound->data;
        voice->length = sound->length;
        voice->position = 0;
        voice->loop = (uint32_t)sound->loop;
        voice->notifyWindow = sound->notifyWindow;
        voice->notifyWParam = sound;
        voice->notifyLParam = sound->notifyValue;
        voice->playCounter = &sound->playCount;
        voice->ownedSound = nullptr;
    }
    SysEventSet(mixer.wakeEvent);
}

// Takes up to most frames from the voice: *chunk points at them. A looping
// voice wraps to its start when it reaches the end.
static uint32_t VoiceTake(Voice* voice, uint32_t most, const uint8_t** chunk)
{
    uint32_t available = voice->length - voice->position;
    if (voice->stereo)
        available /= 2;
    uint32_t frames = available < most ? available : most;
    *chunk = voice->data + voice->position;
    voice->position += frames * (voice->stereo ? 2 : 1);
    if (voice->position == voice->length && voice->loop)
        voice->position = 0;
    return frames;
}

static int16_t Magnitude(int value)
{
    return (int16_t)(value < 0 ? -value : value);
}

// Adds frames of a voice into the accumulators from frame offset on, and
// tracks the loudest input and the loudest sum.
static void MixChunk(uint32_t stereo, const uint8_t* chunk, uint32_t frames, uint32_t offset)
{
    uint32_t needed = offset + frames;
    if (mixer.accLeftCapacity < needed || mixer.accRightCapacity < needed) {
        MemRealloc(2, &mixer.accLeft, &mixer.accLeftCapacity, needed, 128, soundFile, __LINE__);
        MemRealloc(2, &mixer.accRight, &mixer.accRightCapacity, needed, 128, soundFile, __LINE__);
        if (mixer.accLeft)
            MemTare(mixer.accLeft, soundFile, __LINE__);
        if (mixer.accRight)
            MemTare(mixer.accRight, soundFile, __LINE__);
        if (mixer.accLeftCapacity < needed || mixer.accRightCapacity < needed)
            return;   // memory was refused: this stretch is not heard
    }
    int16_t* left = mixer.accLeft + offset;
    int16_t* right = mixer.accRight + offset;
    int16_t peakIn = mixer.peakIn;
    int16_t peakMix = mixer.peakMix;
    for (uint32_t i = 0; i < frames; i++) {
        int l = chunk[stereo ? 2 * i : i] - 128;
        int r = stereo ? chunk[2 * i + 1] - 128 : l;
        if (Magnitude(l) > peakIn)
            peakIn = Magnitude(l);
        if (Magnitude(r) > peakIn)
            peakIn = Magnitude(r);
        left[i] = (int16_t)(left[i] + l);
        right[i] = (int16_t)(right[i] + r);
        if (Magnitude(left[i]) > peakMix)
            peakMix = Magnitude(left[i]);
        if (Magnitude(right[i]) > peakMix)
            peakMix = Magnitude(right[i]);
    }
    mixer.peakIn = peakIn;
    mixer.peakMix = peakMix;
}

static uint8_t ScaleSample(int16_t sum)
{
    int value = 128 + sum * mixer.peakIn / mixer.peakMix;
    return (uint8_t)(value < 0 ? 0 : value > 255 ? 255 : value);
}

// Scales the sums so that the loudest point of the mix is as loud as the
// loudest single input sample: voices together never clip.
static void MixerConvert(uint8_t* out)
{
    memset(out, 128, mixBufferBytes);
    if (!mixer.peakMix)
        return;
    uint32_t frames = mixer.stereoDevice ? mixBufferBytes / 2 : mixBufferBytes;
    if (frames > mixer.accLeftCapacity)
        frames = mixer.accLeftCapacity;
    for (uint32_t i = 0; i < frames; i++) {
        if (mixer.stereoDevice) {
            out[2 * i] = ScaleSample(mixer.accLeft[i]);
            out[2 * i + 1] = ScaleSample(mixer.accRight[i]);
        } else {
            out[i] = ScaleSample(mixer.accLeft[i]);
        }
    }
}

// Mixes one buffer's worth of every voice into out. Mode 2 always yields a
// buffer (silence when nothing plays); mode 1 only when some voice added to
// it. Returns whether out was written.
static int MixerMix(uint8_t* out, int mode)
{
    mixer.peakIn = mixer.peakMix = 0;
    if (mixer.accLeft)
        memset(mixer.accLeft, 0, mixer.accLeftCapacity * sizeof(int16_t));
    if (mixer.accRight)
        memset(mixer.accRight, 0, mixer.accRightCapacity * sizeof(int16_t));
    uint32_t frames = mixer.stereoDevice ? mixBufferBytes / 2 : mixBufferBytes;
    int contributed = mode == 2;
    for (uint32_t v = 0; v < mixer.voiceCapacity; v++) {
        Voice* voice = &mixer.voices[v];
        if (!voice->data)
            continue;
        const uint8_t* chunk;
        uint32_t taken = VoiceTake(voice, frames, &chunk);
        if (!taken) {
            VoiceEnd(voice);
            continue;
        }
        // A looping voice may need several takes to fill the buffer.
        for (uint32_t offset = 0; taken; taken = VoiceTake(voice, frames - offset, &chunk)) {
            MixChunk(voice->stereo, chunk, taken, offset);
            contributed = 1;
            offset += taken;
        }
    }
    if (!contributed)
        return 0;
    MixerConvert(out);
    return 1;
}

static void MixerFill(MixBuffer* buffer, int mode)
{
    if (!MixerMix(buffer->data, mode))
        return;
    buffer->header.flags &= ~WHDR_DONE;
    if (mixer.device)
        WaveOutWrite(mixer.device, &buffer->header);
}

static void MixerThread(void*)
{
    for (;;) {
        SysEventWait(mixer.wakeEvent);
        MixerLock();
        if (mixer.quit) {
            MixerUnlock();
            return;
        }
        uint32_t inFlight = 0;
        for (MixBuffer& buffer : mixer.buffers)
            inFlight += !(buffer.header.flags & WHDR_DONE);
        // Every free buffer is refilled and queued, with silence if need be,
        // so the device never runs dry. Mode 1 only arises for a buffer that
        // came back while this pass was already running.
        for (MixBuffer& buffer : mixer.buffers) {
            if (!(buffer.header.flags & WHDR_DONE))
                continue;
            int mode = inFlight < mixBufferCount ? 2 : 1;
            inFlight++;
            MixerFill(&buffer, mode);
        }
        MixerUnlock();
    }
}

void SoundPlay(Sound* sound, int loop)
{
    if (!sound || !sound->data)
        return;
    MixerLock();
    sound->playCount++;
    sound->loop = loop == 1;
    VoiceStart(sound);
    MixerUnlock();
}

void SoundStop(Sound* sound)
{
    MixerLock();
    if (sound->playCount) {
        for (uint32_t v = 0; v < mixer.voiceCapacity; v++)
            if (mixer.voices[v].data && mixer.voices[v].data == sound->data)
                VoiceEnd(&mixer.voices[v]);
        sound->playCount = 0;
        sound->loop = 0;
    }
    MixerUnlock();
}

void SoundDestroy(Sound* sound)
{
    SoundStop(sound);
    if (sound->data)
        MemFree(sound->data, soundFile, __LINE__);
    *sound = {};
}

void MixerClose()
{
    MixerLock();
    for (uint32_t v = 0; v < mixer.voiceCapacity; v++)
        if (mixer.voices[v].data)
            VoiceEnd(&mixer.voices[v]);
    if (mixer.device) {
        WaveOutReset(mixer.device);
        for (MixBuffer& buffer : mixer.buffers)
            WaveOutUnprepareHeader(mixer.device, &buffer.header);
        WaveOutClose(mixer.device);
        mixer.device = nullptr;
    }
    MixerUnlock();
}

uint32_t MixerVoiceCapacity()
{
    MixerLock();
    uint32_t capacity = mixer.voiceCapacity;
    MixerUnlock();
    return capacity;
}

void MixerRender(uint8_t* out)
{
    MixerLock();
    MixerMix(out, 2);
    MixerUnlock();
}
