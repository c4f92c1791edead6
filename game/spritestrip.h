// Sprite strips: frame animations cut from one surface.
#pragma once
#include <cstdint>

struct Surface;

struct SpriteStrip {
    uint32_t frame;
    uint32_t frameCount;
    uint32_t delay;
    uint32_t delayCount;
    int32_t srcX[32];
    int32_t srcY[32];
    uint32_t frameWidth;
    uint32_t frameHeight;
    Surface* image;
};

void SpriteStripInit(SpriteStrip* strip, Surface* image, int x0, int y0, int frameWidth, int frameHeight,
                     int dx, int dy, int frameCount, int delay);
// A negative frame advances the animation; otherwise it selects that frame
// (one past the strip draws nothing).
void SpriteStripDraw(SpriteStrip* strip, Surface* destination, int x, int y, int frame, uint8_t mode);
void SpriteStripAdvance(SpriteStrip* strip);
