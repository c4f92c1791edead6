// Fades. Stand-in: the picture is shown once, unfaded.
#include "gfx/fade.h"
#include "app/display.h"

int FadeOut(Surface* surface, uint16_t, int)
{
    Present(surface);
    return 1;
}

int FadeIn(Surface* surface, uint16_t, int)
{
    Present(surface);
    return 1;
}
