// The pixel font. Stand-in: no glyphs are built, so nothing is drawn.
#include "gfx/pixelfont.h"

PixelFont pixelFont;

void PixelFontBuild()
{
}

void PixelFontFree()
{
}

void PixelFontDrawText(Surface*, const char*, int, int, uint16_t)
{
}
