// Collisions: enemy shots and pick-ups against the ship, rams, the player's shots against ships, turrets and
// boss parts, with their score, explosions and random rolls; death, grace and the ship's return.
#include "game/boss.h"
#include "game/collide.h"
#include "tests/game/playfield.h"

namespace {

using playfield::Playfield;
using playfield::RandDraws;
using playfield::SeedDrawing;

const std::vector<int> smallBlast = { 6, 7 };
const std::vector<int> bigBlast = { 6, 5, 7 };

class CollideTest : public Playfield {
protected:
    void ClearEffects() { ParticleSystemClear(&particleSystem); }

    // Renders until the ship's return, or gives up after a minute of frames.
    int FramesUntilBack()
    {
        for (int frame = 1; frame <= 1200; frame++) {
            ParticleSystemRender(&particleSystem, &world->backBuffer);
            if (world->player.active)
                return frame;
        }
        return 0;
    }
};

TEST_F(CollideTest, HostileShotCostsFiveLevelsOrTheShip)
{
    world->weaponLevel = 7;
    Entity* bomb = EnemyShot(120, 270);
    ResolveCollisions(world);
    EXPECT_FALSE(bomb->active);
    EXPECT_EQ(world->weaponLevel, 2);
    EXPECT_TRUE(world->player.active);
    EXPECT_EQ(Effects(), smallBlast);
    EXPECT_EQ(world->lives, 3u);

    // Turret shots harm the same way; at level 4 the shield gives out.
    ClearEffects();
    world->weaponLevel = 4;
    EnemyShot(120, 270, 138);
    ResolveCollisions(world);
    EXPECT_FALSE(world->player.active);
    EXPECT_EQ(world->weaponLevel, 0);
    EXPECT_EQ(world->lives, 2u);
    EXPECT_EQ(world->lastDeathTick, SysTicks());
    EXPECT_EQ(Effects(), bigBlast);
    EXPECT_EQ(particleSystem.emitters[1].flags, EffectReportEnd);
    EXPECT_EQ(particleSystem.emitters[0].x, 120.0f);
    EXPECT_EQ(particleSystem.emitters[0].y, 270.0f);
    EXPECT_EQ(world->score, 0u);
}

TEST_F(CollideTest, OnlyTheFirstOverlappingEnemyShotIsHandledEachFrame)
{
    world->weaponLevel = 9;
    Entity* first = EnemyShot(125, 272);
    Entity* second = EnemyShot(118, 268);
    ResolveCollisions(world);
    EXPECT_FALSE(first->active);
    EXPECT_TRUE(second->active);
    EXPECT_EQ(world->weaponLevel, 4);
    ResolveCollisions(world);
    EXPECT_FALSE(second->active);
    EXPECT_FALSE(world->player.active);
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

    // Nothing touches a ship that is down, pick-ups included.
    Entity* powerUp = EnemyShot(77, 270, 18);
    ResolveCollisions(world);
    EXPECT_TRUE(powerUp->active);
    powerUp->active = 0;

    int frames = FramesUntilBack();
    EXPECT_GT(frames, 1);
    EXPECT_EQ(world->player.x, 77);
    EXPECT_EQ(world->player.y, 270);
    EXPECT_EQ(world->player.vx, 0.0f);
    EXPECT_EQ(world->player.motion, MotionCoast);
    EXPECT_EQ(world->lives, 2u);

    // Four seconds after the death a hostile shot flies through.
    SysSleep(4000);
    Entity* bomb = EnemyShot(77, 270);
    ResolveCollisions(world);
    EXPECT_TRUE(bomb->active);
    EXPECT_TRUE(world->player.active);
    SysSleep(1000);   // exactly 5000: still inside
    ResolveCollisions(world);
    EXPECT_TRUE(world->player.active);
    SysSleep(1);
    ResolveCollisions(world);
    EXPECT_FALSE(bomb->active);
    EXPECT_FALSE(world->player.active);
    EXPECT_EQ(world->lives, 1u);
    EXPECT_EQ(world->lastDeathTick, death + 5001);
}

TEST_F(CollideTest, TheLastLifeEndsWithoutAReturn)
{
    world->lives = 1;
    world->weaponLevel = 0;
    EnemyShot(120, 270);
    ResolveCollisions(world);
    EXPECT_EQ(world->lives, 0u);
    EXPECT_EQ(FramesUntilBack(), 0);

    // Lives never wrap below zero.
    EntityActivate(&world->player, 1);
    SysSleep(5001);
    EnemyShot(120, 270);
    ResolveCollisions(world);
    EXPECT_EQ(world->lives, 0u);
}

TEST_F(CollideTest, PickUpsAreCollectedAtTheEdgeOfTheShipsBox)
{
    // The ship's box is 120 +- 12 by 270 +- 10, edges inside.
    Entity* outside = EnemyShot(133, 270, 18);
    ResolveCollisions(world);
    EXPECT_TRUE(outside->active);
    EXPECT_EQ(world->weaponLevel, 2);
    outside->active = 0;

    world->lastDeathTick = SysTicks();   // grace does not stop pick-ups
    for (auto [x, y] : { std::pair{ 132, 270 }, std::pair{ 108, 280 }, std::pair{ 120, 260 } }) {
        Entity* item = EnemyShot(x, y, 18);
        ResolveCollisions(world);
        EXPECT_FALSE(item->active) << x << "," << y;
    }
    EXPECT_EQ(world->weaponLevel, 5);
    EXPECT_EQ(Effects().back(), 7);

    world->weaponLevel = 9;
    EnemyShot(120, 270, 18);
    ResolveCollisions(world);
    EXPECT_EQ(world->weaponLevel, 9);
    EXPECT_EQ(world->score, 100u);

    ClearEffects();
    EnemyShot(120, 270, 34);
    ResolveCollisions(world);
    EXPECT_EQ(world->lives, 4u);
    EXPECT_EQ(Effects(), std::vector<int>{ 8 });
    EnemyShot(120, 270, 34);
    ResolveCollisions(world);
    EnemyShot(120, 270, 34);
    ResolveCollisions(world);
    EXPECT_EQ(world->lives, 5u);
    EXPECT_EQ(world->score, 1100u);
}

TEST_F(CollideTest, RammingAShipDestroysBothOutsideTheThreeSeconds)
{
    world->enemiesAlive = world->enemiesLeft = 8;
    world->weaponLevel = 9;
    world->lastDeathTick = SysTicks() - 3000;
    Entity* ship = Ship(130, 278);
    ResolveCollisions(world);
    EXPECT_TRUE(ship->active);
    EXPECT_TRUE(world->player.active);

    SysSleep(1);
    ResolveCollisions(world);
    EXPECT_FALSE(ship->active);
    EXPECT_FALSE(world->player.active);
    EXPECT_EQ(world->weaponLevel, 0);   // the shield does not help
    EXPECT_EQ(world->lives, 2u);
    EXPECT_EQ(world->enemiesAlive, 7);
    EXPECT_EQ(world->enemiesLeft, 7);
    EXPECT_EQ(world->score, 0u);
    EXPECT_EQ(Effects(), bigBlast);
}

TEST_F(CollideTest, ShotsOnShipsScoreAndRollOncePerHit)
{
    world->enemiesAlive = world->enemiesLeft = 8;
    Entity* ship = Ship(60, 80);
    Entity* turret = Turret(60, 80);   // underneath: only the ship is hit
    Entity* shot = PlayerShot(68, 87);   // the ship's box corner
    int draws = RandDraws(SeedDrawing(0), [&] { ResolveCollisions(world); });
    EXPECT_EQ(draws, 1);
    EXPECT_FALSE(shot->active);
    EXPECT_FALSE(ship->active);
    EXPECT_EQ(turret->hits, 5);
    EXPECT_EQ(world->score, 10u);
    EXPECT_EQ(world->plainShots, 0);
    EXPECT_EQ(world->enemiesAlive, 7);
    EXPECT_EQ(world->enemiesLeft, 7);
    EXPECT_EQ(Effects(), smallBlast);
    EXPECT_EQ(CountActive(world->enemyShots, 12), 0);

    // A ship of the second loop survives its first hit: a roll, a blast, no score.
    ClearEffects();
    turret->active = 0;
    ship = Ship(60, 80, 2);
    PlayerShot(60, 80, 130);
    world->plainShots = 0;
    draws = RandDraws(SeedDrawing(1), [&] { ResolveCollisions(world); });
    EXPECT_EQ(draws, 1);
    EXPECT_TRUE(ship->active);
    EXPECT_EQ(ship->hits, 1);
    EXPECT_EQ(world->score, 10u);
    EXPECT_EQ(world->plainShots, 0);
    EXPECT_EQ(Effects(), smallBlast);
    // One roll in five drops a power-up where the ship is, falling.
    Entity* powerUp = &world->enemyShots[0];
    ASSERT_TRUE(powerUp->active);
    EXPECT_EQ(powerUp->motion, 18);
    EXPECT_EQ(powerUp->x, 60);
    EXPECT_EQ(powerUp->y, 80);
    EXPECT_EQ(powerUp->vy, 3.0f);

    // A shot just outside, or a frame with no contact at all, draws nothing.
    Entity* miss = PlayerShot(69, 80);
    EXPECT_EQ(RandDraws(7, [&] { ResolveCollisions(world); }), 0);
    EXPECT_TRUE(miss->active);

    // Two shots on two ships: two rolls.
    Ship(150, 40);
    PlayerShot(60, 80);
    PlayerShot(150, 40);
    EXPECT_EQ(RandDraws(7, [&] { ResolveCollisions(world); }), 2);
    EXPECT_EQ(world->score, 30u);
}

TEST_F(CollideTest, TurretTakesFiveHitsThenRollsForALife)
{
    Entity* turret = Turret(100, 60);
    for (int hit = 1; hit <= 4; hit++) {
        ClearEffects();
        PlayerShot(90, 70);   // the box corner
        EXPECT_EQ(RandDraws(3, [&] { ResolveCollisions(world); }), 0) << hit;
        EXPECT_EQ(world->score, 100u * hit);
        EXPECT_EQ(Effects(), smallBlast);
    }
    EXPECT_TRUE(turret->active);
    EXPECT_EQ(world->plainShots, 0);
    ClearEffects();
    PlayerShot(110, 50, 131);
    EXPECT_EQ(RandDraws(SeedDrawing(1), [&] { ResolveCollisions(world); }), 1);
    EXPECT_FALSE(turret->active);
    EXPECT_EQ(world->score, 500u);
    EXPECT_EQ(Effects(), bigBlast);
    EXPECT_EQ(CountActive(world->enemyShots, 12), 0);   // three lives: no extra life

    // The roll is drawn whatever the lives; below three it may drop a life.
    world->lives = 2;
    for (unsigned remainder : { 0u, 1u }) {
        Turret(40, 200, 1);
        PlayerShot(40, 200);
        EXPECT_EQ(RandDraws(SeedDrawing((int)remainder), [&] { ResolveCollisions(world); }), 1);
    }
    ASSERT_EQ(CountActive(world->enemyShots, 12), 1);
    EXPECT_EQ(world->enemyShots[0].motion, 34);
    EXPECT_EQ(world->enemyShots[0].x, 40);
    EXPECT_EQ(world->enemyShots[0].vy, 3.0f);
}

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
        int w = def->image->width, h = def->image->height;
        bx = 120 - w / 2;
        by = 90 - h / 2;
        for (int k = 0; k < def->partCount; k++)
            world->partHits[k] = 5;
    }
    // A shot on the far corner of part k's box.
    Entity* ShotOn(int k) { return PlayerShot(def->hitRects[k].right + bx, def->hitRects[k].bottom + by); }
    int CentreX(int k) { const BossRect& r = def->hitRects[k]; return r.left + (r.right - r.left) / 2 + bx; }
    int CentreY(int k) { const BossRect& r = def->hitRects[k]; return r.top + (r.bottom - r.top) / 2 + by; }
};

