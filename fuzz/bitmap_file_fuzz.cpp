// Fuzz target: a BMP file read from disk by the file loader.
#include "fuzz/fuzz.h"
#include "gfx/bitmap.h"

#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::string path = FuzzScratchPath("image.bmp");
    if (!FuzzWriteFile(path, data, size))
        return 0;
    PixelFormatSelect(0xA0);
    Surface surface;
    if (LoadBitmapFile(&surface, path.c_str()))
        FuzzTouchPixels(&surface);
    SurfaceRelease(&surface);
    FuzzForgetBoxes();
    return 0;
}
