// Sprite strips. Stand-in: frames are cut but not drawn.
#include "game/spritestrip.h"
#include "gfx/surface.h"

void SpriteStripInit(SpriteStrip* strip, Surface* image, int x0, int y0, int frameWidth, int frameHeight,
                     int dx, int dy, int frameCount, int delay)
{
    strip->image = image;
    strip->frameWidth = (uint32_t)frameWidth;
    strip->frameHeight = (uint32_t)frameHeight;
    strip->frameCount = (uint32_t)frameCount;
    strip->delay = (uint32_t)delay;
    strip->frame = strip->delayCount = 0;
    for (int i = 0; i < frameCount && i < 32; i++) {
        strip->srcX[i] = x0 + i * dx;
        strip->srcY[i] = y0 + i * dy;
    }
}

void SpriteStripDraw(SpriteStrip*, Surface*, int, int, int, uint8_t)
{
}

void SpriteStripAdvance(SpriteStrip*)
{
}
