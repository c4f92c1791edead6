// The bitmap font: a glyph strip with a widths file, each glyph drawn in one colour by keyed fill.
#include "gfx/font.h"
#include "gfx/bitmap.h"
#include "gfx/blit.h"
#include "platform/sys.h"
#include "platform/win.h"

#include <cstdio>
#include <cstring>

BitmapFont bitmapFont;

// The widths file: the path with everything from its last "." replaced by
// ".INF"; a path without a "." is used as it is. 0 when it does not fit.
static int WidthsPath(const char* path, char* out, size_t capacity)
{
    size_t length = strlen(path);
    if (length + 5 > capacity)
        return 0;
    memcpy(out, path, length + 1);
    char* dot = strrchr(out, '.');
    if (dot)
        memcpy(dot, ".INF", 5);
    return 1;
}

int FontLoad(BitmapFont* font, const char* path)
{
    if (!LoadBitmapFile(&font->image, path)) {
        SysMessageBox(WindowFocus(), "Error loading font", "Debug", SysBoxOk);
        return 0;
    }
    SurfaceSetColourKey(&font->image, font->image.pixels[0]);
    SurfaceSetAlpha(&font->image, 255);

    // Without a widths file the strip has no glyphs, whatever was loaded before.
    memset(font->glyphX, 0, sizeof font->glyphX);
    memset(font->glyphWidth, 0, sizeof font->glyphWidth);
    font->glyphCount = 0;
    char widthsPath[512];
    FILE* file = WidthsPath(path, widthsPath, sizeof widthsPath) ? fopen(widthsPath, "rb") : nullptr;
    if (!file)
        return 0;
    uint8_t header[2] = { 0, 0 };
    size_t headerRead = fread(header, 1, 2, file);
    font->glyphHeight = header[1];
    // A file that ends before its count says keeps the records it has; the
    // count then says how many were read.
    int count = headerRead == 2 ? header[0] : 0;
    int x = 0, read = 0;
    uint8_t record[2];
    while (read < count && fread(record, 1, 2, file) == 2) {
        font->glyphX[record[0]] = (int16_t)x;
        font->glyphWidth[record[0]] = record[1];
        x += record[1];
        read++;
    }
    font->glyphCount = (uint8_t)read;
    fclose(file);
    return headerRead == 2;
}

// Codes outside 1-127 are not font characters: they are drawn as absent.
static int GlyphWidth(const BitmapFont* font, unsigned char c)
{
    return c < 128 ? font->glyphWidth[c] : 0;
}

void FontDrawText(BitmapFont* font, Surface* destination, int x, int y, const char* text, uint16_t colour)
{
    if (!text)
        return;
    if (x == -1) {
        int width = 0;
        for (const char* p = text; *p; p++)
            width += GlyphWidth(font, (unsigned char)*p);
        x = (240 - width) >> 1;
    }
    destination->textColour = colour;
    int advance = 0;
    for (const char* p = text; *p; p++) {
        unsigned char c = (unsigned char)*p;
        int width = GlyphWidth(font, c);
        if (!width)
            continue;
        Blit(destination, x + advance, y, width, font->glyphHeight, &font->image, font->glyphX[c], 0, BlitKeyedFill);
        advance += width;
    }
}

void FontSetAlpha(BitmapFont* font, uint8_t level)
{
    SurfaceSetAlpha(&font->image, level);
}
