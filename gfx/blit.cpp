// The blitter. Stand-in: nothing is drawn yet.
#include "gfx/blit.h"

int Blit(Surface*, int32_t, int32_t, int32_t, int32_t, const Surface*, int32_t, int32_t, uint8_t)
{
    return 0;
}

uint16_t BlendAlpha(uint16_t d, uint16_t, int)
{
    return d;
}

uint16_t BlendScreen(uint16_t d, uint16_t, int)
{
    return d;
}

void ShadeRect(Surface*, int, int, int, int, int)
{
}

int BlitTile(Surface*, const Surface*)
{
    return 1;
}
