// Headless display and keys: frame memory laid out by any pitches, read back as a 240 x 320 screen.
#include "platform/gx.h"
#include "platform/headless.h"
#include "platform/headless/headless_internal.h"
#include "platform/internal.h"
#include "platform/record.h"

#include <algorithm>
#include <cstring>

static const GXDisplayProperties defaultDisplay = { 240, 320, 2, 480, 16, kfDirect | kfDirect565 };

static GXDisplayProperties display = defaultDisplay;
static std::vector<uint8_t> memory;
static size_t beginOffset;
static int displayAvailable = 1;
static uint32_t framesPresented;
static void (*presentHook)(void*);
static void* presentContext;
static uint8_t keys[256];

// Byte offset of screen pixel (x, y) from the address GXBeginDraw hands out,
// by the same arithmetic the game uses to fill the frame.
static long PixelOffset(int x, int y)
{
    long xStep = display.cbxPitch & ~1;
    long yStep = display.cbyPitch & ~1;
    long start = display.cbyPitch < 0 ? 640 : 0;
    return start + x * xStep + y * yStep;
}

void HeadlessSetDisplay(const GXDisplayProperties& props)
{
    display = props;
    long lowest = 0, highest = 0;
    for (int corner = 0; corner < 4; corner++) {
        long offset = PixelOffset(corner & 1 ? 239 : 0, corner & 2 ? 319 : 0);
        lowest = std::min(lowest, offset);
        highest = std::max(highest, offset);
    }
    memory.assign((size_t)(highest - lowest + 2), 0);
    beginOffset = (size_t)-lowest;
}

void HeadlessDisplayReset()
{
    HeadlessSetDisplay(defaultDisplay);
    GXGateReset();
    displayAvailable = 1;
    framesPresented = 0;
    presentHook = nullptr;
    memset(keys, 0, sizeof keys);
}

void HeadlessSetDisplayAvailable(int available)
{
    displayAvailable = available;
}

const std::vector<uint8_t>& HeadlessDisplayMemory(size_t* offset)
{
    if (offset)
        *offset = beginOffset;
    return memory;
}

void HeadlessScreenRead(uint16_t* out)
{
    if (memory.empty())
        HeadlessSetDisplay(display);
    for (int y = 0; y < 320; y++) {
        for (int x = 0; x < 240; x++) {
            uint16_t pixel;
            memcpy(&pixel, &memory[(size_t)((long)beginOffset + PixelOffset(x, y))], 2);
            out[y * 240 + x] = pixel;
        }
    }
}

uint32_t HeadlessFramesPresented()
{
    return framesPresented;
}

void HeadlessSetPresentHook(void (*hook)(void*), void* context)
{
    presentHook = hook;
    presentContext = context;
}

void HeadlessKeySet(int virtualKey, int down)
{
    keys[virtualKey & 0xFF] = (uint8_t)down;
}

GXDisplayProperties GXGetDisplayProperties()
{
    if (memory.empty())
        HeadlessSetDisplay(display);
    return display;
}

int GXOpenDisplay(Window*, uint32_t)
{
    return GXGateOpen(displayAvailable);
}

void* GXBeginDraw()
{
    if (!GXGateBegin())
        return nullptr;
    if (memory.empty())
        HeadlessSetDisplay(display);
    return memory.data() + beginOffset;
}

int GXEndDraw()
{
    if (!GXGateEnd())
        return 0;
    framesPresented++;
    if (RecordCurrent() != RecordOff) {
        static uint16_t screen[240 * 320];
        HeadlessScreenRead(screen);
        RecordFrame(screen);
    }
    if (presentHook)
        presentHook(presentContext);
    // The desktop collects input after showing a frame; a pump here keeps
    // recordings of both in step.
    RecordPumpBegin();
    RecordPumpEnd();
    return 1;
}

int16_t InputKeyState(int virtualKey)
{
    return RecordKey(virtualKey, keys[virtualKey & 0xFF] ? (int16_t)0x8000 : 0);
}