TEST_F(BossCollideTest, FifteenHitsDestroyTheFirstBoss)
{
    ASSERT_EQ(def->partCount, 3);
    for (int k = 0; k < 3; k++) {
        for (int hit = 0; hit < 5; hit++) {
            ClearEffects();
            ShotOn(k);
            ResolveCollisions(world);
            EXPECT_EQ(world->partHits[k], 4 - hit);
            EXPECT_EQ(Effects(), (k == 2 && hit == 4 ? std::vector<int>{ 6, 7, 6, 5, 7 } : smallBlast));
            EXPECT_EQ(particleSystem.emitters[0].x, (float)CentreX(k));
            EXPECT_EQ(particleSystem.emitters[0].y, (float)CentreY(k));
        }
        // Each part drops a power-up from its centre as it falls.
        EXPECT_EQ(CountActive(world->enemyShots, 12), k + 1);
        EXPECT_EQ(world->enemyShots[k].x, CentreX(k));
        EXPECT_EQ(world->enemyShots[k].motion, 18);
    }
    EXPECT_EQ(world->bossDestroyed, 1u);
    EXPECT_EQ(world->score, 15u * 10 + 1000);
    EXPECT_EQ(particleSystem.emitters[2].x, 120.0f);
    EXPECT_EQ(world->plainShots, 0);

    // A destroyed boss takes no more hits.
    Entity* late = ShotOn(0);
    ResolveCollisions(world);
    EXPECT_TRUE(late->active);
}

