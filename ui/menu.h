// The screens that frame play: the splash, the main menu and the game-over flow.
#pragma once

struct GameWorld;

int ShowSplash(GameWorld* world);
// 0 to play (a new game or the paused one), 1 to quit the program.
int RunMainMenu(GameWorld* world);
void RunGameOver(GameWorld* world);
