// Collisions, scoring and pick-ups: every contact of a frame, the explosions and the dropped pick-ups.
#include "game/collide.h"
#include "app/random.h"
#include "game/boss.h"
#include "game/world.h"
#include "gfx/particle.h"
#include "platform/sys.h"
#include "sound/cea_sound.h"


struct EffectDef {
    int kind;
    EffectParams params;
};

enum {
    EffectBigSmoke,
    EffectBigFire,
    EffectBigSparks,
    EffectSmallSmoke,
    EffectSmallSparks,
    EffectPowerUp,
    EffectExtraLife,
};

// The big fire's end brings the player's ship back (EffectReportEnd).
static const EffectDef EffectTable[7] = {
    //  kind  duration gravity speed speedVar rate  jitter angle  angleVar spin  flags
    { 6, { 0.1f, 0.0f, 1.5f, 0.75f, 25.0f, 0, 0.0f, 360.0f, 0.0f, 0 } },                 // big smoke
    { 5, { 0.1f, 0.0f, 1.0f, 0.0f, 100.0f, 25, 0.0f, 360.0f, 0.0f, EffectReportEnd } },  // big fire
    { 7, { 0.1f, 0.1f, 2.0f, 0.75f, 50.0f, 0, 0.0f, 360.0f, 0.0f, 0 } },                 // big sparks
    { 6, { 0.5f, 0.0f, 1.0f, 0.75f, 3.0f, 0, 0.0f, 360.0f, 0.0f, 0 } },                  // small smoke
    { 7, { 0.2f, 0.1f, 1.0f, 0.75f, 30.0f, 0, 0.0f, 360.0f, 0.0f, 0 } },                 // small sparks
    { 7, { 0.5f, 0.0f, 2.0f, 0.5f, 40.0f, 255, 0.0f, 360.0f, 0.0f, 0 } },                // power-up
    { 8, { 0.5f, 0.1f, 3.0f, 0.5f, 40.0f, 0, 30.0f, 270.0f, 0.0f, 0 } },                 // extra life
};

enum : uint8_t { PickUpPowerUp = FlagPowerUp | 2, PickUpExtraLife = FlagExtraLife | 2 };

enum {
    ScoreShip = 10,
    ScoreTurretHit = 100,
    ScoreBossPart = 10,
    ScoreBoss = 1000,
    ScoreSparePowerUp = 100,
    ScoreSpareLife = 1000,
};

enum { ShotGraceMs = 5000, RamGraceMs = 3000, MaxLives = 5, ExtraLifeBelow = 3, MaxWeaponLevel = 9 };

static void StartEffect(int effect, int x, int y)
{
    const EffectDef* def = &EffectTable[effect];
    SpawnEffect(&particleSystem, def->kind, x, y, &def->params);
}

// The image centred on the entity, halved by shifting; its edges are inside.
static bool InBox(const Entity* box, int x, int y)
{
    int halfW = box->image ? box->image->width >> 1 : 0;
    int halfH = box->image ? box->image->height >> 1 : 0;
    return x >= box->x - halfW && x <= box->x + halfW && y >= box->y - halfH && y <= box->y + halfH;
}

static bool IsPlain(const Entity* shot)
{
    return shot->motion < FlagSpecial;
}

static void DestroyPlayer(GameWorld* world)
{
    BigExplosion(world, world->player.x, world->player.y, SoundDie);
    world->player.active = 0;
    world->weaponLevel = 0;
    world->lastDeathTick = SysTicks();
    if (world->lives)
        world->lives--;
}

static void CatchPickUp(GameWorld* world, Entity* item)
{
    Entity* player = &world->player;
    if (item->motion & FlagHostile) {
        // Within the grace period the shot flies on through the ship.
        if (SysTicks() - world->lastDeathTick <= ShotGraceMs)
            return;
        item->active = 0;
        world->weaponLevel -= 5;
        if (world->weaponLevel < 0)
            DestroyPlayer(world);
        else
            SmallExplosion(world, player->x, player->y, SoundDie);
    } else if (item->motion & FlagPowerUp) {
        PlayEffect(SoundPowerUp);
        item->active = 0;
        StartEffect(EffectPowerUp, player->x, player->y);
        if (world->weaponLevel < MaxWeaponLevel)
            world->weaponLevel++;
        else
            world->score += ScoreSparePowerUp;
    } else if (item->motion & FlagExtraLife) {
        PlayEffect(SoundPowerUp);
        item->active = 0;
        StartEffect(EffectExtraLife, player->x, player->y);
        if (world->lives >= MaxLives)
            world->score += ScoreSpareLife;
        else
            world->lives++;
    }
}

static void ResolvePlayerContacts(GameWorld* world)
{
    Entity* player = &world->player;
    for (Entity& item : world->enemyShots) {
        if (item.active && InBox(player, item.x, item.y)) {
            CatchPickUp(world, &item);
            break;
        }
    }
    if (SysTicks() - world->lastDeathTick <= RamGraceMs)
        return;
    for (Entity& ship : world->enemies) {
        if (ship.active && InBox(player, ship.x, ship.y)) {
            // A ram ignores the shield and scores nothing.
            DestroyPlayer(world);
            ship.active = 0;
            world->enemiesAlive--;
            world->enemiesLeft--;
            return;
        }
    }
}

