// The player's ship and weapons: steering, firing and the player's shots.
#include "game/player.h"
#include "game/world.h"
#include "gfx/particle.h"
#include "platform/gx.h"
#include "platform/sys.h"
#include "sound/cea_sound.h"

const WeaponLevel WeaponTable[10] = {
    // fireInterval maxShots spreadPeriod homingPeriod lockOnAllowed
    { 500, 1, 0, 0, 0 },
    { 500, 2, 0, 0, 0 },
    { 500, 3, 0, 0, 0 },
    { 400, 5, 0, 0, 0 },
    { 400, 5, 0, 20, 0 },
    { 300, 5, 0, 10, 0 },
    { 300, 5, 0, 5, 0 },
    { 250, 5, 20, 5, 0 },
    { 250, 5, 10, 5, 1 },
    { 200, 5, 10, 5, 1 },
};

struct SteerKeyDef {
    int virtualKey;
    float ax, ay;
};

static const SteerKeyDef SteerKeyTable[4] = {
    { KeyUp, 0, -2.0f },
    { KeyDown, 0, 2.0f },
    { KeyLeft, -2.0f, 0 },
    { KeyRight, 2.0f, 0 },
};

struct SpreadDirectionDef {
    double dx, dy;
};

// The diagonals are 0.8, not a unit vector's 0.7071: the spread's corners fly faster.
static const SpreadDirectionDef SpreadDirectionTable[8] = {
    { 1.0, 0.0 },
    { 0.8, 0.8 },
    { 0.0, 1.0 },
    { -0.8, 0.8 },
    { -1.0, 0.0 },
    { -0.8, -0.8 },
    { 0.0, -1.0 },
    { 0.8, -0.8 },
};

enum : uint8_t { ShotPlain = 2, ShotSpread = FlagSpecial | 2, ShotHoming = FlagSpecial | MotionHoming };
enum { LockOnMissiles = 4 };

void ReadSteerKeys(GameWorld* world)
{
    for (const SteerKeyDef& key : SteerKeyTable)
        if (InputKeyState(key.virtualKey) < 0)
            EntityPush(&world->player, key.ax, key.ay);
    EntityUpdate(&world->player, 0);
}

static Entity* FreeShot(GameWorld* world)
{
    for (Entity& shot : world->playerShots)
        if (!shot.active)
            return &shot;
    return nullptr;
}

// Shots start at the top edge of the ship, from its last position even while it is down.
static void PlaceAtMuzzle(const GameWorld* world, Entity* shot)
{
    const Entity* player = &world->player;
    int height = player->image ? player->image->height : 0;
    shot->x = player->x;
    shot->y = (int16_t)(player->y - height / 2);
}

static Entity* FirstActive(Entity* pool, int count)
{
    for (int i = 0; i < count; i++)
        if (pool[i].active)
            return &pool[i];
    return nullptr;
}

static bool LaunchMissile(GameWorld* world, Entity* target)
{
    Entity* shot = FreeShot(world);
    if (!shot)
        return false;
    PlayEffect(SoundHomer);
    PlaceAtMuzzle(world, shot);
    EntityActivate(shot, 1);
    EntitySetTarget(shot, target);
    EntitySetMotion(shot, 0, 0, ShotHoming);
    EntityPush(shot, 0, -10.0f);
    return true;
}

void FireControl(GameWorld* world)
{
    if (world->weaponLevel < 0 || world->weaponLevel > 9)
        return;
    const WeaponLevel* row = &WeaponTable[world->weaponLevel];
    uint32_t now = SysTicks();
    if (now - world->lastFireTick < row->fireInterval)
        return;
    world->lastFireTick = now;
    world->firePresses++;
    if (row->spreadPeriod && world->firePresses % row->spreadPeriod == 0) {
        FireSpreadShot(world);
        return;
    }
    if (row->homingPeriod && world->firePresses % row->homingPeriod == 0 && FireHomingMissile(world))
        return;
    if (world->plainShots < row->maxShots)
        FirePlainShot(world);
}

bool FirePlainShot(GameWorld* world)
{
    if (!world->player.active)
        return false;
    Entity* shot = FreeShot(world);
    if (!shot)
        return false;
    PlayEffect(SoundFire);
    PlaceAtMuzzle(world, shot);
    EntityActivate(shot, 1);
    EntitySetMotion(shot, 0, 0, ShotPlain);
    EntityPush(shot, 0, -10.0f);
    world->plainShots++;
    return true;
}

bool FireHomingMissile(GameWorld* world)
{
    // Ground targets first; the boss is never one.
    Entity* target = FirstActive(world->turrets, 6);
    if (!target)
        target = FirstActive(world->enemies, 12);
    if (!target)
        return false;
    return LaunchMissile(world, target);
}

bool FireSpreadShot(GameWorld* world)
{
    for (const SpreadDirectionDef& direction : SpreadDirectionTable) {
        Entity* shot = FreeShot(world);
        if (!shot)
            continue;
        PlayEffect(SoundFire);
        PlaceAtMuzzle(world, shot);
        EntityActivate(shot, 1);
        EntitySetMotion(shot, 0, 0, ShotSpread);
        EntityPush(shot, (float)(direction.dx * 6.0), (float)(direction.dy * 6.0));
    }
    return true;
}

// One missile per active entity of the pool, while slots last; the count goes on from launched.
static void LockOnPool(GameWorld* world, Entity* pool, int count, int* launched)
{
    for (int i = 0; i < count && *launched < LockOnMissiles; i++)
        if (pool[i].active && LaunchMissile(world, &pool[i]))
            (*launched)++;
}

void LaunchLockOn(GameWorld* world)
{
    int launched = 0;
    LockOnPool(world, world->enemies, 12, &launched);
    // Any ship on screen keeps the turrets out of it, even one no slot was left for.
    if (FirstActive(world->enemies, 12))
        return;
    LockOnPool(world, world->turrets, 6, &launched);
}

void UpdatePlayerShots(GameWorld* world)
{
    for (Entity& shot : world->playerShots) {
        if (!shot.active)
            continue;
        bool plain = shot.motion < FlagSpecial;
        if (plain ? shot.step % 2 == 0 : shot.step % 10 == 0)
            SpawnParticle(&particleSystem, 0, shot.x, shot.y, 0, 0, 0, 0, 360.0f, 0);
        EntityUpdate(&shot, 1);
        if (!shot.active && plain)
            world->plainShots--;
    }
}

void DrawPlayerShots(GameWorld* world)
{
    SurfaceSetAlpha(&particleSystem.images[ParticleFlare], 255);
    Particle glow = {};
    glow.image = ParticleFlare;
    for (Entity& shot : world->playerShots) {
        if (!shot.active)
            continue;
        if (shot.motion >= FlagSpecial) {
            glow.startColour = { 255, 255, 255, 255 };
            glow.endColour = { 255, 0, 0, 255 };
            GlowBlit(&particleSystem, &world->backBuffer, shot.x - 12, shot.y - 12, 24, 24, &glow);
        } else {
            glow.startColour = { 255, 255, 255, 255 };
            glow.endColour = { 255, 255, 0, 0 };
            GlowBlit(&particleSystem, &world->backBuffer, shot.x - 8, shot.y - 16, 16, 32, &glow);
        }
        // The shots' frame counter moves here, so the trails follow the drawn frames.
        shot.step++;
    }
}
