// Surfaces: life cycle, the native pixel format and the drawing primitives.
#include "gfx/surface.h"

#include <cstdlib>
#include <cstring>
#include <new>

PixelLayout pixelLayout = PixelLayoutNone;

Surface::~Surface()
{
    SurfaceRelease(this);
}

void PixelFormatSelect(uint32_t ffFormat)
{
    if (ffFormat & 0x80)
        pixelLayout = PixelLayout565;
    else if (ffFormat & 0x40)
        pixelLayout = PixelLayout555;
    else
        pixelLayout = PixelLayoutNone;
}

void SplitColour(uint16_t pixel, int* red, int* green, int* blue)
{
    if (pixelLayout == PixelLayout565) {
        *red = (pixel >> 8) & 0xF8;
        *green = (pixel >> 3) & 0xFC;
        *blue = (pixel & 31) * 8;
    } else if (pixelLayout == PixelLayout555) {
        *red = (pixel >> 7) & 0xF8;
        *green = (pixel >> 2) & 0xF8;
        *blue = (pixel & 31) * 8;
    }
}

int SurfaceInit(Surface* surface)
{
    surface->pixels = nullptr;
    surface->width = 0;
    surface->height = 0;
    surface->colourKey = 0;
    surface->alpha = 255;
    return 1;
}

int SurfaceCreate(Surface* surface, int32_t width, int32_t height)
{
    if (width == 0 || height == 0)
        return 0;
    SurfaceRelease(surface);
    // Sizes come from bitmap headers; a negative or absurd size is refused
    // here rather than wrapped into a small buffer.
    if (width < 0 || height < 0 || (int64_t)width * height > (1 << 26))
        return 0;
    surface->pixels = (uint16_t*)malloc((size_t)width * (size_t)height * 2);
    if (!surface->pixels)
        return 0;
    surface->width = width;
    surface->height = height;
    return 1;
}

int SurfaceRelease(Surface* surface)
{
    free(surface->pixels);
    surface->pixels = nullptr;
    surface->width = 0;
    surface->height = 0;
    return 1;
}

int SurfaceCopy(Surface* destination, const Surface* source)
{
    if (destination == source)
        return 1;
    if (destination->width != source->width || destination->height != source->height)
        if (!SurfaceCreate(destination, source->width, source->height))
            return 0;
    if (source->pixels)
        memcpy(destination->pixels, source->pixels, (size_t)source->width * (size_t)source->height * 2);
    return 1;
}

Surface* SurfaceCloneScreen(const Surface* source)
{
    Surface* clone = new (std::nothrow) Surface();
    if (!clone)
        return nullptr;
    if (!SurfaceCreate(clone, 240, 320)) {
        delete clone;
        return nullptr;
    }
    size_t count = (size_t)source->width * (size_t)source->height;
    if (source->pixels && count <= 240 * 320)
        memcpy(clone->pixels, source->pixels, count * 2);
    return clone;
}

void SurfaceSetColourKey(Surface* surface, uint16_t colour)
{
    surface->colourKey = colour;
}

void SurfaceSetAlpha(Surface* surface, uint8_t level)
{
    surface->alpha = level;
}

void SurfacePutPixel(Surface* surface, int x, int y, uint16_t colour)
{
    surface->pixels[y * surface->width + x] = colour;
}

void SurfaceClear(Surface* surface, uint16_t colour)
{
    if (!surface->pixels)
        return;
    uint16_t* p = surface->pixels;
    uint16_t* end = p + (size_t)surface->width * (size_t)surface->height;
    while (p < end)
        *p++ = colour;
}

void SurfaceFillRect(Surface* surface, int x1, int y1, int x2, int y2, uint16_t colour)
{
    for (int y = y1; y < y2; y++) {
        uint16_t* row = surface->pixels + y * surface->width;
        for (int x = x1; x < x2; x++)
            row[x] = colour;
    }
}

void SurfaceHLine(Surface* surface, int x, int y, int length, uint16_t colour)
{
    uint16_t* p = surface->pixels + y * surface->width + x;
    for (int i = 0; i < length; i++)
        p[i] = colour;
}

void SurfaceVLine(Surface* surface, int x, int y, int length, uint16_t colour)
{
    uint16_t* p = surface->pixels + y * surface->width + x;
    for (int i = 0; i < length; i++)
        p[i * surface->width] = colour;
}

void SurfaceRectangle(Surface* surface, int x1, int y1, int x2, int y2, uint16_t colour)
{
    SurfaceHLine(surface, x1, y1, x2 - x1 + 1, colour);
    SurfaceHLine(surface, x1, y2, x2 - x1 + 1, colour);
    SurfaceVLine(surface, x1, y1, y2 - y1, colour);
    SurfaceVLine(surface, x2, y1, y2 - y1, colour);
}

// The rounded division by 255 of a signed product, the system's one form of it.
static int Div255(int product)
{
    int d = product + 128;
    return (d + (d >> 8)) >> 8;
}

void SurfaceGradient(Surface* surface, uint16_t top, uint16_t bottom)
{
    int r1 = 0, g1 = 0, b1 = 0, r2 = 0, g2 = 0, b2 = 0;
    SplitColour(top, &r1, &g1, &b1);
    SplitColour(bottom, &r2, &g2, &b2);
    for (int i = 0; i < surface->height; i++) {
        int t = 255 * i / surface->height;
        uint16_t colour = MakeColour(r1 + Div255((r2 - r1) * t), g1 + Div255((g2 - g1) * t), b1 + Div255((b2 - b1) * t));
        SurfaceHLine(surface, 0, i, surface->width, colour);
    }
}

void SurfaceScale(Surface* surface, float weight)
{
    size_t count = (size_t)surface->width * (size_t)surface->height;
    for (size_t i = 0; i < count; i++) {
        int r = 0, g = 0, b = 0;
        SplitColour(surface->pixels[i], &r, &g, &b);
        surface->pixels[i] = MakeColour((int)((float)r * weight), (int)((float)g * weight), (int)((float)b * weight));
    }
}
