// Collisions: enemy shots and pick-ups against the ship, rams, the player's shots against ships, turrets and
// boss parts, with their score, explosions and random rolls; death, grace and the ship's return.
#include "game/boss.h"
#include "game/collide.h"
#include "tests/game/play.h"

namespace {

const std::vector<int> smallBlast = { 6, 7 };
const std::vector<int> bigBlast = { 6, 5, 7 };

class CollideTest : public Playfield {
protected:
    // Renders until the ship's return, or gives up after a minute of frames.
    int FramesUntilBack()
    {
        for (int frame = 1; frame <= 1200; frame++) {
            ParticleSystemRender(&particleSystem, back);
            if (world->player.active)
                return frame;
        }
        return 0;
    }
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

TEST_F(CollideTest, HostileShotsStepTheShieldDownFiveLevelsOneAFrameThenTakeTheShip)
{
    world->weaponLevel = 9;
    Entity* first = EnemyShot(125, 272);
    Entity* second = EnemyShot(118, 268, 138);   // a turret's shot harms the same way
    EXPECT_EQ(Resolve(), 0);
    EXPECT_FALSE(first->active);
    EXPECT_TRUE(second->active);
    EXPECT_EQ(Tally(), (std::vector<long>{ 0, 3, 4, 1, 0, 8 }));
    EXPECT_EQ(Effects(), smallBlast);
    ParticleSystemClear(&particleSystem);
    ResolveCollisions(world);   // at level 4 the shield gives out
    EXPECT_FALSE(second->active);
    EXPECT_EQ(Tally(), (std::vector<long>{ 0, 2, 0, 0, 0, 8 }));
    EXPECT_EQ(world->lastDeathTick, SysTicks());
    EXPECT_EQ(Effects(), bigBlast);
    EXPECT_EQ(particleSystem.emitters[1].flags, EffectReportEnd);
    EXPECT_EQ(particleSystem.emitters[0].x, 120.0f);
    EXPECT_EQ(particleSystem.emitters[0].y, 270.0f);
}

TEST_F(CollideTest, DeathGivesGraceAndTheShipReturnsWhereItFell)
{
    world->weaponLevel = 0;
    EntityPush(&world->player, 3.0f, 0);
    world->player.x = 77;
    EnemyShot(77, 270);
    ResolveCollisions(world);
    ASSERT_FALSE(world->player.active);
    uint32_t death = world->lastDeathTick;
    Entity* powerUp = EnemyShot(77, 270, 18);   // nothing touches a ship that is down, pick-ups included
    ResolveCollisions(world);
    EXPECT_TRUE(powerUp->active);
    powerUp->active = 0;

    EXPECT_GT(FramesUntilBack(), 1);
    EXPECT_EQ(world->player.x, 77);
    EXPECT_EQ(world->player.y, 270);
    EXPECT_EQ(world->player.vx, 0.0f);
    EXPECT_EQ(world->player.motion, MotionCoast);

    // A hostile shot flies through until 5000 ms after the death, inclusive.
    Entity* bomb = EnemyShot(77, 270);
    for (uint32_t wait : { 4000u, 1000u, 1u }) {
        SysSleep(wait);
        ResolveCollisions(world);
        EXPECT_EQ(world->player.active, wait != 1) << wait;
    }
    EXPECT_FALSE(bomb->active);
    EXPECT_EQ(world->lives, 1u);
    EXPECT_EQ(world->lastDeathTick, death + 5001);

    // The last life ends without a return, and lives never wrap below zero.
    SysSleep(5001);
    world->player.active = 1;
    EnemyShot(120, 270);
    world->player.x = 120;
    ResolveCollisions(world);
    EXPECT_EQ(world->lives, 0u);
    EXPECT_EQ(FramesUntilBack(), 0);
    EntityActivate(&world->player, 1);
    SysSleep(5001);
    EnemyShot(120, 270);
    ResolveCollisions(world);
    EXPECT_EQ(world->lives, 0u);
}

TEST_F(CollideTest, PickUpsAtTheEdgeOfTheShipsBoxUpToTheirLimits)
{
    // The ship's box is 120 +- 12 by 270 +- 10, edges inside; grace does not stop pick-ups.
    world->lastDeathTick = SysTicks();
    for (auto [x, y, taken] : { std::array{ 133, 270, 0 }, { 132, 270, 1 }, { 108, 280, 1 }, { 120, 260, 1 },
                                { 120, 259, 0 }, { 107, 270, 0 } }) {
        Entity* item = EnemyShot(x, y, 18);
        ResolveCollisions(world);
        EXPECT_EQ(item->active, !taken) << x << "," << y;
        item->active = 0;
    }
    EXPECT_EQ(world->weaponLevel, 5);
    EXPECT_EQ(Effects().back(), 7);

    world->weaponLevel = 9;   // past level 9 a power-up scores 100
    EnemyShot(120, 270, 18);
    ResolveCollisions(world);
    EXPECT_EQ(world->weaponLevel, 9);
    EXPECT_EQ(world->score, 100u);

    ParticleSystemClear(&particleSystem);
    EnemyShot(120, 270, 34);
    ResolveCollisions(world);
    EXPECT_EQ(world->lives, 4u);
    EXPECT_EQ(Effects(), std::vector<int>{ 8 });
    for (int i = 0; i < 2; i++) {   // five lives at most; past them a life scores 500
        EnemyShot(120, 270, 34);
        ResolveCollisions(world);
    }
    EXPECT_EQ(world->lives, 5u);
    EXPECT_EQ(world->score, 1100u);
}

TEST_F(CollideTest, RammingAShipDestroysBothOutsideTheThreeSeconds)
{
    world->enemiesAlive = 8;
    world->weaponLevel = 9;
    world->lastDeathTick = SysTicks() - 3000;
    Entity* ship = Ship(130, 278);
    ResolveCollisions(world);
    EXPECT_TRUE(ship->active && world->player.active);
    SysSleep(1);
    ResolveCollisions(world);
    EXPECT_FALSE(ship->active);
    EXPECT_EQ(Tally(), (std::vector<long>{ 0, 2, 0, 0, 7, 7 }));   // the shield does not help
    EXPECT_EQ(Effects(), bigBlast);
}

TEST_F(CollideTest, ShotsOnShipsScoreAndRollOncePerHit)
{
    world->enemiesAlive = 8;
    Entity* ship = Ship(60, 80);
    Entity* turret = Turret(60, 80);   // underneath: only the ship is hit
    Entity* shot = PlayerShot(68, 87);   // the ship's box corner
    EXPECT_EQ(Resolve(0), 1);
    EXPECT_FALSE(shot->active || ship->active);
    EXPECT_EQ(turret->hits, 5);
    EXPECT_EQ(Tally(), (std::vector<long>{ 10, 3, 2, 1, 7, 7 }));
    EXPECT_EQ(world->plainShots, 0);
    EXPECT_EQ(Effects(), smallBlast);
    EXPECT_EQ(ActiveShots(), 0);

    // A ship of the second loop survives its first hit: a roll, a blast, no score. One roll in five
    // drops a power-up where the ship is, falling.
    ClearPlay();
    ship = Ship(60, 80, 2);
    PlayerShot(60, 80, 130);
    EXPECT_EQ(Resolve(1), 1);
    EXPECT_TRUE(ship->active);
    EXPECT_EQ(ship->hits, 1);
    EXPECT_EQ(world->score, 10u);
    EXPECT_EQ(Effects(), smallBlast);
    const Entity& powerUp = world->enemyShots[0];
    ASSERT_TRUE(powerUp.active);
    EXPECT_EQ(std::vector<int>({ powerUp.motion, powerUp.x, powerUp.y }), std::vector<int>({ 18, 60, 80 }));
    EXPECT_EQ(powerUp.vy, 3.0f);

    // A shot just outside, or a frame with no contact at all, draws nothing; two ships hit, two rolls.
    Entity* miss = PlayerShot(69, 80);
    EXPECT_EQ(Resolve(), 0);
    EXPECT_TRUE(miss->active);
    Ship(150, 40);
    PlayerShot(60, 80);
    PlayerShot(150, 40);
    EXPECT_EQ(Resolve(), 2);
    EXPECT_EQ(world->score, 30u);
}

TEST_F(CollideTest, TurretTakesFiveHitsThenRollsForALife)
{
    Entity* turret = Turret(100, 60);
    for (int hit = 1; hit <= 4; hit++) {
        ParticleSystemClear(&particleSystem);
        PlayerShot(90, 70);   // the box corner
        EXPECT_EQ(Resolve(), 0) << hit;
        EXPECT_EQ(world->score, 100u * hit);
        EXPECT_EQ(Effects(), smallBlast);
    }
    EXPECT_TRUE(turret->active);
    EXPECT_EQ(world->plainShots, 0);
    ParticleSystemClear(&particleSystem);
    PlayerShot(110, 50, 131);
    EXPECT_EQ(Resolve(1), 1);
    EXPECT_FALSE(turret->active);
    EXPECT_EQ(world->score, 500u);
    EXPECT_EQ(Effects(), bigBlast);
    EXPECT_EQ(ActiveShots(), 0);   // three lives: no extra life

    // The roll is drawn whatever the lives; below three, one in five drops a life.
    world->lives = 2;
    for (int remainder : { 0, 1 }) {
        Turret(40, 200, 1);
        PlayerShot(40, 200);
        EXPECT_EQ(Resolve(remainder), 1);
    }
    ASSERT_EQ(ActiveShots(), 1);
    EXPECT_EQ(world->enemyShots[0].motion, 34);
    EXPECT_EQ(world->enemyShots[0].x, 40);
    EXPECT_EQ(world->enemyShots[0].vy, 3.0f);
}

TEST_F(CollideTest, PickUpsNeedAFreeEnemyShotSlot)
{
    for (int i = 0; i < 12; i++) {
        EXPECT_TRUE(i % 2 ? SpawnExtraLife(world, 10 * i, 20) : SpawnPowerUp(world, 10 * i, 20)) << i;
        EXPECT_EQ(world->enemyShots[i].motion, i % 2 ? 34 : 18);
    }
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
