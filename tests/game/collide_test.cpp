// Collisions the golden runs cannot reach: pick-ups past their caps, a ram through the shield, ships of later
// loops, a turret's roll for a life, a full pick-up pool and a boss's last part falling to a later shot. Hits,
// shield steps, deaths, grace and the ship's return in the first loop are pinned by the golden runs.
#include "game/boss.h"
#include "game/collide.h"
#include "tests/game/play.h"

namespace {

class CollideTest : public Playfield {
protected:
    // Score, lives, weapon level, whether the ship is in play, ships alive and left in the wave.
    std::vector<long> Tally()
    {
        return { world->score, world->lives, world->weaponLevel, world->player.active, world->enemiesAlive, world->enemiesLeft };
    }
    // Resolves one frame with the generator seeded to give remainder mod 5 first: how many values it drew.
    int Resolve(int remainder = 3)
    {
        return RandDraws(SeedDrawing(remainder), [&] { ResolveCollisions(world); });
    }
};

TEST_F(CollideTest, PickUpsPastTheirCapsScore)
{
    // Weapon level 9 at most, then 100 a power-up; five lives at most, then 1000 a life.
    world->weaponLevel = 8;
    for (auto [motion, count] : { std::pair{ 18, 2 }, { 34, 3 } })
        for (int i = 0; i < count; i++) {
            EnemyShot(120, 270, (uint8_t)motion);
            ResolveCollisions(world);
        }
    EXPECT_EQ(Tally(), (std::vector<long>{ 1100, 5, 9, 1, 0, 8 }));
    EXPECT_EQ(Effects(), (std::vector<int>{ 7, 7, 8, 8, 8 }));
}

TEST_F(CollideTest, HostileShotsPassThroughForFiveSecondsAfterADeathAndLivesStopAtZero)
{
    world->lives = 1;
    world->weaponLevel = 0;
    world->lastDeathTick = SysTicks();
    EnemyShot(120, 270, 138);   // a turret's shot harms as a ship's does
    for (uint32_t wait : { 5000u, 1u }) {   // 5000 ms inclusive
        SysSleep(wait);
        ResolveCollisions(world);
        EXPECT_EQ(world->player.active, wait != 1) << wait;
    }
    EntityActivate(&world->player, 1);
    SysSleep(5001);
    EnemyShot(120, 270);
    ResolveCollisions(world);
    EXPECT_FALSE(world->player.active);
    EXPECT_EQ(world->lives, 0u);
}

// A ram and its three seconds of grace are pinned by the golden runs; a ram with a shield up is not.
TEST_F(CollideTest, ARamIgnoresTheShield)
{
    world->enemiesAlive = 8;
    world->weaponLevel = 9;
    Entity* ship = Ship(130, 278);
    ResolveCollisions(world);
    EXPECT_FALSE(ship->active);
    EXPECT_EQ(Tally(), (std::vector<long>{ 0, 2, 0, 0, 7, 7 }));
}

TEST_F(CollideTest, ALaterLoopsShipSurvivesItsFirstHitAndEveryHitRollsOnce)
{
    // A roll, a blast, no score; one roll in five drops a power-up where the ship is (its fall shows in the golden runs).
    world->enemiesAlive = 8;
    Entity* ship = Ship(60, 80, 2);
    Entity* turret = Turret(60, 80);   // underneath: only the ship is hit
    PlayerShot(60, 80, 130);
    EXPECT_EQ(Resolve(1), 1);
    EXPECT_TRUE(ship->active);
    EXPECT_EQ(ship->hits, 1);
    EXPECT_EQ(Tally(), (std::vector<long>{ 0, 3, 2, 1, 8, 8 }));
    EXPECT_EQ(Effects(), (std::vector<int>{ 6, 7 }));   // a small blast
    const Entity& powerUp = world->enemyShots[0];
    ASSERT_TRUE(powerUp.active);
    EXPECT_EQ(std::vector<int>({ powerUp.motion, powerUp.x, powerUp.y }), std::vector<int>({ 18, 60, 80 }));

    Ship(150, 40);   // two ships hit, two rolls
    PlayerShot(60, 80);
    PlayerShot(150, 40);
    EXPECT_EQ(Resolve(), 2);
    EXPECT_EQ(world->score, 20u);
    EXPECT_EQ(turret->hits, 5);
}

TEST_F(CollideTest, TurretTakesFiveHitsThenRollsForALifeBelowThreeLives)
{
    Entity* turret = Turret(100, 60);
    for (int hit = 1; hit <= 5; hit++) {
        ParticleSystemClear(&particleSystem);
        PlayerShot(90, 70);   // the box corner
        EXPECT_EQ(Resolve(), hit / 5) << hit;   // only the last hit rolls
        EXPECT_EQ(world->score, 100u * hit);
        EXPECT_EQ(Effects(), (hit < 5 ? std::vector<int>{ 6, 7 } : std::vector<int>{ 6, 5, 7 }));   // small, then big
    }
    EXPECT_FALSE(turret->active);
    EXPECT_EQ(world->plainShots, 0);

    // The roll is drawn whatever the lives; below three, one in five drops a life.
    for (auto [lives, remainder, dropped] : { std::array{ 3, 1, 0 }, { 2, 0, 0 }, { 2, 1, 1 } }) {
        world->lives = lives;
        Turret(40, 200, 1);
        PlayerShot(40, 200);
        EXPECT_EQ(Resolve(remainder), 1);
        EXPECT_EQ(ActiveShots(), dropped) << lives << " " << remainder;
    }
    EXPECT_EQ(world->enemyShots[0].motion, 34);   // placed and falling as a power-up is
}

TEST_F(CollideTest, PickUpsNeedAFreeEnemyShotSlot)
{
    for (int i = 0; i < 12; i++)
        EXPECT_TRUE(i % 2 ? SpawnExtraLife(world, 10 * i, 20) : SpawnPowerUp(world, 10 * i, 20)) << i;
    EXPECT_FALSE(SpawnPowerUp(world, 50, 50) || SpawnExtraLife(world, 50, 50));
    // A lucky roll with the pool full drops nothing and the hit goes on.
    Entity* ship = Ship(60, 80);
    PlayerShot(60, 80);
    EXPECT_EQ(Resolve(1), 1);
    EXPECT_FALSE(ship->active);
    EXPECT_EQ(world->score, 10u);
}

// The first bosses' hits, boxes and fall are pinned by the golden runs; this is the case they cannot reach.
class BossCollideTest : public CollideTest {
protected:
    const BossDef* def = &BossTable[0];
    int bx = 0, by = 0;

