// Enemy ships on the wave's flight path, and the pool of enemy shots and pick-ups they share with turrets and bosses.
#include "game/enemy.h"
#include "app/random.h"
#include "game/world.h"
#include "gfx/blit.h"
#include "gfx/particle.h"


enum {
    EnemyShotMotion = 10,
    EnemyShotSpeed = 6,
    EnemyDropSpeed = 2,
    FireDivisorStart = 500,
    FireDivisorPerLoop = 16,
    FireDivisorPerWave = 4,
    FireDivisorFloor = 100,
};

static Entity* FirstFree(Entity* pool, int count)
{
    for (int i = 0; i < count; i++)
        if (!pool[i].active)
            return &pool[i];
    return nullptr;
}

static void DrawGlow(GameWorld* world, int image, int x, int y, int size, ParticleColour start, ParticleColour end)
{
    Particle record = {};
    record.image = (uint8_t)image;
    record.startColour = start;
    record.endColour = end;
    GlowBlit(&particleSystem, &world->backBuffer, x, y, size, size, &record);
}

void SpawnEnemy(GameWorld* world)
{
    Entity* ship = FirstFree(world->enemies, 12);
    if (!ship)
        return;
    world->enemiesAlive++;
    EntityActivate(ship, 1);
    int x, y;
    if (FlightPathNextPoint(&world->path, &x, &y, &ship->step, &ship->loops)) {
        EntitySetPosition(ship, x, y);
    } else {
        // No path: a random spot along the top edge, kept a half ship's width inside.
        int h = world->player.image ? world->player.image->width / 2 : 0;
        EntityPlaceRandom(ship, h, 0, 240 - h, 0);
    }
    ship->hits = (uint8_t)world->loopCount;
}

// Ships fire more often the more loops they have flown and the later the wave.
static int FireDivisor(const Entity* ship, uint32_t waveIndex)
{
    int64_t d = FireDivisorStart - FireDivisorPerLoop * (int64_t)ship->loops - FireDivisorPerWave * (int64_t)waveIndex;
    return d < FireDivisorFloor ? FireDivisorFloor : (int)d;
}

void UpdateEnemies(GameWorld* world)
{
    for (Entity& ship : world->enemies) {
        if (!ship.active)
            continue;
        int x, y;
        if (FlightPathNextPoint(&world->path, &x, &y, &ship.step, &ship.loops))
            EntitySetPosition(&ship, x, y);
        else
            EntityMoveBy(&ship, 0, EnemyDropSpeed, 1);
        // Drawn for every ship that started the frame in play, even one that just fell off the bottom.
        if (RandomNext() % FireDivisor(&ship, world->waveIndex) == 1)
            FireEnemyShot(world, &ship);
    }
}

void DrawEnemies(GameWorld* world)
{
    SurfaceSetAlpha(&particleSystem.images[ParticleFlare], 255);
    SurfaceSetAlpha(&particleSystem.images[ParticleSpark], 255);
    const ParticleColour white = { 255, 255, 255, 255 }, magenta = { 255, 0, 255, 0 };
    // The ships are glows; their image only gives the hit box.
    for (Entity& ship : world->enemies) {
        if (!ship.active)
            continue;
        DrawGlow(world, ParticleFlare, ship.x - 16, ship.y - 16, 32, white, magenta);
        DrawGlow(world, ParticleSpark, ship.x - 24, ship.y - 24, 48, white, magenta);
    }
}

bool FireEnemyShot(GameWorld* world, const Entity* ship)
{
    Entity* shot = FirstFree(world->enemyShots, 12);
    if (!shot)
        return false;
    EntitySetPosition(shot, ship->x, ship->y);
    EntityActivate(shot, 1);
    EntitySetMotion(shot, 0, 0, EnemyShotMotion);
    EntityPush(shot, 0, (float)EnemyShotSpeed);
    return true;
}

void UpdateEnemyShots(GameWorld* world)
{
    for (Entity& shot : world->enemyShots)
        if (shot.active)
            EntityUpdate(&shot, 1);
}

void DrawEnemyShots(GameWorld* world)
{
    Surface* frame = &world->backBuffer;
    for (Entity& shot : world->enemyShots) {
        if (!shot.active)
            continue;
        if (shot.motion & FlagPowerUp) {
            SpriteStripDraw(&powerUpStrip, frame, shot.x - 8, shot.y - 8, -1, BlitKeyedScreen);
        } else if (shot.motion & FlagExtraLife) {
            SpriteStripDraw(&extraLifeStrip, frame, shot.x - 8, shot.y - 8, -1, BlitKeyed);
        } else if (!(shot.motion & FlagStrip)) {
            // The trail would start every fifth step, but nothing advances an enemy
            // shot's step after its activation zeroes it, so no trail is ever drawn.
            if (shot.step % 5 == 1)
                SpawnParticle(&particleSystem, 0, shot.x, shot.y, 0, 0, 0, 0, 360.0f, 0);
            SurfaceSetAlpha(&particleSystem.images[ParticleFlare], 255);
            DrawGlow(world, ParticleFlare, shot.x - 16, shot.y - 16, 32, { 255, 255, 0, 255 }, { 255, 0, 0, 0 });
        } else {
            SpriteStripDraw(&powerUpStrip, frame, shot.x, shot.y, -1, BlitKeyed);
        }
    }
}
