// Bosses: the boss table, and the boss's flight, emitter, fire and drawing with its parts cut out.
#include "game/boss.h"
#include "app/random.h"
#include "game/enemy.h"
#include "game/world.h"
#include "gfx/blit.h"
#include "gfx/particle.h"


const BossDef BossTable[4] = {
    { &satelite1Image, &satelite2Image, 3,
      { { 21, 59, 34, 74 }, { 66, 55, 87, 66 }, { 118, 59, 134, 75 } },
      { { 0, 23, 34, 74 }, { 63, 38, 102, 66 }, { 118, 31, 150, 75 } },
      5, 1, 81, 49 },
    { &tentacle1Image, &tentacle2Image, 4,
      { { 10, 50, 20, 60 }, { 65, 45, 75, 55 }, { 82, 45, 92, 55 }, { 136, 50, 146, 60 } },
      { { 0, 35, 30, 65 }, { 55, 20, 78, 62 }, { 78, 20, 98, 62 }, { 125, 33, 155, 62 } },
      5, 0, 0, 0 },
    { &eye1Image, &eye2Image, 4,
      { { 10, 22, 28, 45 }, { 30, 25, 50, 52 }, { 108, 25, 128, 52 }, { 128, 22, 148, 45 } },
      { { 10, 0, 28, 79 }, { 30, 0, 50, 79 }, { 108, 0, 128, 79 }, { 128, 0, 148, 79 } },
      5, 0, 0, 0 },
    { &poo1Image, &poo2Image, 4,
      { { 1, 30, 13, 42 }, { 20, 41, 42, 53 }, { 130, 43, 142, 55 }, { 144, 30, 156, 42 } },
      { { 1, 0, 15, 76 }, { 20, 0, 36, 76 }, { 125, 0, 142, 76 }, { 143, 0, 158, 76 } },
      5, 0, 0, 0 },
};

// The emitters a boss row can carry: E1 a fountain of sparks every 10 frames, E2 a puff of smoke every 50.
static const EffectParams bossSparks = { 0.5f, 0.2f, 1.0f, 0.5f, 8.0f, 0, 0.0f, 90.0f, 0.0f, 0 };
static const EffectParams bossSmoke = { 0.25f, -0.1f, 5.0f, 0.5f, 80.0f, 0, 90.0f, 10.0f, 0.0f, 0 };

enum {
    EmitterNone = 0,
    EmitterSparks = 1,
    EmitterSmoke = 2,
    SparksKind = 7,
    SmokeKind = 6,
    SparksPeriod = 10,
    SmokePeriod = 50,
    FireChance = 20,
    // Four slots are drawn for, whatever the row's part count.
    FireSlots = 4,
};

// The boss image's top-left on screen.
static void BossOrigin(const GameWorld* world, const BossDef* def, int* bx, int* by)
{
    *bx = world->boss.x - def->image->width / 2;
    *by = world->boss.y - def->image->height / 2;
}

void UpdateBoss(GameWorld* world)
{
    if (!world->bossActive)
        return;
    Entity* boss = &world->boss;
    const BossDef* def = &BossTable[world->bossKind % 4];
    if (world->bossDestroyed) {
        // The wreck rises off the top; the wave ends once its bottom edge is gone.
        boss->y--;
        if (def->image->height + boss->y <= 0) {
            world->bossActive = 0;
            EntityActivate(boss, 0);
        }
    } else {
        int x, y;
        if (FlightPathNextPoint(&world->path, &x, &y, &boss->step, &boss->loops))
            EntitySetPosition(boss, x, y);
    }

    // The emitter and the fire roll run for the wreck too: its step no longer
    // advances, and none of its parts has hit points left to fire from.
    int bx, by;
    BossOrigin(world, def, &bx, &by);
    if (def->emitterKind == EmitterSparks && boss->step % SparksPeriod == 1)
        SpawnEffect(&particleSystem, SparksKind, bx + def->emitX, by + def->emitY, &bossSparks);
    else if (def->emitterKind == EmitterSmoke && boss->step % SmokePeriod == 1)
        SpawnEffect(&particleSystem, SmokeKind, bx + def->emitX, by + def->emitY, &bossSmoke);

    if (RandomNext() % FireChance != 1)
        return;
    int k = RandomNext() % FireSlots;
    if (k >= def->partCount || !world->partHits[k])
        return;
    const BossRect& r = def->hitRects[k];
    Entity muzzle = {};
    muzzle.x = (int16_t)(bx + r.left + (r.right - r.left) / 2);
    muzzle.y = (int16_t)(by + r.top + (r.bottom - r.top) / 2);
    FireEnemyShot(world, &muzzle);
}

// A part's area clipped to the image: the rectangle to cut out and to take from the wreck.
static bool PartArea(const BossRect& r, const Surface* image, BossRect* out)
{
    out->left = r.left < 0 ? 0 : r.left;
    out->top = r.top < 0 ? 0 : r.top;
    out->right = r.right > image->width ? image->width : r.right;
    out->bottom = r.bottom > image->height ? image->height : r.bottom;
    return out->left < out->right && out->top < out->bottom;
}

void DrawBoss(GameWorld* world)
{
    Entity* boss = &world->boss;
    if (!boss->active)
        return;
    const BossDef* def = &BossTable[world->bossKind % 4];
    const Surface* image = def->image;
    const Surface* wreck = def->damagedImage;
    if (!image->pixels)
        return;
    int bx, by;
    BossOrigin(world, def, &bx, &by);
    Surface* frame = &world->backBuffer;
    if (world->bossDestroyed) {
        Blit(frame, bx, by, wreck->width, wreck->height, wreck, 0, 0, BlitKeyed);
        return;
    }

    // Destroyed parts are cut out of a working copy of the whole boss, and the
    // wreck's art drawn in their place. The copy lives for this frame only.
    Surface copy;
    if (!SurfaceCopy(&copy, image))
        return;
    SurfaceSetColourKey(&copy, image->pixels[0]);
    for (int k = 0; k < def->partCount; k++) {
        BossRect area;
        if (!world->partHits[k] && PartArea(def->damageRects[k], &copy, &area))
            SurfaceFillRect(&copy, area.left, area.top, area.right, area.bottom, copy.colourKey);
    }
    Blit(frame, bx, by, copy.width, copy.height, &copy, 0, 0, BlitKeyed);
    for (int k = 0; k < def->partCount; k++) {
        BossRect area;
        if (!world->partHits[k] && PartArea(def->damageRects[k], wreck, &area))
            Blit(frame, bx + area.left, by + area.top, area.right - area.left, area.bottom - area.top, wreck,
                 area.left, area.top, BlitKeyed);
    }
    SurfaceRelease(&copy);
}
