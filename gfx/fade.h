// Fades: the back buffer blended step by step to or from a solid colour, each step shown.
#pragma once
#include "gfx/surface.h"

int FadeOut(Surface* surface, uint16_t colour, int step);
int FadeIn(Surface* surface, uint16_t colour, int step);
