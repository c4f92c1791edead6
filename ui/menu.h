// The screens that frame play: the splash, the main menu and the game-over flow.
#pragma once

struct GameWorld;

// The title picture, faded in, held for two seconds and faded out: 1, or 0
// when its image is missing (nothing is shown). Called by WM_CREATE.
int ShowSplash(GameWorld* world);
// 0 to play (a new game has been set up, or the paused one resumes), 1 to
// quit the program. Called by the WM_SHOWMENU handler.
int RunMainMenu(GameWorld* world);
// The fade, the name entry when the score places, and the Game Over screen.
// Called by the frame tick when a frame reports the game over.
void RunGameOver(GameWorld* world);
// Name entry, insertion and the table for a qualifying score: 1 when the
// table was shown and ended normally, else 0.
int EnterHighScore(GameWorld* world);
// "Game Over" and the score over PAGE1, until "Continue".
int ShowGameOverScreen(GameWorld* world);
