// Bitmap loading: BMP files and bitmap resources decoded into native surfaces.
#include "gfx/bitmap.h"
#include "platform/res.h"
#include "platform/sys.h"
#include "platform/win.h"

#include <cstdio>
#include <cstdlib>

static uint32_t ReadU16(const uint8_t* p)
{
    return (uint32_t)p[0] | (uint32_t)p[1] << 8;
}

static uint32_t ReadU32(const uint8_t* p)
{
    return ReadU16(p) | ReadU16(p + 2) << 16;
}

uint32_t ColourCount(const uint8_t* infoHeader)
{
    uint32_t used = ReadU32(infoHeader + 32);
    if (ReadU32(infoHeader) == 40 && used != 0)
        return used & 0xFFFF;
    switch (ReadU16(infoHeader + 14)) {
    case 1:
        return 2;
    case 4:
        return 16;
    case 8:
        return 256;
    default:
        return 0;
    }
}

// A device-independent bitmap whose header, palette and rows have been
// checked against the bytes that hold them.
struct Dib {
    int32_t width, height;
    int bits;
    uint32_t colours;
    const uint8_t* palette;
    const uint8_t* rows;   // the bottom row first
    size_t stride;
};

// The palette index of pixel x of a row, for 1, 4 and 8 bits.
static uint32_t DibIndex(const uint8_t* row, int bits, int32_t x)
{
    if (bits == 1)
        return (row[x / 8] >> (7 - x % 8)) & 1;
    if (bits == 4)
        return x % 2 ? row[x / 2] & 15 : row[x / 2] >> 4;
    return row[x];
}

// Reads the info header at data and checks everything the conversion will
// touch: the 40-byte header, no compression, a depth of 1, 4, 8, 16, 24 or
// 32 bits, a positive size (rows stored bottom-up), palette and rows within
// size bytes, and every palette index within the palette.
static int DibRead(const uint8_t* data, size_t size, Dib* dib)
{
    if (!data || size < 40 || ReadU32(data) != 40 || ReadU32(data + 16) != 0)
        return 0;
    dib->width = (int32_t)ReadU32(data + 4);
    dib->height = (int32_t)ReadU32(data + 8);
    dib->bits = (int)ReadU16(data + 14);
    if (dib->width <= 0 || dib->height <= 0)
        return 0;
    int bits = dib->bits;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        return 0;
    dib->colours = ColourCount(data);
    uint64_t stride = ((uint64_t)bits * (uint64_t)dib->width + 31) / 32 * 4;
    uint64_t rowsAt = 40 + (uint64_t)dib->colours * 4;
    if (rowsAt + stride * (uint64_t)dib->height > size)
        return 0;
    dib->palette = data + 40;
    dib->rows = data + rowsAt;
    dib->stride = (size_t)stride;
    if (bits <= 8 && dib->colours < (1u << bits)) {
        for (int32_t y = 0; y < dib->height; y++)
            for (int32_t x = 0; x < dib->width; x++)
                if (DibIndex(dib->rows + (size_t)y * dib->stride, bits, x) >= dib->colours)
                    return 0;
    }
    return 1;
}

// Writes the image into a surface already created at its size, top row first.
static void DibConvert(const Dib* dib, Surface* surface)
{
    for (int32_t y = 0; y < dib->height; y++) {
        const uint8_t* row = dib->rows + (size_t)(dib->height - 1 - y) * dib->stride;
        for (int32_t x = 0; x < dib->width; x++) {
            int red, green, blue;
            if (dib->bits <= 8) {
                const uint8_t* entry = dib->palette + 4 * DibIndex(row, dib->bits, x);
                blue = entry[0];
                green = entry[1];
                red = entry[2];
            } else if (dib->bits == 16) {
                uint32_t p = ReadU16(row + 2 * x);
                red = (int)((p >> 10) & 31) << 3;
                green = (int)((p >> 5) & 31) << 3;
                blue = (int)(p & 31) << 3;
            } else {
                const uint8_t* p = row + (size_t)x * (size_t)(dib->bits / 8);
                blue = p[0];
                green = p[1];
                red = p[2];
            }
            SurfacePutPixel(surface, x, y, MakeColour(red, green, blue));
        }
    }
}

// The whole file after its 14-byte header, in a buffer of its own (zero-filled
// past what could be read), or null when it cannot be read.
static uint8_t* ReadAfterFileHeader(FILE* file, size_t* size)
{
    if (fseek(file, 0, SEEK_END) != 0)
        return nullptr;
    long length = ftell(file);
    // More than any surface can hold is not a bitmap of this program.
    if (length < 14 + 40 || length > (1L << 28) || fseek(file, 14, SEEK_SET) != 0)
        return nullptr;
    *size = (size_t)length - 14;
    uint8_t* data = (uint8_t*)calloc(*size, 1);
    if (data && fread(data, 1, *size, file) != *size) {
        free(data);
        return nullptr;
    }
    return data;
}

// A null or empty path and a file that does not open fail silently: the
// callers say which image is missing. A file that opens but is not a bitmap
// this loader reads (short, an unknown header, compressed, top-down, a bad
// size, a small palette, data or indices that do not match its header) shows
// "LoadBMP Failed". Files must carry a full 256-entry palette if they have one.
int LoadBitmapFile(Surface* surface, const char* path)
{
    if (!path || !*path)
        return 0;
    FILE* file = fopen(path, "rb");
    if (!file)
        return 0;
    size_t size = 0;
    uint8_t* data = ReadAfterFileHeader(file, &size);
    Dib dib;
    int loaded = data && DibRead(data, size, &dib) && (dib.colours == 0 || dib.colours > 255) &&
                 SurfaceCreate(surface, dib.width, dib.height);
    if (loaded)
        DibConvert(&dib, surface);
    else
        SysMessageBox(WindowFocus(), "LoadBMP Failed", "Debug", SysBoxOk);
    free(data);
    fclose(file);
    return loaded;
}

// Resources are read in place and fail silently: their callers report them.
int LoadBitmapResource(Surface* surface, Module* module, const wchar_t* name)
{
    if (!name)
        return 0;
    uint32_t size = 0;
    const uint8_t* data = ResourceFindBitmap(module, name, &size);
    Dib dib;
    if (!data || !DibRead(data, size, &dib) || !SurfaceCreate(surface, dib.width, dib.height))
        return 0;
    DibConvert(&dib, surface);
    return 1;
}
