// The proportional bitmap font: a glyph strip and its widths file, drawn in one colour.
#pragma once
#include "gfx/surface.h"

struct BitmapFont {
    uint8_t glyphCount = 0;
    uint8_t glyphHeight = 0;
    int16_t glyphX[256] = {};
    uint8_t glyphWidth[256] = {};
    Surface image;
};

// The headline and head-up display font, loaded at start-up.
extern BitmapFont bitmapFont;

int FontLoad(BitmapFont* font, const char* path);
// x = -1 centres the text on the 240-pixel screen width.
void FontDrawText(BitmapFont* font, Surface* destination, int x, int y, const char* text, uint16_t colour);
void FontSetAlpha(BitmapFont* font, uint8_t level);
