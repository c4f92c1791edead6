// The wave-output device: PCM buffers queued in order, each handed back to the caller's callback when played.
#pragma once
#include <atomic>
#include <cstdint>

// The 18-byte wave format record of a WAV file's "fmt " chunk.
struct WaveFormat {
    uint16_t formatTag;        // 1 for PCM
    uint16_t channels;
    uint32_t samplesPerSec;
    uint32_t avgBytesPerSec;
    uint16_t blockAlign;
    uint16_t bitsPerSample;
    uint16_t extraSize;
};

enum : uint16_t { WAVE_FORMAT_PCM = 1 };

// Messages to the device callback.
enum : uint32_t {
    WOM_OPEN = 955,
    WOM_CLOSE = 956,
    WOM_DONE = 957,   // the device is through with a buffer
};

// Buffer flags. The device sets and clears WHDR_PREPARED and WHDR_INQUEUE;
// WHDR_DONE is the owner's: its callback sets it on WOM_DONE, so a buffer is
// never refilled before its callback has run.
enum : uint32_t {
    WHDR_DONE = 0x01,
    WHDR_PREPARED = 0x02,
    WHDR_INQUEUE = 0x10,
};

struct WaveHeader {
    uint8_t* data;
    uint32_t bufferLength;
    uint32_t bytesRecorded;
    uintptr_t user;
    std::atomic<uint32_t> flags;   // changed by the callback while others read it
    uint32_t loops;
    WaveHeader* next;              // the device's queue link
    uintptr_t reserved;
};

struct WaveDevice;

// Runs on the device's own thread (or the headless clock's). It must not call
// the device; the mixer's only sets a flag and an event.
using WaveCallback = void (*)(WaveDevice* device, uint32_t message, WaveHeader* header);

// Opens the output for PCM in format; null when there is no device or it
// refuses the format. The mixer opens it when the first voice starts, in
// stereo first and then in mono.
WaveDevice* WaveOutOpen(const WaveFormat* format, WaveCallback callback);

// Readies a buffer for WaveOutWrite; 0 when its data or length is missing.
// The mixer prepares its six buffers once, right after opening.
int WaveOutPrepareHeader(WaveDevice* device, WaveHeader* header);

// Undoes the preparation; 0 while the buffer is queued.
int WaveOutUnprepareHeader(WaveDevice* device, WaveHeader* header);

// Queues a prepared buffer behind the others; 0 when it is not prepared or
// already queued. The mixer thread writes every buffer it fills.
int WaveOutWrite(WaveDevice* device, WaveHeader* header);

// Stops playing and hands every queued buffer back through the callback.
// Called before closing.
void WaveOutReset(WaveDevice* device);

// Closes the device; its buffers must be back. Nothing closes it in play;
// tests close it between cases.
void WaveOutClose(WaveDevice* device);
