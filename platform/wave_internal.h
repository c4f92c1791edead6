// The buffer queue shared by the wave-output backends: what the desktop's audio callback and the headless clock play from.
#pragma once
#include "platform/wave.h"

#include <mutex>

struct WaveDevice {
    WaveFormat format;
    WaveCallback callback;
    std::mutex lock;       // guards the queue; held only while copying
    WaveHeader* head;      // the buffer playing now
    WaveHeader* tail;
    uint32_t position;     // bytes of head already played
    uint32_t backend;      // the backend's own handle
};

// A device with an empty queue; WOM_OPEN has gone to the callback.
WaveDevice* WaveDeviceCreate(const WaveFormat* format, WaveCallback callback);

// Sends WOM_CLOSE and frees the device.
void WaveDeviceDestroy(WaveDevice* device);

// Plays bytes into out from the queue, silence where it runs dry, and hands
// each buffer it finishes to the callback. Returns the bytes taken from buffers.
uint32_t WaveDevicePlay(WaveDevice* device, uint8_t* out, uint32_t bytes);

// Bytes left in the buffer playing now; 0 when the queue is empty.
uint32_t WaveDeviceHeadBytes(WaveDevice* device);
