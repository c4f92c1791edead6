// Play on the started program with every pool emptied, and a playfield variant whose images have known sizes.
#pragma once
#include "game/loop.h"
#include "gfx/particle.h"
#include "tests/headless_game.h"

#include <algorithm>
#include <functional>

class PlayTest : public HeadlessGame {
protected:
    void SetUp() override
    {
        HeadlessGame::SetUp();
        NewGame(world);
        ClearPlay();
    }

    // No opponent, shot or particle in play.
    void ClearPlay()
    {
        auto clear = [](auto& pool) {
            for (Entity& e : pool)
                e.active = 0;
        };
        clear(world->enemies), clear(world->enemyShots), clear(world->turrets), clear(world->playerShots);
        world->enemiesAlive = 0;
        world->plainShots = 0;
        ParticleSystemClear(&particleSystem);
    }
    template <size_t N>
    static int Active(const Entity (&pool)[N])
    {
        return (int)std::count_if(pool, pool + N, [](const Entity& e) { return e.active != 0; });
    }
    int ActiveShots() { return Active(world->enemyShots); }

    // The kinds of the running effects, in number order.
    static std::vector<int> Effects()
    {
        std::vector<int> kinds;
        for (const Emitter& e : particleSystem.emitters)
            if (e.active)
                kinds.push_back((int)e.kind);
        return kinds;
    }

    void Blank() { SurfaceClear(back, 0); }

    // How many random values op consumed, starting from RandomSeed(seed); -1 when more than 60.
    static int RandDraws(unsigned seed, const std::function<void()>& op)
    {
        std::vector<int> reference = Draws(seed, 64);
        op();
        int next = RandomNext(), after = RandomNext();
        for (int i = 0; i + 1 < (int)reference.size(); i++)
            if (reference[i] == next && reference[i + 1] == after)
                return i;
        return -1;
    }
    // A seed whose first draw leaves remainder mod 5.
    static unsigned SeedDrawing(int remainder)
    {
        unsigned seed = 1;
        while (Draws(seed, 1)[0] % 5 != remainder)
            seed++;
        return seed;
    }
};

// Images of known sizes (box halves by shifting: the ship 12 x 10, an enemy ship 8 x 7, a turret 10 x 10),
// and the ship in play at (120, 270) past every grace period and fire interval.
class Playfield : public PlayTest {
protected:
    Surface gun, ship, turret, shot, bomb;

    void SetUp() override
    {
        PlayTest::SetUp();
        const std::pair<Surface*, std::array<int, 2>> sizes[] = {
            { &gun, { 24, 20 } }, { &ship, { 17, 15 } }, { &turret, { 20, 21 } }, { &shot, { 4, 8 } }, { &bomb, { 4, 4 } }
        };
        for (auto [image, size] : sizes)
            SurfaceCreate(image, size[0], size[1]);
        EntityInit(&world->player, &gun);
        auto init = [](auto& pool, Surface* image) {
            for (Entity& e : pool)
                EntityInit(&e, image);
        };
        init(world->enemies, &ship), init(world->playerShots, &shot), init(world->enemyShots, &bomb), init(world->turrets, &turret);
        EntityActivate(&world->player, 1);
        EntitySetPosition(&world->player, 120, 270);
        EntitySetMotion(&world->player, 0.75f, 0.75f, MotionCoast);
        world->weaponLevel = 2;
        world->lives = 3;
        world->loopCount = 1;
        world->lastDeathTick = 0;
        SysSleep(10000);
    }
    template <size_t N>
    static Entity* Spawn(Entity (&pool)[N], int x, int y, uint8_t motion, int hits = 1)
    {
        for (Entity& e : pool) {
            if (e.active)
                continue;
            EntitySetPosition(&e, x, y);
            EntityActivate(&e, 1);
            EntitySetMotion(&e, 0, 0, motion);
            e.hits = (uint8_t)hits;
            return &e;
        }
        return nullptr;
    }
    Entity* Ship(int x, int y, int hits = 1) { return Spawn(world->enemies, x, y, 0, hits); }
    Entity* Turret(int x, int y, int hits = 5) { return Spawn(world->turrets, x, y, 2, hits); }
    Entity* EnemyShot(int x, int y, uint8_t motion = 10) { return Spawn(world->enemyShots, x, y, motion); }
    Entity* PlayerShot(int x, int y, uint8_t motion = 2)
    {
        world->plainShots += motion < FlagSpecial;
        return Spawn(world->playerShots, x, y, motion);
    }
    int Shots() { return Active(world->playerShots); }
};
