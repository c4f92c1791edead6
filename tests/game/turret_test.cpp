// Ground turrets: spawning along the top edge, scrolling, the four-way volley with its drift and its
// skipped shots, silenced turrets, and the blinking light.
#include "game/turret.h"
#include "opponents.h"

namespace {

using TurretTest = OpponentTest;

TEST_F(TurretTest, TurretsSpawnOnTheTopEdgeAndScrollDownAPixelAFrame)
{
    std::vector<int> draws = Draws(11, 7);
    for (int i = 0; i < 7; i++)
        SpawnTurret(world);   // the seventh finds the pool full
    for (int i = 0; i < 6; i++) {
        const Entity& t = world->turrets[i];
        EXPECT_EQ(t.active, 1);
        EXPECT_EQ(t.x, 10 + draws[i] % 220);
        EXPECT_EQ(t.y, 0);
        EXPECT_EQ(t.hits, 5);
        EXPECT_EQ(t.motion, 2);
        EXPECT_EQ(t.vy, 1.0f);
    }
    EXPECT_EQ(rand(), draws[6]);   // one draw a turret: none for y, none for the full pool
    world->turretFirePeriod = 250;
    Entity& t = world->turrets[0];
    for (int i = 1; i <= 321; i++) {
        UpdateTurrets(world);
        if (i <= 320) {
            ASSERT_EQ(t.y, i);
        }
    }
    EXPECT_EQ(t.active, 0);
}

// Slots 0-3 of the enemy shots after a volley from (x, y), in the order right, down, left, up.
void ExpectVolley(GameWorld* world, int x, int y, float drift)
{
    const float vx[4] = { 5, 0, -5, 0 }, vy[4] = { drift, 5 + drift, drift, -5 + drift };
    for (int i = 0; i < 4; i++) {
        SCOPED_TRACE(i);
        const Entity& shot = world->enemyShots[i];
        EXPECT_EQ(shot.active, 1);
        EXPECT_EQ(shot.x, x);
        EXPECT_EQ(shot.y, y);
        EXPECT_EQ(shot.motion, 138);
        EXPECT_EQ(shot.vx, vx[i]);
        EXPECT_EQ(shot.vy, vy[i]);
    }
}

TEST_F(TurretTest, ATurretFiresAVolleyEachPeriodDriftingWithTheGround)
{
    world->turretFirePeriod = 250;
    SpawnTurret(world);
    Entity& t = world->turrets[0];
    EntitySetPosition(&t, 100, 50);
    t.step = 249;   // the frame counter is advanced by drawing
    UpdateTurrets(world);
    EXPECT_EQ(ActiveShots(), 0);
    DrawTurrets(world);
    UpdateTurrets(world);
    // Stage row 0 scrolls its back layer at -1: one pixel of drift.
    ExpectVolley(world, 100, 52, 1.0f);
    EXPECT_EQ(ActiveShots(), 4);

    // Row 3's back layer scrolls at -2.
    ClearPlay();
    world->stageNumber = 3;
    EXPECT_TRUE(FireTurretVolley(world, 30, 40));
    ExpectVolley(world, 30, 40, 2.0f);
}

TEST_F(TurretTest, AVolleySkipsTheShotsThatFindNoSlot)
{
    for (int i = 0; i < 12; i++)
        if (i != 4 && i != 9)
            EntityActivate(&world->enemyShots[i], 1);
    EXPECT_TRUE(FireTurretVolley(world, 70, 80));
    // Right and down take the two free slots; left and up are dropped.
    EXPECT_EQ(world->enemyShots[4].vx, 5.0f);
    EXPECT_EQ(world->enemyShots[4].x, 70);
    EXPECT_EQ(world->enemyShots[9].vy, 6.0f);
    EXPECT_EQ(world->enemyShots[9].motion, 138);
    EXPECT_EQ(ActiveShots(), 12);
    EXPECT_TRUE(FireTurretVolley(world, 70, 80));
}

TEST_F(TurretTest, ATurretWithTwoHitPointsLeftNeitherFiresNorBlinks)
{
    world->turretFirePeriod = 100;
    SpawnTurret(world);
    Entity& t = world->turrets[0];
    EntitySetPosition(&t, 120, 160);
    t.vy = 0;

    // The light is on for 3 frames in 10, counted by the drawn frames.
    std::vector<std::vector<uint16_t>> lit;
    for (uint32_t step : { 0u, 1u, 2u, 5u, 9u }) {
        t.step = step;
        Blank();
        DrawTurrets(world);
        lit.push_back(Snapshot());
    }
    t.hits = 2;
    t.step = 0;
    Blank();
    DrawTurrets(world);
    std::vector<uint16_t> dark = Snapshot();
    // Once drawn the steps are 1, 2, 3, 6 and 10: on, on, off, off, on.
    EXPECT_NE(lit[0], dark);
    EXPECT_NE(lit[1], dark);
    EXPECT_EQ(lit[2], dark);
    EXPECT_EQ(lit[3], dark);
    EXPECT_NE(lit[4], dark);
    long turretPixels = 0;
    for (uint16_t p : dark)
        turretPixels += p != 0;
    EXPECT_GT(turretPixels, 200);   // the turret image itself is drawn

    t.step = 100;
    UpdateTurrets(world);
    EXPECT_EQ(ActiveShots(), 0);
    t.hits = 3;
    UpdateTurrets(world);
    EXPECT_EQ(ActiveShots(), 4);
}

TEST_F(TurretTest, WithoutAFiringPeriodTurretsHoldFire)
{
    world->turretFirePeriod = 0;
    SpawnTurret(world);
    for (int i = 0; i < 5; i++)
        UpdateTurrets(world);
    EXPECT_EQ(ActiveShots(), 0);
}

}  // namespace
