// The blitter: clipping and mode choice once per call, then one tight row loop per mode and layout.
#include "gfx/blit.h"

#include <cstring>

// Field layout of a native pixel: blue is bits 4-0 in both, green starts at bit 5.
struct Layout565 {
    static constexpr int redShift = 11, greenMax = 63, greenBits = 6;
};
struct Layout555 {
    static constexpr int redShift = 10, greenMax = 31, greenBits = 5;
};

// Every channel value, difference and product below fits in 16 signed bits
// (at most 63 x 255 + 128 + 63), so the arithmetic is written in int16_t: the
// compiler then works on eight pixels per vector instead of four.
using Lane = int16_t;

// The rounded division by 255 of a signed product; both shifts are arithmetic.
static inline Lane Div255(int product)
{
    Lane x = (Lane)(product + 128);
    return (Lane)((Lane)(x + (x >> 8)) >> 8);
}

template <class L>
static inline uint16_t AlphaPixel(uint16_t d, uint16_t s, Lane level)
{
    Lane dr = (Lane)((d >> L::redShift) & 31), dg = (Lane)((d >> 5) & L::greenMax), db = (Lane)(d & 31);
    Lane sr = (Lane)((s >> L::redShift) & 31), sg = (Lane)((s >> 5) & L::greenMax), sb = (Lane)(s & 31);
    Lane r = (Lane)(dr + Div255((Lane)((sr - dr) * level)));
    Lane g = (Lane)(dg + Div255((Lane)((sg - dg) * level)));
    Lane b = (Lane)(db + Div255((Lane)((sb - db) * level)));
    return (uint16_t)((r << L::redShift) | (g << 5) | b);
}

// The screen value max - (max - d)(max - s) / 2^bits never lies below d; level
// scales how far the channel moves towards it.
static inline Lane ScreenChannel(Lane d, Lane s, Lane max, int bits, Lane level)
{
    Lane t = (Lane)(max - ((Lane)((max - d) * (max - s)) >> bits));
    return (Lane)(d + Div255((Lane)((t - d) * level)));
}

template <class L>
static inline uint16_t ScreenPixel(uint16_t d, uint16_t s, Lane level)
{
    Lane r = ScreenChannel((Lane)((d >> L::redShift) & 31), (Lane)((s >> L::redShift) & 31), 31, 5, level);
    Lane g = ScreenChannel((Lane)((d >> 5) & L::greenMax), (Lane)((s >> 5) & L::greenMax), L::greenMax, L::greenBits, level);
    Lane b = ScreenChannel((Lane)(d & 31), (Lane)(s & 31), 31, 5, level);
    return (uint16_t)((r << L::redShift) | (g << 5) | b);
}

uint16_t BlendAlpha(uint16_t d, uint16_t s, int level)
{
    if (level == 255)
        return s;
    if (pixelLayout == PixelLayout565)
        return AlphaPixel<Layout565>(d, s, (Lane)level);
    if (pixelLayout == PixelLayout555)
        return AlphaPixel<Layout555>(d, s, (Lane)level);
    return 0;
}

// Runs of equal pixels are common in sprites and backgrounds, so the last
// call's answer is kept. The layout is part of the key: a change of format
// must not hand back a pixel made for the other one.
static struct {
    int layout = -1;
    uint16_t d = 0, s = 0;
    int level = 0;
    uint16_t result = 0;
} screenMemo;

uint16_t BlendScreen(uint16_t d, uint16_t s, int level)
{
    if (level == 255)
        return s;
    if (screenMemo.layout == pixelLayout && screenMemo.d == d && screenMemo.s == s && screenMemo.level == level)
        return screenMemo.result;
    uint16_t result = d;
    if (pixelLayout == PixelLayout565)
        result = ScreenPixel<Layout565>(d, s, (Lane)level);
    else if (pixelLayout == PixelLayout555)
        result = ScreenPixel<Layout555>(d, s, (Lane)level);
    screenMemo.layout = pixelLayout;
    screenMemo.d = d;
    screenMemo.s = s;
    screenMemo.level = level;
    screenMemo.result = result;
    return result;
}

// The clipped rectangle: first rows of both surfaces, size and row pitches.
struct BlitRows {
    uint16_t* d;
    const uint16_t* s;
    int w, h, dPitch, sPitch;
};

// The row loops below are written without branches or calls so that the
// compiler turns each into vector code. They compute the same per-pixel
// formulas as BlendAlpha and BlendScreen; the screen rows do not use the memo,
// since a whole vector of pixels costs less than the memo's test.
template <class RowOp>
static void EachRow(const BlitRows& r, RowOp row)
{
    uint16_t* d = r.d;
    const uint16_t* s = r.s;
    for (int y = 0; y < r.h; y++) {
        row(d, s, r.w);
        d += r.dPitch;
        s += r.sPitch;
    }
}

static void CopyRows(const BlitRows& r)
{
    EachRow(r, [](uint16_t* d, const uint16_t* s, int w) { memmove(d, s, (size_t)w * 2); });
}

static void ClearRows(const BlitRows& r)
{
    EachRow(r, [](uint16_t* d, const uint16_t*, int w) { memset(d, 0, (size_t)w * 2); });
}

// Every pixel becomes pixel(d, s); each mode instantiates its own loop.
template <class PixelOp>
static void BlendRows(const BlitRows& r, PixelOp pixel)
{
    EachRow(r, [pixel](uint16_t* __restrict d, const uint16_t* __restrict s, int w) {
        for (int i = 0; i < w; i++)
            d[i] = pixel(d[i], s[i]);
    });
}

