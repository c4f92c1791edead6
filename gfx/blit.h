// The clipped blitter with its blend modes, the two blend functions, darkening and tiling.
#pragma once
#include "gfx/surface.h"

enum : uint8_t {
    BlitCopy = 0,
    BlitKeyed = 1,
    BlitAlpha = 2,
    BlitKeyedAlpha = 3,
    BlitScreen = 4,
    BlitKeyedScreen = 5,
    BlitKeyedFill = 8,
};

// Copies the w x h rectangle at (sx, sy) of source to (dx, dy) of destination,
// clipped to the destination only. Returns 0 when nothing is left to draw, and
// draws nothing when the clipped rectangle does not lie inside the source.
// Modes other than those above draw nothing but still return 1.
int Blit(Surface* destination, int32_t dx, int32_t dy, int32_t w, int32_t h,
         const Surface* source, int32_t sx, int32_t sy, uint8_t mode);

uint16_t BlendAlpha(uint16_t d, uint16_t s, int level);
uint16_t BlendScreen(uint16_t d, uint16_t s, int level);

// Moves columns x1 to x2 - 1 of rows y1 to y2 - 1 toward black by level / 255.
void ShadeRect(Surface* surface, int x1, int y1, int x2, int y2, int level);

// Covers the destination with copies of the tile from its top-left corner.
int BlitTile(Surface* destination, const Surface* tile);
