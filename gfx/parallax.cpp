// The parallax background: two pre-weighted layers added together, two pixels to a 32-bit word.
#include "gfx/parallax.h"
#include "app/entry.h"
#include "gfx/bitmap.h"
#include "gfx/blit.h"
#include "gfx/cpu.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

// The frame the background covers; layers are as wide as it and one period plus its height tall.
static const int frameWidth = 240;
static const int frameHeight = 320;

void ParallaxInit(Parallax* parallax)
{
    SurfaceInit(&parallax->back);
    SurfaceInit(&parallax->front);
    ParallaxReset(parallax);
}

void ParallaxReset(Parallax* parallax)
{
    parallax->backSpeed = -1;
    parallax->frontSpeed = -3;
    parallax->backOffset = 0;
    parallax->frontOffset = 0;
    parallax->keyFlag = 1;
    parallax->keyColour = 0;
}

// Tiles the weighted bitmap over a 240 x (period + 320) layer, so that rows
// offset to offset + 319 are seamless for every offset within the period.
static int LoadLayer(Surface* layer, int32_t* layerSpeed, int32_t* layerPeriod, const wchar_t* name,
                     int32_t speed, float weight)
{
    Surface tile;   // released on every path
    if (!LoadBitmapResource(&tile, moduleHandle, name))
        return 0;
    SurfaceScale(&tile, weight);
    if (!SurfaceCreate(layer, frameWidth, tile.height + frameHeight))
        return 0;
    *layerSpeed = speed;
    *layerPeriod = tile.height;
    return BlitTile(layer, &tile);
}

int ParallaxLoadBack(Parallax* parallax, const wchar_t* name, int32_t speed, float weight)
{
    return LoadLayer(&parallax->back, &parallax->backSpeed, &parallax->backPeriod, name, speed, weight);
}

int ParallaxLoadFront(Parallax* parallax, const wchar_t* name, int32_t speed, float weight)
{
    return LoadLayer(&parallax->front, &parallax->frontSpeed, &parallax->frontPeriod, name, speed, weight);
}

void ParallaxSetKey(Parallax* parallax, uint8_t flag, uint16_t colour)
{
    parallax->keyFlag = flag;
    parallax->keyColour = colour;
}

// The weights of a stage add up to at most 1, so no channel sum overflows its
// field and adding whole words adds every channel of both pixels at once.
static inline __attribute__((always_inline)) void AddWordsLoop(uint16_t* __restrict out, const uint16_t* __restrict a,
                                                               const uint16_t* __restrict b, int words)
{
    for (int i = 0; i < words; i++) {
        uint32_t x, y;
        memcpy(&x, a + 2 * i, 4);
        memcpy(&y, b + 2 * i, 4);
        x += y;
        memcpy(out + 2 * i, &x, 4);
    }
}

using AddWordsFn = void (*)(uint16_t*, const uint16_t*, const uint16_t*, int);

static void AddWordsPlain(uint16_t* out, const uint16_t* a, const uint16_t* b, int words)
{
    AddWordsLoop(out, a, b, words);
}

// Wider vectors than the build's own pay off here, so the machine's widest are
// chosen once at start.
#if defined(__x86_64__)
__attribute__((target("avx512f,avx512bw,avx512vl"))) static void AddWordsWide(uint16_t* out, const uint16_t* a,
                                                                             const uint16_t* b, int words)
{
    AddWordsLoop(out, a, b, words);
}

__attribute__((target("avx2"))) static void AddWordsAvx2(uint16_t* out, const uint16_t* a, const uint16_t* b,
                                                         int words)
{
    AddWordsLoop(out, a, b, words);
}

static AddWordsFn AddWordsChoose()
{
    switch (CpuVectorWidth()) {
    case CpuVectorsAvx512:
        return AddWordsWide;
    case CpuVectorsAvx2:
        return AddWordsAvx2;
    default:
        return AddWordsPlain;
    }
}
#else
static AddWordsFn AddWordsChoose()
{
    return AddWordsPlain;
}
#endif

static const AddWordsFn AddWords = AddWordsChoose();

// Layers and frame come from one allocator and so share their alignment:
// once the first pixels bring the output to a cache line, every vector load
// and store lies within one line.
static void AddPixels(uint16_t* out, const uint16_t* a, const uint16_t* b, int count)
{
    int lead = 0;
    if ((uintptr_t)out % 4 == 0)
        lead = (int)((64 - (uintptr_t)out % 64) % 64 / 2);
    lead = std::min(lead, count) & ~1;
    AddWords(out, a, b, lead / 2);
    AddWords(out + lead, a + lead, b + lead, (count - lead) / 2);
}

// One frame's scroll: the speed added, then the period taken off or added
// once. An offset left outside the period (a new game keeps the last game's
// offsets over layers of other periods) comes back into it a period a frame.
// No stage scrolls a period a frame or more; such a speed counts by its remainder.
static int32_t Advance(int32_t offset, int32_t speed, int32_t period)
{
    int64_t next = (int64_t)offset + speed % period;
    if (next >= period)
        next -= period;
    if (next < 0)
        next += period;
    return (int32_t)next;
}

// The first of the 320 rows shown, or null when the layer is empty. Layer row
// r + period repeats row r, so any offset is read as its place in the period:
// the same picture, and never a row past the layer's end.
static const uint16_t* LayerRows(const Surface* layer, int32_t offset, int32_t period)
{
    if (!layer->pixels || layer->width != frameWidth || period <= 0 || layer->height < period + frameHeight)
        return nullptr;
    int32_t row = offset % period;
    return layer->pixels + (size_t)(row < 0 ? row + period : row) * frameWidth;
}

int ParallaxCompose(Parallax* parallax, Surface* destination)
{
    const uint16_t* b = LayerRows(&parallax->back, parallax->backOffset, parallax->backPeriod);
    const uint16_t* f = LayerRows(&parallax->front, parallax->frontOffset, parallax->frontPeriod);
    if (!b || !destination->pixels || destination->width < frameWidth || destination->height < frameHeight)
        return 0;
    // A destination as wide as the layers takes the whole frame as one run.
    int runs = destination->width == frameWidth ? 1 : frameHeight;
    int run = frameWidth * frameHeight / runs;
    uint16_t* out = destination->pixels;
    for (int i = 0; i < runs; i++, out += destination->width) {
        if (f)
            AddPixels(out, b + i * run, f + i * run, run);
        else
            memcpy(out, b + i * run, (size_t)run * 2);
    }
    parallax->backOffset = Advance(parallax->backOffset, parallax->backSpeed, parallax->backPeriod);
    if (f)
        parallax->frontOffset = Advance(parallax->frontOffset, parallax->frontSpeed, parallax->frontPeriod);
    return 1;
}
