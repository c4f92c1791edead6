// The game loop: new games, the wave schedule, stage changes, banners and the per-frame routines.
#pragma once

struct GameWorld;

int NewGame(GameWorld* world);
int ScheduleWave(GameWorld* world, int index);
void GameStartBanner(GameWorld* world);
// 1 to go on, 0 when the game is over.
int RunGameFrame(GameWorld* world);
