// The world the opponents' tests play in: the program started headless with its real art, the pools emptied.
#pragma once
#include "app/display.h"
#include "app/entry.h"
#include "game/loop.h"
#include "game/world.h"
#include "gfx/particle.h"
#include "platform/headless.h"
#include "platform/sys.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <vector>

class OpponentTest : public ::testing::Test {
protected:
    GameWorld* world = &gameWorld;

    void SetUp() override
    {
        // Start-up writes the high-score file into the working folder.
        std::filesystem::path folder = std::filesystem::path(::testing::TempDir()) /
                                       ::testing::UnitTest::GetInstance()->current_test_info()->name();
        std::filesystem::create_directories(folder);
        std::filesystem::current_path(folder);
        HeadlessReset();
        HeadlessSetInstanceScope(folder.string());
        displayProps = GXGetDisplayProperties();
        PixelFormatSelect(displayProps.ffFormat);
        ASSERT_TRUE(InitInstance(SysModule()));
        NewGame(world);
        ClearPlay();
    }

    // No ship, turret, shot or particle in play.
    void ClearPlay()
    {
        for (Entity& e : world->enemies)
            e.active = 0;
        for (Entity& e : world->enemyShots)
            e.active = 0;
        for (Entity& e : world->turrets)
            e.active = 0;
        for (Entity& e : world->playerShots)
            e.active = 0;
        world->enemiesAlive = 0;
        ParticleSystemClear(&particleSystem);
    }

    // Compiles a path for the wave from its commands.
    void UsePath(std::vector<const char*> commands, int spacing)
    {
        commands.push_back(nullptr);
        ASSERT_TRUE(FlightPathCompile(&world->path, commands.data(), spacing));
    }

    Surface* Frame() { return &world->backBuffer; }
    uint16_t Pixel(int x, int y) { return world->backBuffer.pixels[y * 240 + x]; }
    std::vector<uint16_t> Snapshot()
    {
        return std::vector<uint16_t>(world->backBuffer.pixels, world->backBuffer.pixels + 240 * 320);
    }
    void Blank() { SurfaceClear(&world->backBuffer, 0); }

    int ActiveShots()
    {
        int n = 0;
        for (const Entity& e : world->enemyShots)
            n += e.active != 0;
        return n;
    }

    int ActiveEffects()
    {
        int n = 0;
        for (const Emitter& e : particleSystem.emitters)
            n += e.active != 0;
        return n;
    }

    int ActiveParticles()
    {
        int n = 0;
        for (const Particle& p : particleSystem.particles)
            n += p.active != 0;
        return n;
    }

    // The draws rand() will make after srand(seed).
    static std::vector<int> Draws(unsigned seed, int count)
    {
        srand(seed);
        std::vector<int> values;
        for (int i = 0; i < count; i++)
            values.push_back(rand());
        srand(seed);
        return values;
    }
};
