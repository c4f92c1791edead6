// Fades: the picture blended over a solid colour at rising or falling levels, every step presented.
#include "gfx/fade.h"
#include "app/display.h"
#include "gfx/blit.h"
#include "platform/sys.h"

// Shows the levels 0, step, 2 step, ... and finally 255, each as the picture
// blended over the colour; falling says whether the picture's share falls.
static int Fade(Surface* surface, uint16_t colour, int step, int falling)
{
    Surface picture;
    SurfaceInit(&picture);
    if (!SurfaceCopy(&picture, surface))
        return 1;
    if (step < 1)
        step = 1;   // a zero step would never reach 255
    int level = 0;
    for (;;) {
        SysSleep(1);
        SurfaceClear(surface, colour);
        SurfaceSetAlpha(&picture, (uint8_t)(falling ? 255 - level : level));
        Blit(surface, 0, 0, surface->width, surface->height, &picture, 0, 0, BlitAlpha);
        Present(surface);
        if (level >= 255)
            break;
        level += step;
        if (level > 255)
            level = 255;
    }
    SurfaceRelease(&picture);
    return 1;
}

int FadeOut(Surface* surface, uint16_t colour, int step)
{
    return Fade(surface, colour, step, 1);
}

int FadeIn(Surface* surface, uint16_t colour, int step)
{
    return Fade(surface, colour, step, 0);
}
