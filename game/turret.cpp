// Ground turrets: spawned along the top edge, scrolled down with the ground, firing four-way volleys.
#include "game/turret.h"
#include "game/world.h"
#include "gfx/particle.h"
#include "sound/cea_sound.h"

#include <cstdlib>

enum {
    TurretMotion = 2,
    TurretHitPoints = 5,
    TurretShotMotion = 138,
    // A turret down to this many hit points neither fires nor blinks.
    TurretSilencedHits = 2,
    BlinkPeriod = 10,
    BlinkOnFrames = 3,
};

// The four directions of a volley, in the order they are fired: right, down, left, up.
struct VolleyDef {
    int dx, dy;
};
static const double TurretShotSpeed = 5.0;

static const VolleyDef VolleyTable[4] = {
    { 1, 0 },
    { 0, 1 },
    { -1, 0 },
    { 0, -1 },
};

static Entity* FirstFree(Entity* pool, int count)
{
    for (int i = 0; i < count; i++)
        if (!pool[i].active)
            return &pool[i];
    return nullptr;
}

void SpawnTurret(GameWorld* world)
{
    Entity* turret = FirstFree(world->turrets, 6);
    if (!turret)
        return;
    EntityActivate(turret, 1);
    EntityPlaceRandom(turret, 10, 0, 230, 0);
    EntitySetMotion(turret, 0, 0, TurretMotion);
    EntityPush(turret, 0, 1.0f);
    turret->hits = TurretHitPoints;
}

void UpdateTurrets(GameWorld* world)
{
    for (Entity& turret : world->turrets) {
        if (!turret.active)
            continue;
        EntityUpdate(&turret, 1);
        // Tested on the frame the turret leaves the screen too. A world with no
        // firing period (no wave started yet) has turrets that never fire.
        if (turret.hits > TurretSilencedHits && world->turretFirePeriod &&
            turret.step % world->turretFirePeriod == 0)
            FireTurretVolley(world, turret.x, turret.y);
    }
}

void DrawTurrets(GameWorld* world)
{
    for (Entity& turret : world->turrets) {
        if (!turret.active)
            continue;
        EntityDraw(&turret, &world->backBuffer);
        if (turret.hits > TurretSilencedHits && turret.step % BlinkPeriod < BlinkOnFrames) {
            Particle light = {};
            light.image = ParticleFlare;
            light.startColour = { 255, 255, 255, 255 };
            light.endColour = { 255, 255, 0, 0 };
            SurfaceSetAlpha(&particleSystem.images[ParticleFlare], 255);
            GlowBlit(&particleSystem, &world->backBuffer, turret.x - 32, turret.y - 32, 64, 64, &light);
        }
    }
}

bool FireTurretVolley(GameWorld* world, int x, int y)
{
    // The shots drift with the ground they were fired from.
    double drift = abs(StageInUse(world)->backSpeed);
    for (const VolleyDef& v : VolleyTable) {
        Entity* shot = FirstFree(world->enemyShots, 12);
        if (!shot)
            continue;
        PlayEffect(SoundClick);
        EntitySetPosition(shot, x, y);
        EntityActivate(shot, 1);
        EntitySetMotion(shot, 0, 0, TurretShotMotion);
        EntityPush(shot, (float)(TurretShotSpeed * v.dx), (float)(TurretShotSpeed * v.dy + drift));
    }
    return true;
}
