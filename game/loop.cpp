// The game loop. Stand-in: a new game sets its counters, and a frame shows the scene's plain colour.
#include "game/loop.h"
#include "app/display.h"
#include "game/world.h"

int NewGame(GameWorld* world)
{
    world->score = 0;
    world->waveIndex = 0;
    world->stageNumber = 0;
    world->weaponLevel = 2;
    world->firePresses = 0;
    world->lives = 3;
    world->loopCount = 1;
    world->plainShots = 0;
    world->bossKind = world->bossActive = world->bossDestroyed = 0;
    return ScheduleWave(world, 0);
}

int ScheduleWave(GameWorld* world, int index)
{
    world->waveIndex = (uint32_t)index;
    return 1;
}

void GameStartBanner(GameWorld*)
{
}

int RunGameFrame(GameWorld* world)
{
    MarkFrameStart();
    SurfaceClear(&world->backBuffer, MakeColour(0, 0, 64));
    Present(&world->backBuffer);
    return 1;
}

void StageIntro(GameWorld*, int)
{
}

int RunBossFrame(GameWorld*)
{
    return 1;
}
