// Fuzz target: a bitmap resource (info header, palette, rows) found through the resource lookup.
#include "fuzz/fuzz.h"
#include "gfx/bitmap.h"
#include "platform/res.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > UINT32_MAX)
        return 0;
    PixelFormatSelect(0xA0);
    ResourceRegisterClear();
    ResourceRegister(L"FUZZ", data, (uint32_t)size);
    Surface surface;
    if (LoadBitmapResource(&surface, nullptr, L"FUZZ"))
        FuzzTouchPixels(&surface);
    SurfaceRelease(&surface);
    ResourceRegisterClear();
    return 0;
}
