// The player's weapons: each weapon level's shots, lock-on targets, the shot pool, a missile held on screen.
#include "game/player.h"
#include "tests/game/play.h"

#include <algorithm>

namespace {

class PlayerTest : public Playfield {
protected:
    // Sets the level and the press count so that the next press is the given one, and presses after
    // the longest interval.
    void Press(int level = -1, uint32_t nextPress = 0)
    {
        if (level >= 0)
            world->weaponLevel = level, world->firePresses = nextPress - 1;
        SysSleep(500);
        FireControl(world);
    }
    int ShotsOfKind(uint8_t motion)
    {
        return (int)std::count_if(world->playerShots, world->playerShots + 15,
                                  [&](const Entity& s) { return s.active && s.motion == motion; });
    }
};

// Steering, a plain shot's flight and the shots' trails are pinned by the golden runs (the autopilot's and the
// desktop session's keys).
TEST_F(PlayerTest, PlainShotsUpToTheLevelsLimitAndPressesInsideTheInterval)
{
    Press();
    // Level 2 allows three in flight; the fourth press counts but fires nothing. Level 0 allows one.
    Press(), Press(), Press();
    EXPECT_EQ(Shots(), 3);
    EXPECT_EQ(world->plainShots, 3);
    EXPECT_EQ(world->firePresses, 4u);
    ClearPlay();
    world->weaponLevel = 0;
    Press(), Press();
    EXPECT_EQ(Shots(), 1);
    world->player.active = 0;   // a destroyed ship fires no plain shot
    EXPECT_FALSE(FirePlainShot(world));
    EXPECT_EQ(world->plainShots, 1);

    for (auto [level, interval] : { std::pair{ 2, 500u }, { 3, 400u }, { 5, 300u }, { 7, 250u }, { 9, 200u } }) {
        world->weaponLevel = level;
        world->firePresses = 1;   // no spread or missile due on the next presses
        world->lastFireTick = SysTicks();
        SysSleep(interval - 1);
        FireControl(world);
        EXPECT_EQ(world->firePresses, 1u) << "level " << level;
        SysSleep(1);
        FireControl(world);
        EXPECT_EQ(world->firePresses, 2u) << "level " << level;
        EXPECT_EQ(world->lastFireTick, SysTicks());
    }
}

TEST_F(PlayerTest, SpreadFiresEightShotsAndTakesPrecedenceOverTheMissile)
{
    Ship(100, 100);
    Press(7, 20);   // a multiple of the homing period 5 too
    ASSERT_EQ(ShotsOfKind(130), 8);
    EXPECT_EQ(ShotsOfKind(131), 0);
    EXPECT_EQ(world->plainShots, 0);
    const float d = (float)(0.8 * 6.0);
    const float expected[8][2] = { { 6, 0 }, { d, d }, { 0, 6 }, { -d, d }, { -6, 0 }, { -d, -d }, { 0, -6 }, { d, -d } };
    for (int i = 0; i < 8; i++) {
        EXPECT_EQ(world->playerShots[i].vx, expected[i][0]) << i;
        EXPECT_EQ(world->playerShots[i].vy, expected[i][1]) << i;
        EXPECT_EQ(world->playerShots[i].y, 260);
    }

    // Level 8 every tenth press, even from a ship that is down; a nearly full pool takes the first directions.
    for (int i = 0; i < 15; i++)
        world->playerShots[i].active = i >= 3;
    world->player.active = 0;
    Press(8, 10);
    EXPECT_EQ(Shots(), 15);
    EXPECT_EQ(world->playerShots[1].vx, d);
    EXPECT_EQ(world->playerShots[2].vy, 6.0f);
    EXPECT_TRUE(FireSpreadShot(world));   // a full pool still reports a spread
    world->player.active = 1;
    Press();
    EXPECT_EQ(world->firePresses, 11u);   // a full pool drops the shot but counts the press
    EXPECT_EQ(world->plainShots, 0);
    EXPECT_FALSE(FirePlainShot(world));
    EXPECT_FALSE(FireHomingMissile(world));
}

TEST_F(PlayerTest, MissileAimsAtTurretsFirstThenShipsElsePlainShot)
{
    Entity* ship = Ship(60, 60);
    Entity* turret = Turret(30, 90);
    Press(4, 20);
    ASSERT_EQ(ShotsOfKind(131), 1);
    EXPECT_EQ(world->playerShots[0].target, turret);
    EXPECT_FLOAT_EQ(world->playerShots[0].vy, -10.0f);
    EXPECT_EQ(world->plainShots, 0);
    turret->active = 0;
    Press(5, 10);
    EXPECT_EQ(world->playerShots[1].target, ship);
    ship->active = 0;   // nothing to aim at: a plain shot
    Press(6, 5);
    EXPECT_EQ(ShotsOfKind(131), 2);
    EXPECT_EQ(ShotsOfKind(2), 1);
    Ship(60, 60);       // not due: a plain shot although a target is there
    Press(6, 6);
    EXPECT_EQ(ShotsOfKind(2), 2);
    world->player.active = 0;   // a missile leaves a destroyed ship's last position
    EXPECT_TRUE(FireHomingMissile(world));
    EXPECT_EQ(ShotsOfKind(131), 3);
}

TEST_F(PlayerTest, LockOnPrefersShipsAndTakesAtMostFour)
{
    Entity* a = Ship(20, 20);
    Entity* b = Ship(40, 20);
    for (int i = 0; i < 6; i++)
        Turret(20 + 30 * i, 100);
    LaunchLockOn(world);
    ASSERT_EQ(ShotsOfKind(131), 2);
    EXPECT_EQ(world->playerShots[0].target, a);
    EXPECT_EQ(world->playerShots[1].target, b);

    a->active = b->active = 0;
    for (Entity& s : world->playerShots)
        s.active = 0;
    LaunchLockOn(world);
    ASSERT_EQ(ShotsOfKind(131), 4);
    for (int i = 0; i < 4; i++)
        EXPECT_EQ(world->playerShots[i].target, &world->turrets[i]);

    // With the pool full, a ship on screen still keeps the turrets out.
    for (Entity& s : world->playerShots)
        s.active = 1, s.motion = 2;
    world->enemies[11].active = 1;
    LaunchLockOn(world);
    EXPECT_EQ(ShotsOfKind(131), 0);
    world->playerShots[14].active = 0;
    LaunchLockOn(world);
    EXPECT_EQ(world->playerShots[14].target, &world->enemies[11]);
}

TEST_F(PlayerTest, AMissileChasingALiveTargetIsHeldOnScreen)
{
    Entity* missile = PlayerShot(120, 3, 131);
    EntitySetTarget(missile, Ship(120, 5));
    EntityPush(missile, 0, -10.0f);
    UpdatePlayerShots(world);
    EXPECT_TRUE(missile->active);
    EXPECT_EQ(missile->y, 0);
}

}   // namespace
