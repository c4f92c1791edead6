// Enemy ships: spawning off an empty path, hit points by pass, the fire rule, full pools, and the enemy
// shots and pick-ups they share a pool with. Flight and drawing in play are pinned by the golden runs.
#include "game/enemy.h"
#include "gfx/blit.h"
#include "tests/game/play.h"

#include <cstring>

namespace {

using EnemyTest = PlayTest;

// Spawning and flight on the wave's path are pinned by the golden runs; their passes are not.
TEST_F(EnemyTest, HitPointsAreThePassThroughTheTableInEightBits)
{
    for (auto [pass, hits] : { std::pair{ 1u, 1 }, { 2u, 2 }, { 3u, 3 }, { 257u, 1 } }) {
        ClearPlay();
        world->loopCount = pass;
        SpawnEnemy(world);
        EXPECT_EQ(world->enemies[0].hits, hits) << pass;
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

TEST_F(EnemyTest, ShipsFireWhenTheRollHitsOneOfTheDivisor)
{
    // Loops and wave bring the divisor down from 500, never below 100.
    const std::array<int, 3> cases[] = { { 0, 0, 500 }, { 3, 5, 432 }, { 0, 29, 384 }, { 30, 0, 100 }, { 20, 25, 100 } };
    const int frames = 900;
    for (auto [loops, waveIndex, divisor] : cases) {
        SCOPED_TRACE(divisor);
        const char* still[] = { "B+120+100", "P0999", nullptr };   // a ship that holds still over the whole run
        ASSERT_TRUE(FlightPathCompile(&world->path, still, 5));
        unsigned seed = 0;
        std::vector<int> expected;
        while (expected.size() < 2) {
            expected.clear();
            std::vector<int> draws = Draws(++seed, frames);
            for (int i = 0; i < frames; i++)
                if (draws[i] % divisor == 1)
                    expected.push_back(i);
        }
        ClearPlay();
        world->waveIndex = waveIndex;
        SpawnEnemy(world);
        world->enemies[0].loops = loops;
        std::vector<int> fired;
        for (int i = 0; i < frames; i++) {
            UpdateEnemies(world);
            if (ActiveShots()) {   // the shot itself is pinned by the golden runs
                fired.push_back(i);
                world->enemyShots[0].active = 0;
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

// A plain power-up and an enemy shot's glow are drawn in every golden run; these pick-ups are not.
TEST_F(EnemyTest, PickUpsAreDrawnByTheirFlags)
{
    struct DrawCase {
        uint8_t motion;
        SpriteStrip* strip;
        int dx, dy;   // strip position relative to the entity
        uint8_t mode;
    };
    const DrawCase cases[] = {
        { 34, &extraLifeStrip, -8, -8, BlitKeyed },
        { 16 | 32, &powerUpStrip, -8, -8, BlitKeyedScreen },
        { 64, &powerUpStrip, 0, 0, BlitKeyed },
    };
    for (const DrawCase& c : cases) {
        SCOPED_TRACE(c.motion);
        ClearPlay();
        Entity& e = world->enemyShots[3];
        EntityActivate(&e, 1);
        EntitySetPosition(&e, 90, 150);
        e.motion = c.motion;
        SpriteStrip saved = *c.strip;
        Blank();
        DrawEnemyShots(world);
        std::vector<uint16_t> drawn = Back();
        Blank();
        SpriteStrip after = *c.strip;
        *c.strip = saved;
        SpriteStripDraw(c.strip, back, 90 + c.dx, 150 + c.dy, -1, c.mode);
        EXPECT_EQ(memcmp(&after, c.strip, sizeof after), 0);   // advanced once
        EXPECT_EQ(drawn, Back());
        EXPECT_GT(std::count_if(drawn.begin(), drawn.end(), [](uint16_t p) { return p != 0; }), 20);
    }
}

}  // namespace
