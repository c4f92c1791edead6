// The bitmap font. Stand-in: no font is loaded, so nothing is drawn.
#include "gfx/font.h"
#include "platform/sys.h"
#include "platform/win.h"

BitmapFont bitmapFont;

int FontLoad(BitmapFont*, const char*)
{
    SysMessageBox(WindowFocus(), "Error loading font", "Debug", SysBoxOk);
    return 0;
}

void FontDrawText(BitmapFont*, Surface*, int, int, const char*, uint16_t)
{
}

void FontSetAlpha(BitmapFont* font, uint8_t level)
{
    SurfaceSetAlpha(&font->image, level);
}
