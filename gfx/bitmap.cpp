// Bitmap loading. Stand-in: every load fails as a missing file would.
#include "gfx/bitmap.h"

int LoadBitmapFile(Surface*, const char*)
{
    return 0;
}

int LoadBitmapResource(Surface*, Module*, const wchar_t*)
{
    return 0;
}

uint32_t ColourCount(const uint8_t*)
{
    return 0;
}
