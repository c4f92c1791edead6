// Enemy ships: spawning on the wave's path and off an empty one, hit points by pass, the fire rule,
// the glows, and the enemy shots and pick-ups they share a pool with.
#include "game/enemy.h"
#include "gfx/blit.h"
#include "opponents.h"

#include <cstring>

namespace {

using EnemyTest = OpponentTest;

TEST_F(EnemyTest, WaveShipsSpawnEverySixFramesAndFlyThePathOneAfterAnother)
{
    ScheduleWave(world, 0);
    ClearPlay();
    const FlightPath& path = world->path;
    std::vector<int> spawnFrames;
    for (int frame = 1; frame <= 60; frame++) {
        int alive = world->enemiesAlive;
        RunGameFrame(world);
        if (world->enemiesAlive != alive)
            spawnFrames.push_back(frame);
        if (frame == 12) {
            // Each ship takes the next point every frame, starting with the one it spawned on.
            EXPECT_EQ(world->enemies[0].x, path.points[7].x);
            EXPECT_EQ(world->enemies[0].y, path.points[7].y);
            EXPECT_EQ(world->enemies[1].x, path.points[1].x);
            EXPECT_EQ(world->enemies[1].y, path.points[1].y);
        }
    }
    EXPECT_EQ(spawnFrames, (std::vector<int>{ 6, 12, 18, 24, 30, 36, 42, 48 }));
    EXPECT_EQ(world->enemiesAlive, 8);
}

TEST_F(EnemyTest, AShipStartsOnThePathsFirstPointAndLoopsWhereThePathSays)
{
    ScheduleWave(world, 0);
    ClearPlay();
    const FlightPath& path = world->path;
    SpawnEnemy(world);
    Entity& ship = world->enemies[0];
    EXPECT_EQ(ship.active, 1);
    EXPECT_EQ(world->enemiesAlive, 1);
    EXPECT_EQ(ship.x, path.points[0].x);
    EXPECT_EQ(ship.y, path.points[0].y);
    EXPECT_EQ(ship.step, 1u);
    for (uint32_t i = 1; i < path.count; i++)
        UpdateEnemies(world);
    EXPECT_EQ(ship.loops, 0u);
    EXPECT_EQ(ship.x, path.points[path.count - 1].x);
    UpdateEnemies(world);
    EXPECT_EQ(ship.loops, 1u);
    EXPECT_EQ(ship.x, path.points[path.loopStart - 1].x);
    EXPECT_EQ(ship.y, path.points[path.loopStart - 1].y);
}

TEST_F(EnemyTest, HitPointsAreThePassThroughTheTable)
{
    const uint32_t passes[] = { 1, 2, 3, 257 };
    const int hits[] = { 1, 2, 3, 1 };   // the low eight bits
    for (int i = 0; i < 4; i++) {
        ClearPlay();
        world->loopCount = passes[i];
        SpawnEnemy(world);
        EXPECT_EQ(world->enemies[0].hits, hits[i]) << passes[i];
    }
}

TEST_F(EnemyTest, WithNoPathShipsAppearOnTheTopEdgeAndFall)
{
    FlightPathFree(&world->path);
    int h = world->player.image->width / 2;
    ASSERT_GT(h, 0);
    std::vector<int> draws = Draws(7, 1);
    SpawnEnemy(world);
    Entity& ship = world->enemies[0];
    EXPECT_EQ(ship.x, h + draws[0] % (240 - 2 * h));
    EXPECT_EQ(ship.y, 0);
    for (int i = 1; i <= 160; i++) {
        UpdateEnemies(world);
        ASSERT_EQ(ship.y, 2 * i);
    }
    EXPECT_EQ(ship.active, 1);   // y = 320 is still on the screen
    UpdateEnemies(world);
    EXPECT_EQ(ship.active, 0);
    EXPECT_EQ(world->enemiesAlive, 1);   // only a destruction lowers the count
}

struct FireCase {
    uint32_t loops, waveIndex;
    int divisor;
};

TEST_F(EnemyTest, ShipsFireWhenTheRollHitsOneOfTheDivisor)
{
    // Loops and wave bring the divisor down from 500, never below 100.
    const FireCase cases[] = { { 0, 0, 500 }, { 3, 5, 432 }, { 0, 29, 384 }, { 30, 0, 100 }, { 20, 25, 100 } };
    const int frames = 900;
    for (const FireCase& c : cases) {
        SCOPED_TRACE(c.divisor);
        // A ship that holds still over the whole run.
        UsePath({ "B+120+100", "P0999" }, 5);
        unsigned seed = 1;
        std::vector<int> expected;
        for (; expected.size() < 2 && seed < 100; seed++) {
            expected.clear();
            std::vector<int> draws = Draws(seed, frames);
            for (int i = 0; i < frames; i++)
                if (draws[i] % c.divisor == 1)
                    expected.push_back(i);
        }
        ASSERT_GE(expected.size(), 2u);
        Draws(seed - 1, 0);
        ClearPlay();
        world->waveIndex = c.waveIndex;
        SpawnEnemy(world);
        world->enemies[0].loops = c.loops;
        std::vector<int> fired;
        for (int i = 0; i < frames; i++) {
            UpdateEnemies(world);
            if (ActiveShots()) {
                fired.push_back(i);
                const Entity& shot = world->enemyShots[0];
                EXPECT_EQ(shot.x, 120);
                EXPECT_EQ(shot.y, 100);
                EXPECT_EQ(shot.motion, 10);
                EXPECT_EQ(shot.vx, 0.0f);
                EXPECT_EQ(shot.vy, 6.0f);
                ClearPlay();
                world->enemies[0].active = 1;
            }
        }
        EXPECT_EQ(fired, expected);
    }
}

TEST_F(EnemyTest, FullPoolsDropSpawnsAndShots)
{
    for (int i = 0; i < 13; i++)
        SpawnEnemy(world);
    EXPECT_EQ(world->enemiesAlive, 12);
    for (int i = 0; i < 12; i++)
        EXPECT_TRUE(FireEnemyShot(world, &world->enemies[0]));
    Entity before[12];
    memcpy(before, world->enemyShots, sizeof before);
    EXPECT_FALSE(FireEnemyShot(world, &world->enemies[1]));
    EXPECT_EQ(memcmp(before, world->enemyShots, sizeof before), 0);
}

// Draws the glow the way the screen's other users do, as the expected picture.
void Glow(Surface* frame, int image, int x, int y, int size, ParticleColour start, ParticleColour end)
{
    Particle record = {};
    record.image = (uint8_t)image;
    record.startColour = start;
    record.endColour = end;
    SurfaceSetAlpha(&particleSystem.images[image], 255);
    GlowBlit(&particleSystem, frame, x, y, size, size, &record);
}

TEST_F(EnemyTest, ShipsAreTwoMagentaGlowsAndNotTheirImage)
{
    SpawnEnemy(world);
    SpawnEnemy(world);
    SpawnEnemy(world);
    EntitySetPosition(&world->enemies[0], 100, 100);
    EntitySetPosition(&world->enemies[1], 20, 300);
    EntitySetPosition(&world->enemies[2], 200, 40);
    world->enemies[2].active = 0;
    SurfaceSetAlpha(&particleSystem.images[ParticleFlare], 10);
    SurfaceSetAlpha(&particleSystem.images[ParticleSpark], 10);
    Blank();
    DrawEnemies(world);
    std::vector<uint16_t> drawn = Snapshot();

    Blank();
    const ParticleColour white = { 255, 255, 255, 255 }, magenta = { 255, 0, 255, 0 };
    for (int i = 0; i < 2; i++) {
        const Entity& ship = world->enemies[i];
        Glow(Frame(), ParticleFlare, ship.x - 16, ship.y - 16, 32, white, magenta);
        Glow(Frame(), ParticleSpark, ship.x - 24, ship.y - 24, 48, white, magenta);
    }
    EXPECT_EQ(drawn, Snapshot());
    int r, g, b;
    SplitColour(drawn[100 * 240 + 100], &r, &g, &b);
    EXPECT_GT(r + g + b, 300);   // a bright centre
    EXPECT_EQ(drawn[40 * 240 + 200], 0);   // the inactive ship
}

TEST_F(EnemyTest, EnemyShotsFallAndLeaveAtTheEdgeWithoutATrail)
{
    Entity ship = {};
    ship.x = 60;
    ship.y = 290;
    ASSERT_TRUE(FireEnemyShot(world, &ship));
    Entity& shot = world->enemyShots[0];
    for (int i = 1; i <= 6; i++) {
        Blank();
        DrawEnemyShots(world);
        ParticleSystemRender(&particleSystem, Frame());
        UpdateEnemyShots(world);
        EXPECT_EQ(ActiveParticles(), 0);
        if (i < 6) {
            EXPECT_EQ(shot.y, 290 + 6 * i);
            EXPECT_EQ(shot.active, 1);   // y = 320 is the edge, still inside
        }
    }
    EXPECT_EQ(shot.active, 0);
}

struct DrawCase {
    uint8_t motion;
    SpriteStrip* strip;   // null: a shot's glow
    int dx, dy;           // strip position relative to the entity
    uint8_t mode;
};

TEST_F(EnemyTest, ShotsAndPickUpsAreDrawnByTheirFlags)
{
    const DrawCase cases[] = {
        { 18, &powerUpStrip, -8, -8, BlitKeyedScreen },
        { 34, &extraLifeStrip, -8, -8, BlitKeyed },
        { 16 | 32, &powerUpStrip, -8, -8, BlitKeyedScreen },
        { 64, &powerUpStrip, 0, 0, BlitKeyed },
        { 10, nullptr, 0, 0, 0 },
        { 138, nullptr, 0, 0, 0 },
    };
    for (const DrawCase& c : cases) {
        SCOPED_TRACE(c.motion);
        ClearPlay();
        Entity& e = world->enemyShots[3];
        EntityActivate(&e, 1);
        EntitySetPosition(&e, 90, 150);
        e.motion = c.motion;
        SpriteStrip saved = c.strip ? *c.strip : SpriteStrip{};
        Blank();
        DrawEnemyShots(world);
        std::vector<uint16_t> drawn = Snapshot();
        Blank();
        if (c.strip) {
            SpriteStrip after = *c.strip;
            *c.strip = saved;
            SpriteStripDraw(c.strip, Frame(), 90 + c.dx, 150 + c.dy, -1, c.mode);
            EXPECT_EQ(memcmp(&after, c.strip, sizeof after), 0);   // advanced once
        } else {
            Glow(Frame(), ParticleFlare, 90 - 16, 150 - 16, 32, { 255, 255, 0, 255 }, { 255, 0, 0, 0 });
        }
        EXPECT_EQ(drawn, Snapshot());
        long lit = 0;
        for (uint16_t p : drawn)
            lit += p != 0;
        EXPECT_GT(lit, 20);
    }
}

}  // namespace