static bool HitShip(GameWorld* world, Entity* shot)
{
    for (Entity& ship : world->enemies) {
        if (!ship.active || !InBox(&ship, shot->x, shot->y))
            continue;
        // Every hit rolls for a power-up, before anything else happens.
        int r = RandomNext();
        if (r % 5 == 1)
            SpawnPowerUp(world, ship.x, ship.y);
        shot->active = 0;
        if (EntityDamage(&ship)) {
            ship.active = 0;
            world->enemiesAlive--;
            world->enemiesLeft--;
            world->score += ScoreShip;
        }
        if (IsPlain(shot))
            world->plainShots--;
        SmallExplosion(world, ship.x, ship.y, SoundDie);
        return true;
    }
    return false;
}

static bool HitTurret(GameWorld* world, Entity* shot)
{
    for (Entity& turret : world->turrets) {
        if (!turret.active || !InBox(&turret, shot->x, shot->y))
            continue;
        shot->active = 0;
        if (EntityDamage(&turret)) {
            turret.active = 0;
            BigExplosion(world, turret.x, turret.y, SoundDie);
            // The roll is made whatever the lives.
            int r = RandomNext();
            if (r % 5 == 1 && world->lives < ExtraLifeBelow)
                SpawnExtraLife(world, turret.x, turret.y);
        } else {
            SmallExplosion(world, turret.x, turret.y, SoundMetal);
        }
        if (IsPlain(shot))
            world->plainShots--;
        world->score += ScoreTurretHit;
        return true;
    }
    return false;
}

static void ResolveBossHits(GameWorld* world)
{
    if (world->bossKind >= 4)
        return;
    const BossDef* def = &BossTable[world->bossKind];
    int partCount = def->partCount < 0 ? 0 : def->partCount > BossPartSlots ? BossPartSlots : def->partCount;
    int w = def->image ? def->image->width : 0;
    int h = def->image ? def->image->height : 0;
    int bx = world->boss.x - w / 2;
    int by = world->boss.y - h / 2;
    // Set by the first shot that sees a part standing and kept for the whole pass,
    // so a last part that falls to a later shot is noticed on a later frame.
    bool standing = false;
    for (Entity& shot : world->playerShots) {
        if (!shot.active)
            continue;
        for (int k = 0; k < partCount; k++) {
            const BossRect* r = &def->hitRects[k];
            if (shot.x < r->left + bx || shot.x > r->right + bx || shot.y < r->top + by ||
                shot.y > r->bottom + by || !world->partHits[k])
                continue;
            world->partHits[k]--;
            shot.active = 0;
            if (IsPlain(&shot))
                world->plainShots--;
            world->score += ScoreBossPart;
            int cx = r->left + (r->right - r->left) / 2 + bx;
            int cy = r->top + (r->bottom - r->top) / 2 + by;
            SmallExplosion(world, cx, cy, SoundDie);
            if (!world->partHits[k])
                SpawnPowerUp(world, cx, cy);
            break;
        }
        for (int k = 0; k < partCount; k++)
            if (world->partHits[k])
                standing = true;
        if (!standing) {
            world->bossDestroyed = 1;
            world->score += ScoreBoss;
            BigExplosion(world, world->boss.x, world->boss.y, SoundDie);
            return;
        }
    }
}

void ResolveCollisions(GameWorld* world)
{
    if (world->player.active)
        ResolvePlayerContacts(world);
    for (Entity& shot : world->playerShots)
        if (shot.active && !HitShip(world, &shot))
            HitTurret(world, &shot);
    if (world->bossActive && !world->bossDestroyed)
        ResolveBossHits(world);
}

void BigExplosion(GameWorld*, int x, int y, int sound)
{
    StartEffect(EffectBigSmoke, x, y);
    StartEffect(EffectBigFire, x, y);
    StartEffect(EffectBigSparks, x, y);
    PlayEffect(sound);
}

void SmallExplosion(GameWorld*, int x, int y, int sound)
{
    StartEffect(EffectSmallSmoke, x, y);
    StartEffect(EffectSmallSparks, x, y);
    PlayEffect(sound);
}

static bool SpawnPickUp(GameWorld* world, int x, int y, uint8_t motion)
{
    for (Entity& item : world->enemyShots) {
        if (item.active)
            continue;
        EntitySetPosition(&item, x, y);
        EntityActivate(&item, 1);
        EntitySetMotion(&item, 0, 0, motion);
        EntityPush(&item, 0, 3.0f);
        return true;
    }
    return false;
}

bool SpawnPowerUp(GameWorld* world, int x, int y)
{
    return SpawnPickUp(world, x, y, PickUpPowerUp);
}

bool SpawnExtraLife(GameWorld* world, int x, int y)
{
    return SpawnPickUp(world, x, y, PickUpExtraLife);
}
