// The built-in 7 x 7 pixel font of button labels, menus and tables.
#pragma once
#include "gfx/surface.h"

enum { PixelFontGlyphs = 54, PixelFontRows = 7 };

struct PixelFont {
    char* rows[PixelFontGlyphs][PixelFontRows];   // "o" set, ":" clear; built at start-up
    int32_t glyphOf[256];
};

extern PixelFont pixelFont;

void PixelFontBuild();
void PixelFontFree();
// x = -1 and y = -1 centre the text on the surface.
void PixelFontDrawText(Surface* surface, const char* text, int x, int y, uint16_t colour);
