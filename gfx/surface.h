// Surfaces: rectangles of native 16-bit pixels, the native pixel format, and the drawing primitives.
#pragma once
#include <cstdint>

// A surface owns its pixels: width x height native pixels, rows packed top
// first. pixels is null exactly when width and height are 0. Surfaces are
// never copied by assignment, only through SurfaceCopy.
struct Surface {
    uint16_t* pixels = nullptr;
    int32_t width = 0;
    int32_t height = 0;
    uint16_t colourKey = 0;    // transparent when this is the source of a keyed blit
    uint8_t alpha = 255;       // blend level when this is the source of a blending blit
    uint16_t textColour = 0;   // what the keyed fill writes when this is the destination

    Surface() = default;
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;
    ~Surface();
};

// The native layouts, chosen once from the display's format bits.
enum PixelLayout { PixelLayoutNone, PixelLayout565, PixelLayout555 };
extern PixelLayout pixelLayout;

// Picks the layout from the display format: 0x80 gives 565, else 0x40 gives 555, else none.
void PixelFormatSelect(uint32_t ffFormat);

// Inline so that table builders that call it per entry keep their loops tight.
inline uint16_t MakeColour(int red, int green, int blue)
{
    if (pixelLayout == PixelLayout565)
        return (uint16_t)(((red >> 3) << 11) + ((green >> 2) << 5) + (blue >> 3));
    if (pixelLayout == PixelLayout555)
        return (uint16_t)(((red >> 3) << 10) + ((green >> 3) << 5) + (blue >> 3));
    return 0;
}
void SplitColour(uint16_t pixel, int* red, int* green, int* blue);

int SurfaceInit(Surface* surface);
int SurfaceCreate(Surface* surface, int32_t width, int32_t height);
int SurfaceRelease(Surface* surface);
int SurfaceCopy(Surface* destination, const Surface* source);
Surface* SurfaceCloneScreen(const Surface* source);
void SurfaceSetColourKey(Surface* surface, uint16_t colour);
void SurfaceSetAlpha(Surface* surface, uint8_t level);

// The primitives do not clip: callers keep every pixel inside the surface.
void SurfacePutPixel(Surface* surface, int x, int y, uint16_t colour);
void SurfaceClear(Surface* surface, uint16_t colour);
void SurfaceFillRect(Surface* surface, int x1, int y1, int x2, int y2, uint16_t colour);
void SurfaceHLine(Surface* surface, int x, int y, int length, uint16_t colour);
void SurfaceVLine(Surface* surface, int x, int y, int length, uint16_t colour);
void SurfaceRectangle(Surface* surface, int x1, int y1, int x2, int y2, uint16_t colour);
void SurfaceGradient(Surface* surface, uint16_t top, uint16_t bottom);

// Multiplies every pixel's channels by weight, truncating: how a background
// layer is pre-weighted when it is loaded.
void SurfaceScale(Surface* surface, float weight);
