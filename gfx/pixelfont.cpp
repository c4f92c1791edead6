// The pixel font: 54 glyphs of 7 x 7 cells built from rows of characters, drawn pixel by pixel in 8 x 9 cells.
#include "gfx/pixelfont.h"

#include <cstdlib>
#include <cstring>

PixelFont pixelFont;

struct PixelGlyphDef {
    char character;
    const char* rows[PixelFontRows];   // top row first; "o" set, ":" clear
};

// The font has no capitals: "A" to "Z" draw as the lower-case glyphs.
static const PixelGlyphDef PixelGlyphTable[PixelFontGlyphs] = {
    /*  0 */ { 'a', { "oooo:::", "oo:oo::", "oo::oo:", "oo:::oo", "ooooooo", "oo:::oo", "oo:::oo" } },
    /*  1 */ { 'b', { "oooo:::", "oo:oo::", ":oo::::", "ooooo::", "oo::oo:", "oo:::oo", "oooooo:" } },
    /*  2 */ { 'c', { "::ooooo", ":oo::::", "oo:::::", "oo:::::", "oo:::::", "oo:::::", ":oooooo" } },
    /*  3 */ { 'd', { "oooo:::", "oo:oo::", "oo::oo:", "oo:::oo", "oo:::oo", "oo:::oo", "oooooo:" } },
    /*  4 */ { 'e', { "ooooooo", "oo:::::", "oo:::::", "ooooooo", "oo:::::", "oo:::::", "ooooooo" } },
    /*  5 */ { 'f', { "ooooooo", "oo:::::", "oo:::::", "ooooo::", "oo:::::", "oo:::::", "oo:::::" } },
    /*  6 */ { 'g', { "::oooo:", ":oo::::", "oo:::::", "oo:oooo", "oo:::oo", "oo:::oo", ":oooooo" } },
    /*  7 */ { 'h', { "oo::::o", "oo::::o", "oo::::o", "ooooooo", "oo::::o", "oo::::o", "oo::::o" } },
    /*  8 */ { 'i', { "::oooo:", ":::oo::", ":::oo::", ":::oo::", ":::oo::", ":::oo::", "::oooo:" } },
    /*  9 */ { 'j', { "::ooooo", ":::::oo", ":::::oo", ":::::oo", "oo:::oo", ":oo:oo:", "::ooo::" } },
    /* 10 */ { 'k', { "oo::oo:", "oo:oo::", "oooo:::", "ooo::::", "ooooo::", "oo::oo:", "oo:::oo" } },
    /* 11 */ { 'l', { "oo:::::", "oo:::::", "oo:::::", "oo:::::", "oo:::::", "oo:::::", "ooooooo" } },
    /* 12 */ { 'm', { "o:::::o", "oo:::oo", "ooo:ooo", "ooooooo", "oo:o:oo", "oo:::oo", "oo:::oo" } },
    /* 13 */ { 'n', { "oo:::oo", "ooo::oo", "oooo:oo", "oo:oooo", "oo::ooo", "oo:::oo", "oo:::oo" } },
    /* 14 */ { 'o', { "::ooo::", ":oo:oo:", "oo:::oo", "oo:::oo", "oo:::oo", "oo:::oo", ":ooooo:" } },
    /* 15 */ { 'p', { "ooooo::", "oo::oo:", "oo:::oo", "oo:::oo", "oooooo:", "oo:::::", "oo:::::" } },
    /* 16 */ { 'q', { "::ooo::", ":oo:oo:", "oo:::oo", "oo:o:oo", "oo:oooo", "oo::oo:", ":ooo:oo" } },
    /* 17 */ { 'r', { "ooooo::", "oo::oo:", "oo:::oo", "oooooo:", "oo:oo::", "oo::oo:", "oo:::oo" } },
    /* 18 */ { 's', { "::ooooo", ":oo::::", "oo:::::", "ooooooo", ":::::oo", "::::oo:", "ooooo::" } },
    /* 19 */ { 't', { "ooooooo", ":::oo::", ":::oo::", ":::oo::", ":::oo::", ":::oo::", ":::oo::" } },
    /* 20 */ { 'u', { "oo:::oo", "oo:::oo", "oo:::oo", "oo:::oo", "oo:::oo", "oo::oo:", ":oooo::" } },
    /* 21 */ { 'v', { "oo:::oo", "oo:::oo", ":oo:oo:", ":oo:oo:", "::ooo::", "::ooo::", ":::o:::" } },
    /* 22 */ { 'w', { "oo:::oo", "oo:::oo", "oo:::oo", "oo:::oo", "oo:o:oo", ":ooooo:", "::o:o::" } },
    /* 23 */ { 'x', { "oo::::o", ":oo::oo", "::oooo:", ":::oo::", "::oooo:", ":oo::oo", "oo::::o" } },
    /* 24 */ { 'y', { "oo::::o", ":oo::oo", "::oooo:", ":::oo::", ":::oo::", ":::oo::", ":::oo::" } },
    /* 25 */ { 'z', { "ooooooo", "::::oo:", ":::oo::", "::oo:::", ":oo::::", "oo:::::", "ooooooo" } },
    /* 26 */ { '0', { ":ooooo:", "oo:::oo", "oo:::oo", ":::::::", "oo:::oo", "oo:::oo", ":ooooo:" } },
    /* 27 */ { '1', { ":::::::", ":::::oo", ":::::oo", ":::::::", ":::::oo", ":::::oo", ":::::::" } },
    /* 28 */ { '2', { ":ooooo:", ":::::oo", ":::::oo", ":ooooo:", "oo:::::", "oo:::::", ":ooooo:" } },
    /* 29 */ { '3', { ":ooooo:", ":::::oo", ":::::oo", ":ooooo:", ":::::oo", ":::::oo", ":ooooo:" } },
    /* 30 */ { '4', { ":::::::", "oo:::oo", "oo:::oo", ":ooooo:", ":::::oo", ":::::oo", ":::::::" } },
    /* 31 */ { '5', { ":ooooo:", "oo:::::", "oo:::::", ":ooooo:", ":::::oo", ":::::oo", ":ooooo:" } },
    /* 32 */ { '6', { ":ooooo:", "oo:::::", "oo:::::", ":ooooo:", "oo:::oo", "oo:::oo", ":ooooo:" } },
    /* 33 */ { '7', { ":ooooo:", ":::::oo", ":::::oo", ":::::::", ":::::oo", ":::::oo", ":::::::" } },
    /* 34 */ { '8', { ":ooooo:", "oo:::oo", "oo:::oo", ":ooooo:", "oo:::oo", "oo:::oo", ":ooooo:" } },
    /* 35 */ { '9', { ":ooooo:", "oo:::oo", "oo:::oo", ":ooooo:", ":::::oo", ":::::oo", ":ooooo:" } },
    /* 36 */ { ':', { ":::::::", ":::::::", ":::o:::", ":::::::", ":::::::", ":::o:::", ":::::::" } },
    /* 37 */ { '!', { ":::oo::", ":::oo::", ":::oo::", ":::oo::", ":::::::", ":::oo::", ":::oo::" } },
    /* 38 */ { '?', { ":oooo::", "::::oo:", "::::oo:", ":::oo::", ":::::::", "::oo:::", "::oo:::" } },
    /* 39 */ { '-', { ":::::::", ":::::::", ":::::::", "::oooo:", ":::::::", ":::::::", ":::::::" } },
    /* 40 */ { '=', { ":::::::", ":::::::", ":::::::", ":ooooo:", ":::::::", ":ooooo:", ":::::::" } },
    /* 41 */ { '+', { ":::::::", ":::o:::", ":::o:::", ":::o:::", ":::o:::", ":::o:::", ":::::::" } },
    /* 42 */ { '[', { "::ooo::", "::o::::", "::o::::", "::o::::", "::o::::", "::o::::", "::ooo::" } },
    /* 43 */ { ']', { "::ooo::", "::::o::", "::::o::", "::::o::", "::::o::", "::::o::", "::ooo::" } },
    /* 44 */ { ' ', { ":::::::", ":::::::", ":::::::", ":::::::", ":::::::", ":::::::", ":::::::" } },
    /* 45 */ { '.', { ":::::::", ":::::::", ":::::::", ":::::::", ":::::::", ":::oo::", ":::oo::" } },
    /* 46 */ { ',', { ":::::::", ":::::::", ":::::::", ":::::::", "::::o::", "::::o::", ":::o:::" } },
    /* 47 */ { '>', { ":o:::::", "::o::::", ":::o:::", "::::o::", ":::o:::", "::o::::", ":o:::::" } },
    /* 48 */ { '<', { "::::o::", ":::o:::", "::o::::", ":o:::::", "::o::::", ":::o:::", "::::o::" } },
    /* 49 */ { '#', { "ooooooo", "ooooooo", "ooooooo", "ooooooo", "ooooooo", "ooooooo", "ooooooo" } },
    /* 50 */ { '\'', { ":::o:::", ":::o:::", "::o::::", ":::::::", ":::::::", ":::::::", ":::::::" } },
    /* 51 */ { '@', { "::ooo::", ":o:::o:", "o::oo:o", "o:o:::o", "o::oooo", ":o:::::", "::oooo:" } },
    /* 52 */ { '/', { "::::::o", ":::::o:", "::::o::", ":::o:::", "::o::::", ":o:::::", "o::::::" } },
    /* 53 */ { '\\', { "o::::::", ":o:::::", "::o::::", ":::o:::", "::::o::", ":::::o:", "::::::o" } },
};

