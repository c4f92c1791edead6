// Sprite strips: frame rectangles cut from one image, drawn by frame number or advanced on a delay.
#include "game/spritestrip.h"
#include "gfx/blit.h"
#include "gfx/surface.h"

enum { SpriteStripMaxFrames = 32 };

void SpriteStripInit(SpriteStrip* strip, Surface* image, int x0, int y0, int frameWidth, int frameHeight,
                     int dx, int dy, int frameCount, int delay)
{
    strip->image = image;
    if (image && image->pixels)
        SurfaceSetColourKey(image, image->pixels[0]);
    if (frameCount < 0)
        frameCount = 0;
    if (frameCount > SpriteStripMaxFrames)
        frameCount = SpriteStripMaxFrames;
    strip->frameWidth = (uint32_t)frameWidth;
    strip->frameHeight = (uint32_t)frameHeight;
    strip->frameCount = (uint32_t)frameCount;
    strip->delay = (uint32_t)delay;
    strip->frame = strip->delayCount = 0;
    for (int i = 0; i < frameCount; i++) {
        strip->srcX[i] = x0 + i * dx;
        strip->srcY[i] = y0 + i * dy;
    }
}

void SpriteStripDraw(SpriteStrip* strip, Surface* destination, int x, int y, int frame, uint8_t mode)
{
    if (frame < 0)
        SpriteStripAdvance(strip);
    else if ((uint32_t)frame < strip->frameCount)
        strip->frame = (uint32_t)frame;
    else
        return;   // past the strip: nothing to cut
    if (!strip->image || strip->frame >= strip->frameCount)
        return;
    Blit(destination, x, y, (int32_t)strip->frameWidth, (int32_t)strip->frameHeight, strip->image,
         strip->srcX[strip->frame], strip->srcY[strip->frame], mode);
}

void SpriteStripAdvance(SpriteStrip* strip)
{
    // A delay of 0 advances on every call, as 1 does.
    if (++strip->delayCount < strip->delay)
        return;
    strip->delayCount = 0;
    if (++strip->frame >= strip->frameCount)
        strip->frame = 0;
}