TEST_F(BossCollideTest, ALastPartFallingToALaterShotIsNoticedNextFrame)
{
    world->partHits[0] = 2;
    world->partHits[1] = world->partHits[2] = 0;
    ShotOn(0);
    ShotOn(0);
    ResolveCollisions(world);
    EXPECT_EQ(world->partHits[0], 0);
    EXPECT_EQ(world->bossDestroyed, 0u);
    EXPECT_EQ(world->score, 20u);

    // No shot in flight: nobody looks.
    ResolveCollisions(world);
    EXPECT_EQ(world->bossDestroyed, 0u);

    // Any shot does, hit or not.
    Entity* stray = PlayerShot(5, 300);
    ResolveCollisions(world);
    EXPECT_EQ(world->bossDestroyed, 1u);
    EXPECT_EQ(world->score, 1020u);
    EXPECT_TRUE(stray->active);
}

TEST_F(BossCollideTest, PartsAreHitOnlyInsideTheirBoxesAndOnlyWhileStanding)
{
    const BossRect& r = def->hitRects[1];
    Entity* beside = PlayerShot(r.right + bx + 1, r.top + by);
    ResolveCollisions(world);
    EXPECT_TRUE(beside->active);
    EXPECT_EQ(world->score, 0u);
    beside->active = 0;
    world->plainShots = 0;

    world->partHits[1] = 0;
    Entity* through = ShotOn(1);
    ResolveCollisions(world);
    EXPECT_TRUE(through->active);
    EXPECT_EQ(world->score, 0u);

    world->bossActive = 0;
    world->partHits[1] = 5;
    ResolveCollisions(world);
    EXPECT_TRUE(through->active);
}

TEST_F(CollideTest, PickUpsNeedAFreeEnemyShotSlot)
{
    for (int i = 0; i < 12; i++) {
        EXPECT_TRUE(i % 2 ? SpawnExtraLife(world, 10 * i, 20) : SpawnPowerUp(world, 10 * i, 20)) << i;
        EXPECT_EQ(world->enemyShots[i].vy, 3.0f);
        EXPECT_EQ(world->enemyShots[i].motion, i % 2 ? 34 : 18);
    }
    EXPECT_FALSE(SpawnPowerUp(world, 50, 50));
    EXPECT_FALSE(SpawnExtraLife(world, 50, 50));

    // A lucky roll with the pool full drops nothing and the hit goes on.
    Entity* ship = Ship(60, 80);
    PlayerShot(60, 80);
    EXPECT_EQ(RandDraws(SeedDrawing(1), [&] { ResolveCollisions(world); }), 1);
    EXPECT_FALSE(ship->active);
    EXPECT_EQ(world->score, 10u);
}

}   // namespace