// The glyph every character outside the table draws.
enum { BlankGlyph = 44 };

void PixelFontBuild()
{
    PixelFontFree();
    for (int i = 0; i < PixelFontGlyphs; i++) {
        for (int row = 0; row < PixelFontRows; row++) {
            pixelFont.rows[i][row] = (char*)malloc(8);
            if (pixelFont.rows[i][row])
                memcpy(pixelFont.rows[i][row], PixelGlyphTable[i].rows[row], 8);
        }
    }
    for (int c = 0; c < 256; c++)
        pixelFont.glyphOf[c] = BlankGlyph;
    for (int i = 0; i < PixelFontGlyphs; i++)
        pixelFont.glyphOf[(unsigned char)PixelGlyphTable[i].character] = i;
}

void PixelFontFree()
{
    for (int i = 0; i < PixelFontGlyphs; i++) {
        for (int row = 0; row < PixelFontRows; row++) {
            free(pixelFont.rows[i][row]);
            pixelFont.rows[i][row] = nullptr;
        }
    }
}

// A glyph that would not lie wholly inside the surface is skipped: callers
// keep text inside, and a wrong one must not write outside the pixels.
static void DrawGlyph(Surface* surface, int glyph, int x, int y, uint16_t colour)
{
    if (x < 0 || y < 0 || x + 7 > surface->width || y + 7 > surface->height)
        return;
    for (int row = 0; row < PixelFontRows; row++) {
        const char* cells = pixelFont.rows[glyph][row];
        if (!cells)
            continue;
        for (int column = 0; column < 7; column++)
            if (cells[column] == 'o')
                SurfacePutPixel(surface, x + column, y + row, colour);
    }
}

void PixelFontDrawText(Surface* surface, const char* text, int x, int y, uint16_t colour)
{
    if (!text)
        return;
    if (x == -1)
        x = (surface->width - 8 * (int)strlen(text)) >> 1;
    if (y == -1)
        y = (surface->height - 8) / 2;
    int startX = x;
    for (const char* p = text; *p; p++) {
        unsigned char c = (unsigned char)*p;
        if (c == 10 || c == 13) {
            x = startX;
            y += 9;
        } else {
            if (c >= 'A' && c <= 'Z')
                c = (unsigned char)(c - 'A' + 'a');
            // Codes above 127 are not text characters: they draw as blanks.
            DrawGlyph(surface, c < 128 ? pixelFont.glyphOf[c] : BlankGlyph, x, y, colour);
            x += 8;
        }
        if (x > 230) {
            x = startX;
            if (y < 300)
                y += 9;
        }
    }
}
