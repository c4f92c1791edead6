// The head-up display: score and stage at the top, lock-on icon, lives and the weapon bar at the bottom.
#include "game/hud.h"
#include "game/world.h"
#include "gfx/blit.h"
#include "gfx/font.h"

#include <cstdio>

struct WeaponBarDef {
    uint8_t red, green, blue;
};

// One colour per segment, green through yellow to red.
static const WeaponBarDef WeaponBarTable[10] = {
    { 0, 255, 0 },
    { 64, 255, 0 },
    { 128, 255, 0 },
    { 192, 255, 0 },
    { 255, 255, 0 },
    { 255, 255, 0 },
    { 255, 192, 0 },
    { 255, 128, 0 },
    { 255, 64, 0 },
    { 255, 0, 0 },
};

static void BlitWhole(Surface* destination, int x, int y, const Surface* image)
{
    Blit(destination, x, y, image->width, image->height, image, 0, 0, BlitKeyed);
}

void DrawHud(GameWorld* world)
{
    Surface* frame = &world->backBuffer;
    if (!frame->pixels)   // no display: the unclipped fills below must not run
        return;
    char text[64];
    snprintf(text, sizeof text, "SCORE:%06d  STAGE:%02d", (int)world->score, (int)world->stageNumber + 1);
    FontSetAlpha(&bitmapFont, 255);
    FontDrawText(&bitmapFont, frame, -1, 0, text, MakeColour(255, 255, 0));

    if (world->weaponLevel >= 8)
        BlitWhole(frame, 21, 290, &lockOnImage);
    for (uint32_t i = 0; i < world->lives && i < 16; i++)   // past 16 an icon is off the screen
        BlitWhole(frame, 204 - 16 * (int)i, 290, &lifeImage);

    SurfaceFillRect(frame, 19, 309, 221, 316, MakeColour(0, 0, 0));
    uint16_t grey = MakeColour(128, 128, 128);
    for (int i = 0; i < 10; i++) {
        // A lit segment sits one pixel right of an unlit one; segment 0 is always lit.
        if (i <= world->weaponLevel) {
            const WeaponBarDef& c = WeaponBarTable[i];
            SurfaceFillRect(frame, 21 + 20 * i, 310, 39 + 20 * i, 314, MakeColour(c.red, c.green, c.blue));
        } else {
            SurfaceFillRect(frame, 20 + 20 * i, 310, 38 + 20 * i, 314, grey);
        }
    }
}