// As BlendRows where the source is not the key; the destination stays elsewhere.
template <class PixelOp>
static void KeyedRows(const BlitRows& r, uint16_t key, PixelOp pixel)
{
    EachRow(r, [key, pixel](uint16_t* __restrict d, const uint16_t* __restrict s, int w) {
        for (int i = 0; i < w; i++) {
            uint16_t out = pixel(d[i], s[i]);
            d[i] = s[i] != key ? out : d[i];
        }
    });
}

// A lambda rather than a function, so that the loops inline it.
static constexpr auto SourcePixel = [](uint16_t, uint16_t s) { return s; };

// The two blends as the row loops take them.
struct AlphaBlend {
    template <class L>
    static uint16_t Pixel(uint16_t d, uint16_t s, Lane level) { return AlphaPixel<L>(d, s, level); }
    static constexpr bool blackWithoutLayout = true;
};
struct ScreenBlend {
    template <class L>
    static uint16_t Pixel(uint16_t d, uint16_t s, Lane level) { return ScreenPixel<L>(d, s, level); }
    static constexpr bool blackWithoutLayout = false;
};

// A blend at level 255 gives the source. Below it, with no native layout,
// alpha makes black and screen keeps the destination.
template <class Blend>
static void BlendMode(const BlitRows& r, int keyed, uint16_t key, Lane level)
{
    auto blend565 = [level](uint16_t d, uint16_t s) { return Blend::template Pixel<Layout565>(d, s, level); };
    auto blend555 = [level](uint16_t d, uint16_t s) { return Blend::template Pixel<Layout555>(d, s, level); };
    auto black = [](uint16_t, uint16_t) { return (uint16_t)0; };
    if (level == 255)
        keyed ? KeyedRows(r, key, SourcePixel) : CopyRows(r);
    else if (pixelLayout == PixelLayout565)
        keyed ? KeyedRows(r, key, blend565) : BlendRows(r, blend565);
    else if (pixelLayout == PixelLayout555)
        keyed ? KeyedRows(r, key, blend555) : BlendRows(r, blend555);
    else if (Blend::blackWithoutLayout)
        keyed ? KeyedRows(r, key, black) : ClearRows(r);
}

int Blit(Surface* destination, int32_t dx, int32_t dy, int32_t w, int32_t h,
         const Surface* source, int32_t sx, int32_t sy, uint8_t mode)
{
    if (dx + w >= destination->width)
        w = destination->width - dx;
    if (dx < 0) {
        w += dx;
        sx -= dx;
        dx = 0;
    }
    if (dy + h >= destination->height)
        h = destination->height - dy;
    if (dy < 0) {
        h += dy;
        sy -= dy;
        dy = 0;
    }
    if (w < 1 || h < 1)
        return 0;
    // Callers keep the source rectangle inside the source; one that is not
    // (a glyph edge past the font strip, an image that failed to load) draws
    // nothing rather than reading outside the image.
    if (sx < 0 || sy < 0 || sx + w > source->width || sy + h > source->height)
        return 0;

    BlitRows rows = { destination->pixels + (size_t)dy * destination->width + dx,
                      source->pixels + (size_t)sy * source->width + sx,
                      w, h, destination->width, source->width };
    uint16_t key = source->colourKey;
    Lane level = source->alpha;
    switch (mode) {
    case BlitCopy:
        CopyRows(rows);
        break;
    case BlitKeyed:
        KeyedRows(rows, key, SourcePixel);
        break;
    case BlitAlpha:
    case BlitKeyedAlpha:
        BlendMode<AlphaBlend>(rows, mode == BlitKeyedAlpha, key, level);
        break;
    case BlitScreen:
    case BlitKeyedScreen:
        BlendMode<ScreenBlend>(rows, mode == BlitKeyedScreen, key, level);
        break;
    case BlitKeyedFill: {
        uint16_t colour = destination->textColour;
        KeyedRows(rows, key, [colour](uint16_t, uint16_t) { return colour; });
        break;
    }
    default:
        break;
    }
    return 1;
}

void ShadeRect(Surface* surface, int x1, int y1, int x2, int y2, int level)
{
    if (x1 < 0)
        x1 = 0;
    if (y1 < 0)
        y1 = 0;
    if (x2 > surface->width)
        x2 = surface->width;
    if (y2 > surface->height)
        y2 = surface->height;
    if (x2 <= x1 || y2 <= y1)
        return;
    // Each row blends towards a black source row; a copy over a row of zeros
    // is what level 255 gives.
    static const uint16_t black[1024] = {};
    for (int x = x1; x < x2; x += 1024) {
        int w = x2 - x < 1024 ? x2 - x : 1024;
        BlitRows rows = { surface->pixels + (size_t)y1 * surface->width + x, black, w, y2 - y1, surface->width, 0 };
        BlendMode<AlphaBlend>(rows, 0, 0, (Lane)level);
    }
}

int BlitTile(Surface* destination, const Surface* tile)
{
    if (tile->width < 1 || tile->height < 1)
        return 1;
    int columns = destination->width / tile->width + (destination->width % tile->width ? 1 : 0);
    int rowCount = destination->height / tile->height + (destination->height % tile->height ? 1 : 0);
    for (int c = 0; c < columns; c++)
        for (int r = 0; r < rowCount; r++)
            Blit(destination, c * tile->width, r * tile->height, tile->width, tile->height, tile, 0, 0, BlitCopy);
    return 1;
}
