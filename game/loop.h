// The game loop: new games, the wave schedule, stage changes, banners and the per-frame routines.
#pragma once
#include "game/path.h"

#include <cstdint>

struct GameWorld;

struct WaveDef {
    const PathScript* script;   // null marks a stage change
    int32_t enemyCount;    // 0: a boss wave
    int32_t param;         // frames between spawns, the boss row, or the stage row
    uint32_t spacing;      // point spacing of the compiled path
    uint16_t turretInterval;
    uint16_t turretFirePeriod;
};

enum { WaveCount = 30 };
extern const WaveDef WaveTable[WaveCount];

// Resets the world and starts wave 0.
int NewGame(GameWorld* world);
// Starts row index of the wave table (running a stage change on a break row):
// 1 when a wave was started, 0 past the table or when its path does not compile.
int ScheduleWave(GameWorld* world, int index);
// The darkening, the new look and the "Get Ready" banner, in its own paced loop.
void StageIntro(GameWorld* world, int stageRow);
// The banner after "New Game", over the faded-out menu.
void GameStartBanner(GameWorld* world);
// One tick of play: 1 to go on, 0 when the game is over.
int RunGameFrame(GameWorld* world);
int RunBossFrame(GameWorld* world);
