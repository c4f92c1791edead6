// The player's weapons: the fire intervals, a spread from a ship that is down or a full pool, missile and lock-on targets.
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

// Steering, the levels' shot limits, the spread's directions, the missiles' periods and a shot's flight and trail
// and a missile held on screen while its target lives are pinned by the golden runs (the autopilot's and the
// desktop session's keys).
TEST_F(PlayerTest, EachLevelFiresOnceItsIntervalHasPassedToTheMillisecond)
{
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
    }
}

TEST_F(PlayerTest, ASpreadLeavesAShipThatIsDownAndAFullPoolCountsThePress)
{
    // Level 8 every tenth press; a nearly full pool takes the first directions.
    Ship(100, 100);
    for (int i = 0; i < 15; i++)
        world->playerShots[i].active = i >= 3;
    world->player.active = 0;
    Press(8, 10);
    EXPECT_EQ(Shots(), 15);
    EXPECT_EQ(world->playerShots[1].vx, (float)(0.8 * 6.0));
    EXPECT_EQ(world->playerShots[2].vy, 6.0f);
    EXPECT_TRUE(FireSpreadShot(world));   // a full pool still reports a spread
    world->player.active = 1;
    Press();
    EXPECT_EQ(world->firePresses, 11u);
    EXPECT_EQ(world->plainShots, 0);
    EXPECT_FALSE(FirePlainShot(world));
    EXPECT_FALSE(FireHomingMissile(world));
}

TEST_F(PlayerTest, MissilesAimAtTurretsFirstThenShips)
{
    Entity* ship = Ship(60, 60);
    Entity* turret = Turret(30, 90);
    Press(4, 20);
    EXPECT_EQ(world->playerShots[0].target, turret);
    turret->active = 0;
    world->player.active = 0;   // a missile leaves a destroyed ship's last position
    Press(5, 10);
    EXPECT_EQ(world->playerShots[1].target, ship);
    EXPECT_EQ(ShotsOfKind(131), 2);
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

}   // namespace
