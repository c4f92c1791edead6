// The player's ship and weapons: steering, each weapon level's shots, lock-on targets, the shot pool,
// the shots' trails and glows.
#include "game/player.h"
#include "platform/gx.h"
#include "platform/headless/headless_internal.h"
#include "tests/game/playfield.h"

#include <algorithm>

namespace {

using playfield::Playfield;

class PlayerTest : public Playfield {
protected:
    // A fire press after the longest interval has passed.
    void Press()
    {
        SysSleep(500);
        FireControl(world);
    }
    // Sets the level and the press count so that the next press is the given one.
    void Level(int level, uint32_t nextPress)
    {
        world->weaponLevel = level;
        world->firePresses = nextPress - 1;
    }
    int ShotsOfKind(uint8_t motion)
    {
        int n = 0;
        for (const Entity& s : world->playerShots)
            n += s.active && s.motion == motion;
        return n;
    }
};

TEST_F(PlayerTest, ArrowsPushTheShipWhichCoastsAndStaysOnScreen)
{
    HeadlessKeySet(KeyRight, 1);
    for (int i = 0; i < 5; i++)
        ReadSteerKeys(world);
    EXPECT_FLOAT_EQ(world->player.vx, 6.25f);
    EXPECT_EQ(world->player.x, 120 + 1 + 2 + 3 + 5 + 6);
    HeadlessKeySet(KeyRight, 0);
    HeadlessKeySet(KeyUp, 1);
    HeadlessKeySet(KeyLeft, 1);
    ReadSteerKeys(world);
    EXPECT_FLOAT_EQ(world->player.vx, 6.25f - 2.0f - 0.75f);
    EXPECT_FLOAT_EQ(world->player.vy, -2.0f + 0.75f);
    HeadlessKeySet(KeyUp, 0);
    HeadlessKeySet(KeyLeft, 0);
    HeadlessKeySet(KeyDown, 1);
    for (int i = 0; i < 40; i++)
        ReadSteerKeys(world);
    EXPECT_EQ(world->player.y, 320);   // clamped to the edge, not released
    EXPECT_TRUE(world->player.active);
    HeadlessKeySet(KeyDown, 0);

    // A destroyed ship gathers the pushes but does not move.
    world->player.active = 0;
    int16_t x = world->player.x;
    HeadlessKeySet(KeyLeft, 1);
    ReadSteerKeys(world);
    HeadlessKeySet(KeyLeft, 0);
    EXPECT_EQ(world->player.x, x);
    EXPECT_LT(world->player.vx, 0.0f);
}

TEST_F(PlayerTest, PlainShotsLeaveTheMuzzleUpToTheLevelsLimit)
{
    Press();
    ASSERT_EQ(Shots(), 1);
    const Entity& first = world->playerShots[0];
    EXPECT_EQ(first.x, 120);
    EXPECT_EQ(first.y, 270 - 10);
    EXPECT_EQ(first.motion, 2);
    EXPECT_FLOAT_EQ(first.vx, 0.0f);
    EXPECT_FLOAT_EQ(first.vy, -10.0f);
    EXPECT_EQ(world->plainShots, 1);

    // Level 2 allows three in flight; the fourth press counts but fires nothing.
    Press();
    Press();
    Press();
    EXPECT_EQ(Shots(), 3);
    EXPECT_EQ(world->plainShots, 3);
    EXPECT_EQ(world->firePresses, 4u);
    EXPECT_EQ(world->lastFireTick, SysTicks());

    world->weaponLevel = 0;
    for (Entity& s : world->playerShots)
        s.active = 0;
    world->plainShots = 0;
    Press();
    Press();
    EXPECT_EQ(Shots(), 1);

    // A destroyed ship fires no plain shot.
    world->player.active = 0;
    world->plainShots = 0;
    EXPECT_FALSE(FirePlainShot(world));
    EXPECT_EQ(world->plainShots, 0);
}

TEST_F(PlayerTest, PressesInsideTheIntervalAreIgnored)
{
    struct Case {
        int level;
        uint32_t interval;
    };
    for (Case c : { Case{ 2, 500 }, Case{ 3, 400 }, Case{ 5, 300 }, Case{ 7, 250 }, Case{ 9, 200 } }) {
        world->weaponLevel = c.level;
        world->firePresses = 1;   // no spread or missile due on the next presses
        world->lastFireTick = SysTicks();
        SysSleep(c.interval - 1);
        FireControl(world);
        EXPECT_EQ(world->firePresses, 1u) << "level " << c.level;
        SysSleep(1);
        FireControl(world);
        EXPECT_EQ(world->firePresses, 2u) << "level " << c.level;
        EXPECT_EQ(world->lastFireTick, SysTicks());
    }
}

TEST_F(PlayerTest, SpreadFiresEightShotsAndTakesPrecedenceOverTheMissile)
{
    Ship(100, 100);
    Level(7, 20);   // a multiple of the homing period 5 too
    Press();
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
    for (int i = 3; i < 15; i++)
        world->playerShots[i].active = 1;
    world->playerShots[0].active = world->playerShots[1].active = world->playerShots[2].active = 0;
    world->player.active = 0;
    Level(8, 10);
    Press();
    EXPECT_EQ(Shots(), 15);
    EXPECT_EQ(world->playerShots[1].vx, d);
    EXPECT_EQ(world->playerShots[1].vy, d);
    EXPECT_EQ(world->playerShots[2].vx, 0.0f);
    EXPECT_EQ(world->playerShots[2].vy, 6.0f);
    EXPECT_TRUE(FireSpreadShot(world));   // a full pool still reports a spread
}

TEST_F(PlayerTest, MissileAimsAtTurretsFirstThenShipsElsePlainShot)
{
    Entity* ship = Ship(60, 60);
    Entity* turret = Turret(30, 90);
    Level(4, 20);
    Press();
    ASSERT_EQ(ShotsOfKind(131), 1);
    EXPECT_EQ(world->playerShots[0].target, turret);
    EXPECT_FLOAT_EQ(world->playerShots[0].vy, -10.0f);
    EXPECT_EQ(world->plainShots, 0);

    turret->active = 0;
    Level(5, 10);
    Press();
    EXPECT_EQ(world->playerShots[1].target, ship);

    // Nothing to aim at: the press falls through to a plain shot.
    ship->active = 0;
    Level(6, 5);
    Press();
    EXPECT_EQ(ShotsOfKind(131), 2);
    EXPECT_EQ(ShotsOfKind(2), 1);

    // Not due: a plain shot although targets are there.
    Ship(60, 60);
    Level(6, 6);
    Press();
    EXPECT_EQ(ShotsOfKind(2), 2);

    // A missile leaves a destroyed ship's last position.
    world->player.active = 0;
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

    for (Entity& s : world->playerShots)
        s.active = 0;
    a->active = b->active = 0;
    LaunchLockOn(world);
    ASSERT_EQ(ShotsOfKind(131), 4);
    for (int i = 0; i < 4; i++)
        EXPECT_EQ(world->playerShots[i].target, &world->turrets[i]);

    for (Entity& s : world->playerShots)
        s.active = 0;
    for (int i = 0; i < 6; i++)
        Ship(10 + 20 * i, 40);
    LaunchLockOn(world);
    EXPECT_EQ(ShotsOfKind(131), 4);
    EXPECT_EQ(world->playerShots[3].target, &world->enemies[3]);

    // With the pool full, a ship on screen still keeps the turrets out.
    for (Entity& s : world->playerShots)
        s.active = 1, s.motion = 2;
    world->playerShots[14].active = 0;
    for (Entity& e : world->enemies)
        e.active = 0;
    world->enemies[11].active = 1;
    world->playerShots[14].active = 1;
    LaunchLockOn(world);
    EXPECT_EQ(ShotsOfKind(131), 0);
    world->playerShots[14].active = 0;
    LaunchLockOn(world);
    EXPECT_EQ(world->playerShots[14].target, &world->enemies[11]);
}

TEST_F(PlayerTest, FullPoolDropsTheShotButCountsThePress)
{
    for (int i = 0; i < 15; i++)
        EXPECT_TRUE(Spawn(world->playerShots, 15, 10, 10, 130)) << i;
    EXPECT_FALSE(FirePlainShot(world));
    Press();
    EXPECT_EQ(world->firePresses, 1u);
    EXPECT_EQ(world->plainShots, 0);
    Ship(60, 60);
    EXPECT_FALSE(FireHomingMissile(world));
}

TEST_F(PlayerTest, ShotsLeaveTrailsAndAreReleasedAtTheEdge)
{
    Entity* plain = PlayerShot(50, 35);
    Entity* spread = PlayerShot(150, 100, 130);
    EntityPush(plain, 0, -10.0f);
    EntityPush(spread, 0, -10.0f);
    UpdatePlayerShots(world);   // both at step 0: a trail each
    EXPECT_EQ(Particles(), 2);
    EXPECT_EQ(particleSystem.particles[0].x, 50.0f);
    EXPECT_EQ(particleSystem.particles[0].y, 35.0f);
    EXPECT_EQ(particleSystem.particles[0].vx, 0.0f);
    EXPECT_EQ(plain->y, 25);
    // Steps move only when the shots are drawn: undrawn shots trail every frame.
    UpdatePlayerShots(world);
    EXPECT_EQ(Particles(), 4);
    DrawPlayerShots(world);
    UpdatePlayerShots(world);   // step 1: neither trails
    EXPECT_EQ(Particles(), 4);
    DrawPlayerShots(world);
    UpdatePlayerShots(world);   // step 2: only the plain shot, and it leaves the top
    EXPECT_EQ(Particles(), 5);
    EXPECT_FALSE(plain->active);
    EXPECT_EQ(world->plainShots, 0);

    // A spread shot leaving the screen is not a plain shot.
    world->plainShots = 1;
    for (int i = 0; i < 12; i++)
        UpdatePlayerShots(world);
    EXPECT_FALSE(spread->active);
    EXPECT_EQ(world->plainShots, 1);

    // A missile chasing a live target is held on screen.
    Entity* target = Ship(120, 5);
    Entity* missile = PlayerShot(120, 3, 131);
    EntitySetTarget(missile, target);
    EntityPush(missile, 0, -10.0f);
    UpdatePlayerShots(world);
    EXPECT_TRUE(missile->active);
    EXPECT_EQ(missile->y, 0);
}

TEST_F(PlayerTest, ShotsAreDrawnAsCentredGlows)
{
    struct Box {
        int left, top, right, bottom;
    };
    auto lit = [&]() {
        Box box = { 240, 320, -1, -1 };
        for (int y = 0; y < 320; y++)
            for (int x = 0; x < 240; x++)
                if (world->backBuffer.pixels[y * 240 + x]) {
                    box.left = std::min(box.left, x);
                    box.right = std::max(box.right, x);
                    box.top = std::min(box.top, y);
                    box.bottom = std::max(box.bottom, y);
                }
        return box;
    };
    Entity* plain = PlayerShot(100, 150);
    particleSystem.images[ParticleFlare].alpha = 0;   // drawing sets the full level itself
    DrawPlayerShots(world);
    Box box = lit();
    EXPECT_EQ(box.left, 92);
    EXPECT_EQ(box.right, 107);
    EXPECT_EQ(box.top, 134);
    EXPECT_EQ(box.bottom, 165);
    EXPECT_EQ(plain->step, 1u);
    int red, green, blue;
    SplitColour(world->backBuffer.pixels[150 * 240 + 100], &red, &green, &blue);
    EXPECT_GT(red, 200);
    EXPECT_GT(green, 200);

    plain->active = 0;
    SurfaceClear(&world->backBuffer, 0);
    Entity* missile = PlayerShot(30, 40, 131);
    DrawPlayerShots(world);
    box = lit();
    EXPECT_EQ(box.left, 18);
    EXPECT_EQ(box.right, 41);
    EXPECT_EQ(box.top, 28);
    EXPECT_EQ(box.bottom, 51);
    EXPECT_EQ(missile->step, 1u);
    EXPECT_EQ(plain->step, 1u);   // inactive shots are left alone
}

}   // namespace
