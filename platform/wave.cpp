// The wave-output buffer queue shared by both backends: preparing, writing, playing and handing buffers back.
#include "platform/wave_internal.h"

#include <cstring>

WaveDevice* WaveDeviceCreate(const WaveFormat* format, WaveCallback callback)
{
    WaveDevice* device = new WaveDevice;
    device->format = *format;
    device->callback = callback;
    device->head = device->tail = nullptr;
    device->position = 0;
    device->backend = 0;
    callback(device, WOM_OPEN, nullptr);
    return device;
}

void WaveDeviceDestroy(WaveDevice* device)
{
    device->callback(device, WOM_CLOSE, nullptr);
    delete device;
}

// Hands finished buffers back outside the queue's lock, oldest first. Each
// link is read before its callback runs: after it, the owner may queue the
// buffer again.
static void WaveDeviceReturn(WaveDevice* device, WaveHeader* finished)
{
    while (finished) {
        WaveHeader* after = finished->next;
        finished->next = nullptr;
        device->callback(device, WOM_DONE, finished);
        finished = after;
    }
}

// Takes the playing buffer off the queue and appends it to the finished list.
static void WaveDeviceFinishHead(WaveDevice* device, WaveHeader** finishedTail)
{
    WaveHeader* header = device->head;
    device->head = header->next;
    if (!device->head)
        device->tail = nullptr;
    device->position = 0;
    header->next = nullptr;
    header->flags &= ~WHDR_INQUEUE;
    *finishedTail = header;
}

uint32_t WaveDevicePlay(WaveDevice* device, uint8_t* out, uint32_t bytes)
{
    WaveHeader* finished = nullptr;
    WaveHeader** finishedTail = &finished;
    uint32_t taken = 0;
    {
        std::lock_guard<std::mutex> hold(device->lock);
        while (taken < bytes && device->head) {
            WaveHeader* header = device->head;
            uint32_t left = header->bufferLength - device->position;
            uint32_t n = left < bytes - taken ? left : bytes - taken;
            memcpy(out + taken, header->data + device->position, n);
            taken += n;
            device->position += n;
            if (device->position == header->bufferLength) {
                WaveDeviceFinishHead(device, finishedTail);
                finishedTail = &header->next;
            }
        }
    }
    // Running dry plays silence: the middle of the unsigned 8-bit range, or 0.
    memset(out + taken, device->format.bitsPerSample == 8 ? 128 : 0, bytes - taken);
    WaveDeviceReturn(device, finished);
    return taken;
}

uint32_t WaveDeviceHeadBytes(WaveDevice* device)
{
    std::lock_guard<std::mutex> hold(device->lock);
    return device->head ? device->head->bufferLength - device->position : 0;
}

int WaveOutPrepareHeader(WaveDevice*, WaveHeader* header)
{
    if (!header->data || !header->bufferLength)
        return 0;
    header->flags |= WHDR_PREPARED;
    return 1;
}

int WaveOutUnprepareHeader(WaveDevice*, WaveHeader* header)
{
    if (header->flags & WHDR_INQUEUE)
        return 0;
    header->flags &= ~WHDR_PREPARED;
    return 1;
}

int WaveOutWrite(WaveDevice* device, WaveHeader* header)
{
    std::lock_guard<std::mutex> hold(device->lock);
    uint32_t flags = header->flags;
    if (!(flags & WHDR_PREPARED) || (flags & WHDR_INQUEUE))
        return 0;
    header->flags = (flags & ~WHDR_DONE) | WHDR_INQUEUE;
    header->next = nullptr;
    if (device->tail)
        device->tail->next = header;
    else
        device->head = header;
    device->tail = header;
    return 1;
}

void WaveOutReset(WaveDevice* device)
{
    WaveHeader* finished = nullptr;
    WaveHeader** finishedTail = &finished;
    {
        std::lock_guard<std::mutex> hold(device->lock);
        while (device->head) {
            WaveHeader* header = device->head;
            WaveDeviceFinishHead(device, finishedTail);
            finishedTail = &header->next;
        }
    }
    WaveDeviceReturn(device, finished);
}