    void SetUp() override
    {
        CollideTest::SetUp();
        world->bossActive = 1;
        world->bossKind = 0;
        EntityActivate(&world->boss, 1);
        EntitySetPosition(&world->boss, 120, 90);
        bx = 120 - def->image->width / 2;
        by = 90 - def->image->height / 2;
        for (int k = 0; k < def->partCount; k++)
            world->partHits[k] = 5;
    }
    // A shot on the far corner of part k's box.
    Entity* ShotOn(int k) { return PlayerShot(def->hitRects[k].right + bx, def->hitRects[k].bottom + by); }
};

TEST_F(BossCollideTest, ALastPartFallingToALaterShotIsNoticedNextFrameByAnyShot)
{
    world->partHits[0] = 2;
    world->partHits[1] = world->partHits[2] = 0;
    ShotOn(0);
    ShotOn(0);
    ResolveCollisions(world);
    EXPECT_EQ(world->partHits[0], 0);
    EXPECT_EQ(world->score, 20u);
    ResolveCollisions(world);   // no shot in flight: nobody looks
    EXPECT_EQ(world->bossDestroyed, 0u);
    Entity* stray = PlayerShot(5, 300);
    ResolveCollisions(world);
    EXPECT_EQ(world->bossDestroyed, 1u);
    EXPECT_EQ(world->score, 1020u);
    EXPECT_TRUE(stray->active);
}

}   // namespace
