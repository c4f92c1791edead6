// Backgrounds and titles shared by the front-end screens.
#include "ui/screen.h"
#include "gfx/pixelfont.h"
#include "gfx/surface.h"

void ScreenSetBackground(Surface* screen, const Surface* picture)
{
    if (!picture->pixels || picture->width != screen->width || picture->height != screen->height)
        return;
    SurfaceCopy(screen, picture);
}

void ScreenDrawTitle(Surface* screen, const char* title, int x, int y)
{
    PixelFontDrawText(screen, title, x + 1, y + 1, MakeColour(255, 255, 255));
    PixelFontDrawText(screen, title, x, y, MakeColour(0, 0, 0));
}
