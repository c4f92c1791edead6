// Whole frames of play at their busiest, against the 50 ms a frame may take, and headless play against real time.
#include "app/display.h"
#include "app/entry.h"
#include "game/loop.h"
#include "game/player.h"
#include "game/world.h"
#include "gfx/particle.h"
#include "platform/headless.h"
#include "platform/sys.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>

// The program started on the headless machine, in a folder of its own, with a game in play.
static GameWorld* StartGame()
{
    static bool started = false;
    if (!started) {
        std::filesystem::path folder = std::filesystem::temp_directory_path() / "space-shooter-bench";
        std::filesystem::create_directories(folder);
        std::filesystem::current_path(folder);
        HeadlessReset();
        HeadlessSetInstanceScope(folder.string());
        displayProps = GXGetDisplayProperties();
        PixelFormatSelect(displayProps.ffFormat);
        InitInstance(SysModule());
        started = true;
    }
    NewGame(&gameWorld);
    gameWorld.framesEnabled = 1;
    return &gameWorld;
}

static void Activate(Entity* entity, int x, int y, uint8_t motion, float vx, float vy)
{
    EntityActivate(entity, 1);
    entity->x = (int16_t)x;
    entity->y = (int16_t)y;
    entity->motion = motion;
    entity->vx = vx;
    entity->vy = vy;
}

// Every pool full and every particle alive: ships and turrets spread over the screen, the player's shots
// and the enemy shots in flight between them, out of one another's way so that the frame keeps them all.
static void FillEveryPool(GameWorld* world)
{
    world->lastDeathTick = SysTicks();   // in grace: enemy shots pass through the ship
    for (int i = 0; i < 12; i++)
        Activate(&world->enemies[i], 20 + 18 * i, 60 + 8 * (i % 4), 0, 0, 0);
    for (int i = 0; i < 6; i++) {
        Activate(&world->turrets[i], 20 + 40 * i, 150, 2, 0, 1.0f);
        world->turrets[i].hits = 5;
    }
    for (int i = 0; i < 15; i++)
        Activate(&world->playerShots[i], 8 + 15 * i, 230, i % 3 ? 2 : 130, 0, -1.0f);
    for (int i = 0; i < 12; i++)
        Activate(&world->enemyShots[i], 10 + 20 * i, 200, i % 4 ? 10 : 138, 0, 1.0f);
    for (int i = 0; i < ParticleCount; i++)
        SpawnParticle(&particleSystem, 5 + i % 4, 120, 160, 1.0f, 0.75f, 0, 0, 6.28f, 0);
}

static void BM_BusiestFrame(benchmark::State& state)
{
    GameWorld* world = StartGame();
    bool boss = state.range(0) == 1;
    if (boss)
        ScheduleWave(world, 13);   // four parts, the widest boss image
    for (auto _ : state) {
        state.PauseTiming();
        ParticleSystemClear(&particleSystem);
        FillEveryPool(world);
        world->enemiesAlive = world->enemiesLeft = 12;
        state.ResumeTiming();
        RunGameFrame(world);
    }
    state.SetLabel(boss ? "RunBossFrame" : "RunGameFrame");
    // The share of a frame's 50 ms that the frame takes.
    state.counters["budget"] = benchmark::Counter(state.iterations() * 0.050, benchmark::Counter::kIsRate |
                                                                                 benchmark::Counter::kInvert);
}
BENCHMARK(BM_BusiestFrame)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// Frames of real play, a held fire key and the ship swaying, for as long as the virtual clock says 60 s:
// how many times faster than real time the headless machine plays.
static void BM_HeadlessPlay(benchmark::State& state)
{
    GameWorld* world = StartGame();
    long frames = 0;
    double seconds = 0;
    for (auto _ : state) {
        auto begin = std::chrono::steady_clock::now();
        for (int frame = 0; frame < 1200; frame++) {
            if (!RunGameFrame(world))
                StartGame();
            if (frame % 3 == 0)
                FireControl(world);
            SysSleep(50);
            frames++;
        }
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    }
    state.counters["fps"] = frames / seconds;
    state.counters["xRealTime"] = frames / seconds / 20.0;
}
BENCHMARK(BM_HeadlessPlay)->Unit(benchmark::kMillisecond)->Iterations(3);

BENCHMARK_MAIN();
