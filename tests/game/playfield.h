// A small game prepared by hand for the player and collision tests: pools with images of known
// sizes, the ship in play, the particle system's owner wired to the window procedure, and rand() counting.
#pragma once
#include "app/windowproc.h"
#include "game/world.h"
#include "gfx/particle.h"
#include "platform/headless.h"
#include "platform/sys.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <vector>

namespace playfield {

// Everything but creation goes to the game's window procedure, so the particle
// system's messages reach the world the test prepared.
inline intptr_t OwnerProc(Window* window, uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    if (message == WM_CREATE)
        return 0;
    return WindowProc(window, message, wParam, lParam);
}

// How many rand() values op consumed, starting from srand(seed); -1 when more than 60.
inline int RandDraws(unsigned seed, const std::function<void()>& op)
{
    srand(seed);
    std::vector<int> reference(64);
    for (int& value : reference)
        value = rand();
    srand(seed);
    op();
    int next = rand(), after = rand();
    for (int i = 0; i + 1 < (int)reference.size(); i++)
        if (reference[i] == next && reference[i + 1] == after)
            return i;
    return -1;
}

// A seed whose first rand() leaves remainder mod 5.
inline unsigned SeedDrawing(int remainder)
{
    for (unsigned seed = 1;; seed++) {
        srand(seed);
        if (rand() % 5 == remainder)
            return seed;
    }
}

class Playfield : public ::testing::Test {
protected:
    std::unique_ptr<GameWorld> game = std::make_unique<GameWorld>();
    GameWorld* world = game.get();
    Window* owner = nullptr;
    // Box halves by shifting: the ship 12 x 10, an enemy ship 8 x 7, a turret 10 x 10.
    Surface gun, ship, turret, shot, bomb;

    void SetUp() override
    {
        HeadlessReset();
        PixelFormatSelect(0xA0);
        ParticleSystemInit(&particleSystem);
        static const WindowClass ownerClass = { 0, OwnerProc, 0, 0, L"PlayfieldOwner" };
        WindowRegisterClass(&ownerClass);
        owner = WindowCreate(L"PlayfieldOwner", L"", 0, 0, 0, 240, 320, nullptr);
        WindowSetData(owner, world);
        particleSystem.owner = owner;
        Surface* flare = &particleSystem.images[ParticleFlare];
        SurfaceCreate(flare, 64, 64);
        flare->colourKey = 0xFFFF;
        for (int i = 0; i < 64 * 64; i++)
            flare->pixels[i] = 250;
        SurfaceCreate(&world->backBuffer, 240, 320);
        SurfaceClear(&world->backBuffer, 0);
        SurfaceCreate(&gun, 24, 20);
        SurfaceCreate(&ship, 17, 15);
        SurfaceCreate(&turret, 20, 21);
        SurfaceCreate(&shot, 4, 8);
        SurfaceCreate(&bomb, 4, 4);
        EntityInit(&world->player, &gun);
        for (Entity& e : world->enemies)
            EntityInit(&e, &ship);
        for (Entity& e : world->playerShots)
            EntityInit(&e, &shot);
        for (Entity& e : world->enemyShots)
            EntityInit(&e, &bomb);
        for (Entity& e : world->turrets)
            EntityInit(&e, &turret);
        EntityActivate(&world->player, 1);
        EntitySetPosition(&world->player, 120, 270);
        EntitySetMotion(&world->player, 0.75f, 0.75f, MotionCoast);
        world->weaponLevel = 2;
        world->lives = 3;
        world->loopCount = 1;
        // Past every grace period and fire interval measured from tick 0.
        SysSleep(10000);
    }

    void TearDown() override { WindowDestroy(owner); }

    static Entity* Spawn(Entity* pool, int count, int x, int y, uint8_t motion, int hits = 1)
    {
        for (int i = 0; i < count; i++) {
            if (pool[i].active)
                continue;
            EntitySetPosition(&pool[i], x, y);
            EntityActivate(&pool[i], 1);
            EntitySetMotion(&pool[i], 0, 0, motion);
            pool[i].hits = (uint8_t)hits;
            return &pool[i];
        }
        return nullptr;
    }
    Entity* Ship(int x, int y, int hits = 1) { return Spawn(world->enemies, 12, x, y, 0, hits); }
    Entity* Turret(int x, int y, int hits = 5) { return Spawn(world->turrets, 6, x, y, 2, hits); }
    Entity* EnemyShot(int x, int y, uint8_t motion = 10) { return Spawn(world->enemyShots, 12, x, y, motion); }
    Entity* PlayerShot(int x, int y, uint8_t motion = 2)
    {
        if (motion < FlagSpecial)
            world->plainShots++;
        return Spawn(world->playerShots, 15, x, y, motion);
    }

    static int CountActive(const Entity* pool, int count)
    {
        int n = 0;
        for (int i = 0; i < count; i++)
            n += pool[i].active != 0;
        return n;
    }
    int Shots() { return CountActive(world->playerShots, 15); }

    // The kinds of the running effects, in number order.
    static std::vector<int> Effects()
    {
        std::vector<int> kinds;
        for (const Emitter& e : particleSystem.emitters)
            if (e.active)
                kinds.push_back((int)e.kind);
        return kinds;
    }
    static int Particles()
    {
        int n = 0;
        for (const Particle& p : particleSystem.particles)
            n += p.active;
        return n;
    }
};

}   // namespace playfield
