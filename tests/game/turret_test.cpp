// Ground turrets: spawning along the top edge, the four-way volley with its drift and its skipped shots,
// silenced turrets, and the blinking light.
#include "game/turret.h"
#include "tests/game/play.h"

namespace {

using TurretTest = PlayTest;

// Their scrolling and the volleys of the first stages are pinned by the golden runs.
TEST_F(TurretTest, TurretsSpawnOnTheTopEdgeUntilThePoolIsFull)
{
    std::vector<int> draws = Draws(11, 7);
    for (int i = 0; i < 7; i++)
        SpawnTurret(world);   // the seventh finds the pool full
    for (int i = 0; i < 6; i++) {
        const Entity& t = world->turrets[i];
        EXPECT_EQ(std::vector<int>({ t.active, t.x, t.y, t.hits, t.motion }), std::vector<int>({ 1, 10 + draws[i] % 220, 0, 5, 2 }));
        EXPECT_EQ(t.vy, 1.0f);
    }
    EXPECT_EQ(RandomNext(), draws[6]);   // one draw a turret: none for y, none for the full pool
}

// Slots of the enemy shots after a volley from (x, y), in the order right, down, left, up.
void ExpectVolley(GameWorld* world, int x, int y, float drift, std::vector<int> slots = { 0, 1, 2, 3 })
{
    const float vx[4] = { 5, 0, -5, 0 }, vy[4] = { drift, 5 + drift, drift, -5 + drift };
    for (size_t i = 0; i < slots.size(); i++) {
        const Entity& shot = world->enemyShots[slots[i]];
        EXPECT_EQ(std::vector<int>({ shot.active, shot.x, shot.y, shot.motion }), std::vector<int>({ 1, x, y, 138 })) << i;
        EXPECT_EQ(shot.vx, vx[i]) << i;
        EXPECT_EQ(shot.vy, vy[i]) << i;
    }
}

TEST_F(TurretTest, ATurretFiresAVolleyEachPeriodDriftingWithTheGround)
{
    // The first stage's volleys (row 0 drifts by 1) and their timing are pinned by the golden runs.
    world->stageNumber = 3;   // row 3's back layer scrolls at -2
    EXPECT_TRUE(FireTurretVolley(world, 30, 40));
    ExpectVolley(world, 30, 40, 2.0f);

    // Right and down take the only free slots; left and up are dropped.
    for (int i = 0; i < 12; i++)
        world->enemyShots[i].active = i != 4 && i != 9;
    EXPECT_TRUE(FireTurretVolley(world, 70, 80));
    ExpectVolley(world, 70, 80, 2.0f, { 4, 9 });
    EXPECT_TRUE(FireTurretVolley(world, 70, 80));

    // Without a firing period turrets hold fire.
    ClearPlay();
    world->turretFirePeriod = 0;
    SpawnTurret(world);
    for (int i = 0; i < 300; i++)
        UpdateTurrets(world), DrawTurrets(world);
    EXPECT_EQ(ActiveShots(), 0);
}

TEST_F(TurretTest, ATurretWithTwoHitPointsLeftNeitherFiresNorBlinks)
{
    world->turretFirePeriod = 100;
    SpawnTurret(world);
    Entity& t = world->turrets[0];
    EntitySetPosition(&t, 120, 160);
    t.vy = 0;
    t.hits = 2;
    Blank();
    DrawTurrets(world);
    std::vector<uint16_t> dark = Back();
    EXPECT_GT(std::count_if(dark.begin(), dark.end(), [](uint16_t p) { return p != 0; }), 200);   // the turret itself

    // The light of a turret with more hit points left blinks in every golden run's turrets.
    t.hits = 5;
    t.step = 0;
    Blank();
    DrawTurrets(world);
    EXPECT_TRUE(Back() != dark);
    t.step = 100;
    t.hits = 2;
    UpdateTurrets(world);
    EXPECT_EQ(ActiveShots(), 0);
    t.hits = 3;
    UpdateTurrets(world);
    EXPECT_EQ(ActiveShots(), 4);
}

}  // namespace
