// The parallax background. Stand-in: no layer loads, so nothing is composed.
#include "gfx/parallax.h"

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

int ParallaxLoadBack(Parallax*, const wchar_t*, int32_t, float)
{
    return 0;
}

int ParallaxLoadFront(Parallax*, const wchar_t*, int32_t, float)
{
    return 0;
}

void ParallaxSetKey(Parallax* parallax, uint8_t flag, uint16_t colour)
{
    parallax->keyFlag = flag;
    parallax->keyColour = colour;
}

int ParallaxCompose(Parallax*, Surface*)
{
    return 0;
}
